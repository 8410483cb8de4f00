// 8-bit ANSI text in fixed buffers, by whole characters: bounded building, cutting, ending a
// field, and the ASCII letters' case; and wide text joined in a fixed buffer.
#pragma once

#include <cstddef>
#include <initializer_list>

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

// True when text and other, in their first length units at most, are the same but for the case of
// their ASCII letters, as Windows compares names: a file name's extension, a registry key's name.
template <typename Unit>
bool equalsIgnoringAsciiCase(const Unit* text, const Unit* other,
                             std::size_t length = static_cast<std::size_t>(-1)) {
  for (std::size_t at = 0; at < length; ++at) {
    if (asciiLower(text[at]) != asciiLower(other[at])) return false;
    if (text[at] == 0) break;
  }
  return true;
}

// Wide text, where every character is one unit: the pieces one after another in buffer (of size
// units, at least one), cut to what fits and always ended. False when they do not fit.
bool joinWide(wchar_t* buffer, std::size_t size, std::initializer_list<const wchar_t*> pieces);

template <std::size_t N>
bool joinWide(wchar_t (&buffer)[N], std::initializer_list<const wchar_t*> pieces) {
  return joinWide(buffer, N, pieces);
}
