// Filling the places of a message text.
#include "base/text_format.h"

#include <cstring>

#include "base/strings.h"
#include "base/text.h"

void appendFormatted(char* buffer, std::size_t size, const char* format,
                     std::initializer_list<const char*> texts) {
  const char* const* next = texts.begin();
  const char* at = format;
  for (;;) {
    const char* mark = std::strstr(at, "%s");
    if (mark == nullptr) {
      appendText(buffer, size, at, std::strlen(at));
      return;
    }
    // Nothing follows a cut, so the text never goes on after a character it left out.
    if (!appendText(buffer, size, at, static_cast<std::size_t>(mark - at))) return;
    if (next != texts.end()) {
      if (!appendText(buffer, size, *next, std::strlen(*next))) return;
      ++next;
    }
    at = mark + 2;
  }
}

void appendStringText(char* buffer, std::size_t size, const char* separator, int id,
                      std::initializer_list<const char*> texts) {
  if (buffer[0] != '\0') appendFormatted(buffer, size, separator);
  appendFormatted(buffer, size, loadResourceString(id), texts);
}

const char* decimalText(std::uint32_t number, char (&buffer)[12]) {
  char* at = buffer + sizeof buffer - 1;
  *at = '\0';
  do {
    *--at = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  return at;
}
