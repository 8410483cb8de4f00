// 8-bit ANSI text in fixed buffers, by whole characters: bounded building, cutting, ending a
// field, and the ASCII letters' case.
#pragma once

#include <cstddef>

// For large static buffers: with a data section for each variable, the Windows toolchain would
// store their zeros in the executable.
#if defined(_WIN32) && defined(__GNUC__)
#define ZERO_FILLED __attribute__((section(".bss")))
#else
#define ZERO_FILLED
#endif

// Text is 8-bit ANSI, where a character may take two bytes: the rules here and above them step
// through characters, never bytes, so that a second byte that equals a backslash is not taken for
// one and no cut keeps the first byte of a character without its second.

// True when c is the first byte of a two-byte character in the ANSI code page (932, 936, 949 and
// 950 have them); the second byte may then be any byte from 0x40 up, the backslash among them.
// The system's answer on Windows; tests serve it from a table.
bool isLeadByte(char c);

// The length of the longest start of text, up to its NUL and at most maxLength bytes, that ends
// with a whole character.
std::size_t wholeCharacterLength(const char* text, std::size_t maxLength);

// The one bounded text builder: appends the first length bytes of text to the text in buffer (of
// size bytes), cut to whole characters that fit, always ended by a NUL. False when it cut.
bool appendText(char* buffer, std::size_t size, const char* text, std::size_t length);

// Copies text into a field of the given size, cut to size - 1 bytes or fewer, always terminated.
void copyText(char* field, std::size_t fieldSize, const char* text);

template <std::size_t N>
void copyText(char (&field)[N], const char* text) {
  copyText(field, N, text);
}

// A field of size bytes that holds no NUL, as one read from outside may, is ended after its last
// whole character that leaves room for one.
void terminateField(char* field, std::size_t size);

// An ASCII letter in lower case; any other unit, narrow or wide, as it is.
template <typename Unit>
constexpr Unit asciiLower(Unit unit) {
  return unit >= 'A' && unit <= 'Z' ? static_cast<Unit>(unit - 'A' + 'a') : unit;
}

// True when text is lowerCase but for the case of its ASCII letters: a file name's extension, a
// registry key's name.
template <typename Unit>
bool equalsIgnoringAsciiCase(const Unit* text, const Unit* lowerCase) {
  for (; *lowerCase != 0; ++text, ++lowerCase)
    if (asciiLower(*text) != *lowerCase) return false;
  return *text == 0;
}
