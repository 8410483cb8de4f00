// ANSI text by whole characters; paths in 8-bit fields, as they stand or in a short form that
// names the same file; and the folder the converter starts in.
#include "paths/path_rules.h"

#include <cstring>
#include <cwchar>

#include "paths/path_system.h"

namespace {

enum class Narrowed { Fits, NotInCodePage, TooLong };

ZERO_FILLED wchar_t shortForm[WIDE_PATH_SIZE];
ZERO_FILLED wchar_t folderAndName[WIDE_PATH_SIZE];
ZERO_FILLED wchar_t unquoted[WIDE_PATH_SIZE];

Narrowed narrowInto(const wchar_t* path, char* field, std::size_t fieldSize) {
  char candidate[PATH_FIELD_SIZE];
  const auto size = static_cast<std::uint32_t>(fieldSize);
  const std::uint32_t length = ansiPathName(path, candidate, size);
  if (length == 0) return Narrowed::NotInCodePage;
  if (length >= size) return Narrowed::TooLong;
  std::memcpy(field, candidate, length + 1);
  return Narrowed::Fits;
}

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// folderAndName = the short form of path's folder, a backslash and path's own name; false when
// path names no folder or the folder has no short form.
bool shortFolderAndName(const wchar_t* path) {
  const std::size_t length = std::wcslen(path);
  if (length >= WIDE_PATH_SIZE) return false;
  std::size_t separator = length;
  while (separator > 0 && !isSeparator(path[separator - 1])) --separator;
  if (separator == 0 || separator == length) return false;
  // A folder at a drive's root keeps its backslash: "C:" alone is the drive's current folder.
  const bool root = separator == 1 || (separator == 3 && path[1] == L':');
  const std::size_t folderLength = root ? separator : separator - 1;
  std::wmemcpy(folderAndName, path, folderLength);
  folderAndName[folderLength] = L'\0';
  const std::uint32_t shortLength = wideShortPathName(folderAndName, shortForm, WIDE_PATH_SIZE);
  if (shortLength == 0 || shortLength >= WIDE_PATH_SIZE) return false;
  const wchar_t* name = path + separator;
  const bool needsSeparator = !isSeparator(shortForm[shortLength - 1]);
  const std::size_t nameLength = length - separator;
  if (shortLength + (needsSeparator ? 1 : 0) + nameLength >= WIDE_PATH_SIZE) return false;
  std::wmemcpy(folderAndName, shortForm, shortLength);
  std::size_t at = shortLength;
  if (needsSeparator) folderAndName[at++] = L'\\';
  std::wmemcpy(folderAndName + at, name, nameLength + 1);
  return true;
}

}  // namespace

const char* lastCharacterOf(const char* text, const char* set) {
  const char* last = nullptr;
  for (const char* at = text; *at != '\0'; at += isLeadByte(*at) && at[1] != '\0' ? 2 : 1)
    if (!isLeadByte(*at) && std::strchr(set, *at) != nullptr) last = at;
  return last;
}

const wchar_t* lastCharacterOf(const wchar_t* text, const wchar_t* set) {
  const wchar_t* last = nullptr;
  for (const wchar_t* at = text; *at != L'\0'; ++at)
    if (std::wcschr(set, *at) != nullptr) last = at;
  return last;
}

const char* fileNameOf(const char* path) {
  const char* end = lastCharacterOf(path, "\\/:");
  return end == nullptr ? path : end + 1;
}

const wchar_t* fileNameOf(const wchar_t* path) {
  const wchar_t* end = lastCharacterOf(path, L"\\/:");
  return end == nullptr ? path : end + 1;
}

bool cutToFolder(char* path) {
  const char* const separator = lastSeparator(path);
  if (separator == nullptr) return false;
  const bool bareDrive = separator == path + 2 && path[1] == ':';
  path[static_cast<std::size_t>(separator - path) + (bareDrive ? 1 : 0)] = '\0';
  return true;
}

const wchar_t* unquotedPath(const wchar_t* text) {
  const std::size_t length = std::wcslen(text);
  const bool wholeInQuotes = length >= 2 && text[0] == L'"' && text[length - 1] == L'"' &&
                             std::wmemchr(text + 1, L'"', length - 2) == nullptr;
  if (!wholeInQuotes || length - 2 >= WIDE_PATH_SIZE) return text;
  std::wmemcpy(unquoted, text + 1, length - 2);
  unquoted[length - 2] = L'\0';
  return unquoted;
}

std::uint32_t widePathToField(const wchar_t* path, char* field, std::size_t fieldSize) {
  if (fieldSize > PATH_FIELD_SIZE) fieldSize = PATH_FIELD_SIZE;
  if (path[0] == L'\0') {
    field[0] = '\0';
    return 0;
  }
  const Narrowed asItStands = narrowInto(path, field, fieldSize);
  if (asItStands == Narrowed::Fits) return 0;
  const std::uint32_t shortLength = wideShortPathName(path, shortForm, WIDE_PATH_SIZE);
  if (shortLength != 0 && shortLength < WIDE_PATH_SIZE &&
      narrowInto(shortForm, field, fieldSize) == Narrowed::Fits)
    return 0;
  if (shortFolderAndName(path) && narrowInto(folderAndName, field, fieldSize) == Narrowed::Fits)
    return 0;
  return asItStands == Narrowed::NotInCodePage ? PATH_NOT_IN_CODE_PAGE : PATH_TOO_LONG;
}

bool dviFolder(const char* dviFile, char (&fullPath)[DVI_FOLDER_SIZE],
               char (&folder)[DVI_FOLDER_SIZE]) {
  if (dviFile[0] == '\0') return false;
  const std::uint32_t fullLength = fullPathName(dviFile, fullPath, DVI_FOLDER_SIZE);
  if (fullLength == 0 || fullLength >= DVI_FOLDER_SIZE) return false;
  const std::uint32_t length = shortPathName(fullPath, folder, DVI_FOLDER_SIZE);
  if (length == 0 || length >= DVI_FOLDER_SIZE) return false;
  return cutToFolder(folder);
}
