// Messages put together from a string-table text and the texts that fill its places.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

// Appends format to the text in buffer (of size bytes), each "%s" replaced by the next of texts
// (by nothing once they are used up); cut to what fits, always ended by a NUL.
void appendFormatted(char* buffer, std::size_t size, const char* format,
                     std::initializer_list<const char*> texts = {});

template <std::size_t N>
void appendFormatted(char (&buffer)[N], const char* format,
                     std::initializer_list<const char*> texts = {}) {
  appendFormatted(buffer, N, format, texts);
}

// A number in decimal, in a buffer of the caller's.
const char* decimalText(std::uint32_t number, char (&buffer)[12]);
