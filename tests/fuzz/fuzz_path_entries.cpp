// Fuzz target: any registry value read as the user's Path is judged whole or not within its
// units, and adding the folder's entry then taking it away gives back the Path unit for unit.
#include <cstddef>
#include <cstdint>
#include <cwctype>
#include <vector>

#include "packaging/path_entries.h"

namespace {

std::size_t copyAsItStands(const wchar_t* entry, std::size_t length, wchar_t* expanded,
                           std::size_t capacity) {
  if (length + 1 > capacity) return 0;
  for (std::size_t at = 0; at < length; ++at) expanded[at] = entry[at];
  expanded[length] = L'\0';
  return length;
}

bool sameIgnoringCase(const wchar_t* a, std::size_t aLength, const wchar_t* b,
                      std::size_t bLength) {
  if (aLength != bLength) return false;
  for (std::size_t at = 0; at < aLength; ++at)
    if (std::towlower(static_cast<wint_t>(a[at])) != std::towlower(static_cast<wint_t>(b[at])))
      return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Two bytes make one unit, as a REG_SZ value holds them.
  std::vector<wchar_t> units;
  for (std::size_t at = 0; at + 1 < size; at += 2)
    units.push_back(static_cast<wchar_t>(data[at] | data[at + 1] << 8));
  std::size_t length = 0;
  if (!wholeTextLength(units.data(), units.size(), &length)) return 0;
  if (length > units.size() || length > PATH_VALUE_MAX) return 0;
  const PathNaming naming = {copyAsItStands, sameIgnoringCase};
  const wchar_t folder[] = L"C:\\Users\\a\\AppData\\Local\\Programs\\Corvane";
  if (pathNamesFolder(units.data(), length, folder, naming)) return 0;
  static wchar_t added[PATH_VALUE_MAX + 1];
  static wchar_t removed[PATH_VALUE_MAX + 1];
  std::size_t addedLength = 0, removedLength = 0;
  if (!pathWithEntry(units.data(), length, folder, added, &addedLength)) return 0;
  if (!pathNamesFolder(added, addedLength, folder, naming)) __builtin_trap();
  if (!pathWithoutEntry(added, addedLength, folder, removed, &removedLength)) __builtin_trap();
  if (removedLength != length) __builtin_trap();
  for (std::size_t at = 0; at < length; ++at)
    if (removed[at] != units[at]) __builtin_trap();
  return 0;
}
