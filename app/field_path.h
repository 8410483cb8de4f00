// A path the user named in wide characters, put into an 8-bit field in a form that still finds
// the file: the path as it stands, its short form, or its folder's short form and its name.
#pragma once

#include <cstddef>
#include <cstdint>

// The system's error codes that widePathToField answers with.
constexpr std::uint32_t PATH_NOT_IN_CODE_PAGE = 1113;  // ERROR_NO_UNICODE_TRANSLATION
constexpr std::uint32_t PATH_TOO_LONG = 206;           // ERROR_FILENAME_EXCED_RANGE

// The longest path the system handles, in wide characters, with its NUL.
constexpr std::size_t WIDE_PATH_SIZE = 32768;

// For buffers of that size: with a data section for each variable, the Windows toolchain would
// store their zeros in the executable.
#if defined(_WIN32) && defined(__GNUC__)
#define ZERO_FILLED __attribute__((section(".bss")))
#else
#define ZERO_FILLED
#endif

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
