// Text by whole characters in buffers of fixed size.
#include "base/text.h"

#include <cstring>

namespace {

// Puts the whole characters of text's first length bytes that fit at buffer + used; the text may
// lie in the buffer itself.
bool putText(char* buffer, std::size_t size, std::size_t used, const char* text,
             std::size_t length) {
  const std::size_t room = used + 1 < size ? size - used - 1 : 0;
  const std::size_t kept = wholeCharacterLength(text, length < room ? length : room);
  std::memmove(buffer + used, text, kept);
  buffer[used + kept] = '\0';
  return kept == length;
}

}  // namespace

std::size_t wholeCharacterLength(const char* text, std::size_t maxLength) {
  std::size_t length = 0;
  while (length < maxLength && text[length] != '\0') {
    const std::size_t size = isLeadByte(text[length]) ? 2 : 1;
    // A first byte whose second is missing, or would not fit, ends the text before it.
    if (length + size > maxLength || (size == 2 && text[length + 1] == '\0')) break;
    length += size;
  }
  return length;
}

bool appendText(char* buffer, std::size_t size, const char* text, std::size_t length) {
  return putText(buffer, size, std::strlen(buffer), text, length);
}

void copyText(char* field, std::size_t fieldSize, const char* text) {
  if (fieldSize == 0) return;
  putText(field, fieldSize, 0, text, fieldSize - 1);
}

void terminateField(char* field, std::size_t size) {
  if (std::memchr(field, '\0', size) == nullptr)
    field[wholeCharacterLength(field, size - 1)] = '\0';
}

bool joinWide(wchar_t* buffer, std::size_t size, std::initializer_list<const wchar_t*> pieces) {
  std::size_t length = 0;
  buffer[0] = L'\0';
  for (const wchar_t* piece : pieces)
    for (; *piece != L'\0'; ++piece) {
      if (length + 1 == size) return false;
      buffer[length++] = *piece;
      buffer[length] = L'\0';
    }
  return true;
}
