#include "packaging/path_entries.h"

#include <cwchar>

namespace {

// One entry's expanded form, the largest an environment string can be.
wchar_t expandedEntry[PATH_VALUE_MAX + 1];

bool isSpace(wchar_t c) { return c == L' ' || c == L'\t'; }
bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The length of name without the backslashes and slashes at its end.
std::size_t withoutTrailingSeparators(const wchar_t* name, std::size_t length) {
  while (length > 0 && isSeparator(name[length - 1])) --length;
  return length;
}

// The end of the entry that begins at start: the next semicolon, or the end of path.
std::size_t entryEnd(const wchar_t* path, std::size_t length, std::size_t start) {
  std::size_t end = start;
  while (end < length && path[end] != L';') ++end;
  return end;
}

bool entryNamesFolder(const wchar_t* entry, std::size_t length, const wchar_t* folder,
                      std::size_t folderLength, const PathNaming& naming) {
  while (length > 0 && isSpace(entry[0])) ++entry, --length;
  while (length > 0 && isSpace(entry[length - 1])) --length;
  if (length >= 2 && entry[0] == L'"' && entry[length - 1] == L'"') ++entry, length -= 2;
  if (length == 0) return false;
  const std::size_t expanded = naming.expand(entry, length, expandedEntry, PATH_VALUE_MAX + 1);
  if (expanded > 0) entry = expandedEntry, length = expanded;
  length = withoutTrailingSeparators(entry, length);
  return naming.sameName(entry, length, folder, folderLength);
}

}  // namespace

bool wholeTextLength(const wchar_t* units, std::size_t count, std::size_t* length) {
  std::size_t end = count;
  while (end > 0 && units[end - 1] == L'\0') --end;
  for (std::size_t at = 0; at < end; ++at)
    if (units[at] == L'\0') return false;
  *length = end;
  return true;
}

bool pathNamesFolder(const wchar_t* path, std::size_t length, const wchar_t* folder,
                     const PathNaming& naming) {
  const std::size_t folderLength = withoutTrailingSeparators(folder, std::wcslen(folder));
  for (std::size_t start = 0; start <= length;) {
    const std::size_t end = entryEnd(path, length, start);
    if (entryNamesFolder(path + start, end - start, folder, folderLength, naming)) return true;
    start = end + 1;
  }
  return false;
}

bool pathWithEntry(const wchar_t* path, std::size_t length, const wchar_t* entry, wchar_t* out,
                   std::size_t* outLength) {
  const std::size_t entryLength = std::wcslen(entry);
  const std::size_t separator = length > 0 ? 1 : 0;
  if (length > PATH_VALUE_MAX || entryLength + separator > PATH_VALUE_MAX - length) return false;
  std::wmemcpy(out, path, length);
  if (separator > 0) out[length] = L';';
  std::wmemcpy(out + length + separator, entry, entryLength);
  *outLength = length + separator + entryLength;
  out[*outLength] = L'\0';
  return true;
}

bool pathWithoutEntry(const wchar_t* path, std::size_t length, const wchar_t* entry, wchar_t* out,
                      std::size_t* outLength) {
  const std::size_t entryLength = std::wcslen(entry);
  if (entryLength == 0) return false;
  bool found = false;
  std::size_t cutFrom = 0, cutTo = 0;
  for (std::size_t start = 0; start <= length;) {
    const std::size_t end = entryEnd(path, length, start);
    if (end - start == entryLength && std::wmemcmp(path + start, entry, entryLength) == 0) {
      found = true;
      // The separator before it goes with it; the first entry takes the one after it instead.
      cutFrom = start > 0 ? start - 1 : start;
      cutTo = start > 0 || end == length ? end : end + 1;
    }
    start = end + 1;
  }
  if (!found) return false;
  std::wmemcpy(out, path, cutFrom);
  std::wmemcpy(out + cutFrom, path + cutTo, length - cutTo);
  *outLength = length - (cutTo - cutFrom);
  out[*outLength] = L'\0';
  return true;
}
