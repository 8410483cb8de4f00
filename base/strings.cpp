// The string table loader: one shared buffer, overwritten by every call.
#include "base/strings.h"

#include "base/instance.h"
#include "base/text.h"

namespace {
ZERO_FILLED char stringBuffer[256];
}

// Read with kernel32 alone, not user32's LoadString: a command that shows no window loads no
// window library. The table's blocks hold 16 texts each, each its length and its wide characters.
const char* loadResourceString(int id) {
  stringBuffer[0] = '\0';
  const auto number = static_cast<unsigned>(id);
  const HRSRC block = FindResourceA(appInstance, MAKEINTRESOURCEA(number / 16 + 1), RT_STRING);
  const HGLOBAL loaded = block != nullptr ? LoadResource(appInstance, block) : nullptr;
  const auto* text =
      static_cast<const wchar_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (text == nullptr) return stringBuffer;
  for (unsigned skipped = 0; skipped < number % 16; ++skipped) text += 1 + *text;
  // A text too long for the buffer is cut at a whole character, as LoadString cuts it.
  for (int length = *text; length > 0; --length) {
    const int written = WideCharToMultiByte(CP_ACP, 0, text + 1, length, stringBuffer,
                                            sizeof stringBuffer - 1, nullptr, nullptr);
    if (written > 0) {
      stringBuffer[written] = '\0';
      break;
    }
  }
  return stringBuffer;
}
