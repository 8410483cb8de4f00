// The path rules: what the user names, in the form that a path field can hold.
#include <gtest/gtest.h>

#include <string>

#include "paths/path_rules.h"
#include "tests/native/fakes.h"

namespace {

struct FieldPathCase {
  const wchar_t* path;
  std::uint32_t error;
  const char* stored;  // what the field holds afterwards; it held "before"
};

TEST(FieldPath, TheFirstFormThatFitsAndFindsTheFile) {
  const std::wstring longFolder = L"C:\\" + std::wstring(300, L'l');
  const std::wstring longFile = longFolder + L"\\paper.dvi";
  const std::wstring longNew = longFolder + L"\\new.ps";
  const std::wstring notFound = L"C:\\" + std::wstring(300, L'n') + L"\\x.dvi";
  resetFakes();
  fakeWideShortNames[L"C:\\Papers\\\u8ad6\u6587"] = L"C:\\Papers\\8AD6~1";
  fakeWideShortNames[L"C:\\Papers\\\u8ad6\u6587\\paper.dvi"] = L"C:\\Papers\\8AD6~1\\paper.dvi";
  fakeWideShortNames[longFile] = L"C:\\LLLLLL~1\\paper.dvi";
  fakeWideShortNames[longFolder] = L"C:\\LLLLLL~1";
  const FieldPathCase cases[] = {
      {L"C:\\Papers\\caf\u00e9.dvi", 0, "C:\\Papers\\caf\xe9.dvi"},
      {L"", 0, ""},
      {L"C:\\Papers\\\u8ad6\u6587\\paper.dvi", 0, "C:\\Papers\\8AD6~1\\paper.dvi"},
      {L"C:\\Papers\\\u8ad6\u6587\\new.ps", 0, "C:\\Papers\\8AD6~1\\new.ps"},
      {L"C:\\Papers\\\u8ad6\u6587\\\u8ad6.ps", 1113, "before"},
      {L"C:\\Nowhere\\\u8ad6\u6587.dvi", 1113, "before"},
      {longFile.c_str(), 0, "C:\\LLLLLL~1\\paper.dvi"},
      {longNew.c_str(), 0, "C:\\LLLLLL~1\\new.ps"},
      {notFound.c_str(), 206, "before"},
  };
  for (const auto& c : cases) {
    char field[260] = "before";
    EXPECT_EQ(widePathToField(c.path, field), c.error) << c.stored;
    EXPECT_STREQ(field, c.stored);
  }
}

}  // namespace
