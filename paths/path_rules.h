// The rules that turn what the user names into what a path field can hold and what the
// converter receives. They reach the platform only through paths/path_system.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/text.h"

// A path field of the settings record, and the most that a path in ANSI text holds.
constexpr std::size_t PATH_FIELD_SIZE = 260;

// The system's error codes that the rules answer with.
constexpr std::uint32_t PATH_NOT_IN_CODE_PAGE = 1113;  // ERROR_NO_UNICODE_TRANSLATION
constexpr std::uint32_t PATH_TOO_LONG = 206;           // ERROR_FILENAME_EXCED_RANGE

// The longest path the system handles, in wide characters, with its NUL.
constexpr std::size_t WIDE_PATH_SIZE = 32768;

// The last character of text that is one of the single-byte characters in set; null when none is.
const char* lastCharacterOf(const char* text, const char* set);

// The same in wide text, where every character is one unit.
const wchar_t* lastCharacterOf(const wchar_t* text, const wchar_t* set);

// The last backslash or slash of a path; null when there is none.
inline const char* lastSeparator(const char* path) { return lastCharacterOf(path, "\\/"); }
inline const wchar_t* lastSeparator(const wchar_t* path) { return lastCharacterOf(path, L"\\/"); }

// The file name at the end of a path: after its last backslash, slash or drive colon.
const char* fileNameOf(const char* path);
const wchar_t* fileNameOf(const wchar_t* path);

// What goes between a folder and a name joined to it: nothing when the folder ends in a separator.
inline const char* separatorAfter(const char* folder) {
  const char* separator = lastSeparator(folder);
  return separator != nullptr && separator[1] == '\0' ? "" : "\\";
}
inline const wchar_t* separatorAfter(const wchar_t* folder) {
  const wchar_t* separator = lastSeparator(folder);
  return separator != nullptr && separator[1] == L'\0' ? L"" : L"\\";
}

// Ends path at its last separator, so that it names its folder; a folder at a drive's root keeps
// its backslash, since a bare "C:" names the drive's current folder. False, with path as it was,
// when it holds no separator.
bool cutToFolder(char* path);

// A name as a file manager quotes it loses the one pair of double quotes around it; anything else
// stands as it is. The result is text itself or one shared buffer that every call overwrites.
const wchar_t* unquotedPath(const wchar_t* text);

// Writes into field the first of these that the ANSI code page can represent and that fits in
// fieldSize - 1 characters: the path as it stands; its short form; the short form of its folder
// followed by its name (for a file that does not exist yet). Returns 0 then. Otherwise returns
// PATH_NOT_IN_CODE_PAGE when the path as it stands cannot be represented, else PATH_TOO_LONG,
// and leaves field as it was. fieldSize is at most PATH_FIELD_SIZE.
std::uint32_t widePathToField(const wchar_t* path, char* field, std::size_t fieldSize);

template <std::size_t N>
std::uint32_t widePathToField(const wchar_t* path, char (&field)[N]) {
  return widePathToField(path, field, N);
}

// Size of the two buffers of dviFolder: a path field's.
constexpr std::size_t DVI_FOLDER_SIZE = PATH_FIELD_SIZE;

// With "Use DVI directory" on, the converter starts in the DVI file's folder when it is found:
// fullPath receives the file's full path, which the command names since a relative name would
// miss the file from there, and folder the short form of the folder. False when dviFile is
// empty or not found, and the converter starts in Corvane's own current folder, where dviFile is
// right as it stands.
bool dviFolder(const char* dviFile, char (&fullPath)[DVI_FOLDER_SIZE],
               char (&folder)[DVI_FOLDER_SIZE]);
