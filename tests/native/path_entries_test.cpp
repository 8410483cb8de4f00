// The user's Path as setup adds its folder and the uninstaller removes exactly that entry.
#include <gtest/gtest.h>

#include <cwctype>
#include <string>

#include "packaging/path_entries.h"

namespace {

const wchar_t FOLDER[] = L"C:\\Users\\ada\\AppData\\Local\\Programs\\Corvane";

// The system's side: %LOCALAPPDATA% expands, letters compare in either case.
std::size_t expand(const wchar_t* entry, std::size_t length, wchar_t* out, std::size_t capacity) {
  std::wstring text(entry, length);
  if (text.rfind(L"%LOCALAPPDATA%", 0) == 0) text.replace(0, 14, L"C:\\Users\\ada\\AppData\\Local");
  return text.size() < capacity ? text.copy(out, text.size()) : 0;
}
bool sameName(const wchar_t* a, std::size_t aLength, const wchar_t* b, std::size_t bLength) {
  std::size_t at = 0;
  while (at < aLength && at < bLength &&
         std::towlower(static_cast<wint_t>(a[at])) == std::towlower(static_cast<wint_t>(b[at])))
    ++at;
  return at == aLength && at == bLength;
}
const PathNaming NAMING = {expand, sameName};

TEST(PathEntries, AddedOnlyWhenNoEntryNamesTheFolderAndRemovedExactly) {
  const std::wstring f = FOLDER, longPath(PATH_VALUE_MAX - f.size(), L'x');
  // The Path before setup, after it ("-": nothing added) and after the uninstaller.
  const std::wstring cases[][3] = {
      {L"", f, L""},
      {L"C:\\tex;D:\\bin", L"C:\\tex;D:\\bin;" + f, L"C:\\tex;D:\\bin"},
      {L"C:\\tex;", L"C:\\tex;;" + f, L"C:\\tex;"},
      {L"C:\\tex;c:\\users\\ADA\\appdata\\local\\programs\\corvane;D:\\bin", L"-", L"-"},
      {L"C:\\tex;" + f + L"\\\\", L"-", L"-"},
      {L"%LOCALAPPDATA%\\Programs\\Corvane\\", L"-", L"-"},
      {L"D:\\bin; \"" + f + L"\" ", L"-", L"-"},
      {longPath, L"-", L"-"},  // no room for the separator
  };
  for (const auto& [before, installed, uninstalled] : cases) {
    static wchar_t added[PATH_VALUE_MAX + 1], removed[PATH_VALUE_MAX + 1];
    std::size_t length = 0;
    const bool adds = !pathNamesFolder(before.c_str(), before.size(), FOLDER, NAMING) &&
                      pathWithEntry(before.c_str(), before.size(), FOLDER, added, &length);
    EXPECT_EQ(adds ? std::wstring(added, length) : L"-", installed) << before.size();
    if (!adds) continue;
    ASSERT_TRUE(pathWithoutEntry(added, length, FOLDER, removed, &length));
    EXPECT_EQ(std::wstring(removed, length), uninstalled);
  }
}

TEST(PathEntries, TheUninstallerRemovesTheLastExactEntryOnly) {
  const std::wstring f = FOLDER, path = f + L";C:\\tex;" + f + L";" + f + L"\\;D:\\bin";
  wchar_t out[256];
  std::size_t length = 0;
  ASSERT_TRUE(pathWithoutEntry(path.c_str(), path.size(), FOLDER, out, &length));
  EXPECT_EQ(std::wstring(out, length), f + L";C:\\tex;" + f + L"\\;D:\\bin");
  ASSERT_TRUE(pathWithoutEntry(path.c_str(), f.size() + 7, FOLDER, out, &length));
  EXPECT_EQ(std::wstring(out, length), L"C:\\tex");
  EXPECT_FALSE(pathWithoutEntry(L"c:\\tex;D:\\bin", 13, L"C:\\tex", out, &length));
}

TEST(PathEntries, AValueWithANulInsideIsNotWholeText) {
  std::size_t length = 0;
  EXPECT_TRUE(wholeTextLength(L"C:\\tex\0\0", 8, &length) && length == 6);
  EXPECT_FALSE(wholeTextLength(L"C:\\tex\0D:\\bin\0", 14, &length));
}

}  // namespace
