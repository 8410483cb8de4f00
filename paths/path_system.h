// Path conversions that the platform does: short (8.3) and full forms, and the ANSI code page.
// On Windows they are the system's own; tests serve them from tables.
#pragma once

#include <cstdint>

// Writes the short form of path into buffer and returns its length; returns 0 on failure, or a
// size of at least bufferSize, with the buffer untouched, when the short form does not fit.
std::uint32_t shortPathName(const char* path, char* buffer, std::uint32_t bufferSize);

// The same for a path in wide characters; sizes count characters.
std::uint32_t wideShortPathName(const wchar_t* path, wchar_t* buffer, std::uint32_t bufferSize);

// The full form of path, a relative one taken from the current directory; results as above.
std::uint32_t fullPathName(const char* path, char* buffer, std::uint32_t bufferSize);

// Writes a non-empty wide path in the ANSI code page and returns its length. Returns 0 when the
// code page lacks one of its characters, and a size of at least bufferSize, with the buffer
// untouched, when it would not fit.
std::uint32_t ansiPathName(const wchar_t* path, char* buffer, std::uint32_t bufferSize);

// Writes a path in ANSI text in wide characters and returns its length; 0 when it is empty or
// does not fit bufferSize - 1 characters.
std::uint32_t widePathName(const char* path, wchar_t* buffer, std::uint32_t bufferSize);
