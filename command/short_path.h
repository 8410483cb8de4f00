// Short (8.3) path conversion, which on Windows is GetShortPathNameA.
#pragma once

#include <cstdint>

// Writes the short form of path into buffer and returns its length; returns 0 on failure, or a
// size of at least bufferSize, with the buffer untouched, when the short form does not fit.
std::uint32_t shortPathName(const char* path, char* buffer, std::uint32_t bufferSize);
