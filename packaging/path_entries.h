// The entries of a user's Path (folders between semicolons), as setup adds its folder to them and
// the uninstaller takes that entry away again, every other character left as it was. Wide text of
// any length the system allows; what an entry names is asked of the caller, who expands its
// environment variables and compares names as the file system does.
#pragma once

#include <cstddef>

// The most characters a Path holds, as the system's environment takes it, without the NUL.
constexpr std::size_t PATH_VALUE_MAX = 32767;

struct PathNaming {
  // Writes entry (length characters) with its environment variables expanded into expanded and
  // returns its length, or 0 when it does not fit in capacity characters with a NUL.
  std::size_t (*expand)(const wchar_t* entry, std::size_t length, wchar_t* expanded,
                        std::size_t capacity);
  // Whether two names are the same, letters in either case.
  bool (*sameName)(const wchar_t* a, std::size_t aLength, const wchar_t* b, std::size_t bLength);
};

// The length of the text that a string value's units hold, the NULs after it left out; false when
// a NUL comes before other characters, so that the text is not the whole value.
bool wholeTextLength(const wchar_t* units, std::size_t count, std::size_t* length);

// Whether an entry of path names folder: written in either case, with backslashes or slashes after
// it, in double quotes, or by environment variables that expand to it.
bool pathNamesFolder(const wchar_t* path, std::size_t length, const wchar_t* folder,
                     const PathNaming& naming);

// path with entry after its last one, into out, which holds PATH_VALUE_MAX characters and a NUL;
// false when the result would be longer.
bool pathWithEntry(const wchar_t* path, std::size_t length, const wchar_t* entry, wchar_t* out,
                   std::size_t* outLength);

// path without its last entry written exactly as entry, and the separator that came with it (the
// one before it, or the one after it when it is first), into out, which holds length characters
// and a NUL; false when there is no such entry.
bool pathWithoutEntry(const wchar_t* path, std::size_t length, const wchar_t* entry, wchar_t* out,
                      std::size_t* outLength);
