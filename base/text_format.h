// Messages put together from a string-table text and the texts that fill its places, and numbers
// in decimal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

// Appends format to the text in buffer (of size bytes), each "%s" replaced by the next of texts
// (by nothing once they are used up); cut to what fits, always ended by a NUL. A text of the
// user's, such as a path, goes in through a "%s", never as the format itself.
void appendFormatted(char* buffer, std::size_t size, const char* format,
                     std::initializer_list<const char*> texts = {});

template <std::size_t N>
void appendFormatted(char (&buffer)[N], const char* format,
                     std::initializer_list<const char*> texts = {}) {
  appendFormatted(buffer, N, format, texts);
}

// Appends the string-table text id with its places filled, after the separator when buffer
// already holds text. No text may lie in loadResourceString's buffer, which this reuses.
void appendStringText(char* buffer, std::size_t size, const char* separator, int id,
                      std::initializer_list<const char*> texts = {});

template <std::size_t N>
void appendStringText(char (&buffer)[N], const char* separator, int id,
                      std::initializer_list<const char*> texts = {}) {
  appendStringText(buffer, N, separator, id, texts);
}

// A number in decimal, in a buffer of the caller's.
const char* decimalText(std::uint32_t number, char (&buffer)[12]);
