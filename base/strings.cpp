// The string table loader: one shared buffer, overwritten by every call.
#include "base/strings.h"

#include "base/instance.h"
#include "base/text.h"

namespace {
ZERO_FILLED char stringBuffer[256];
}

const char* loadResourceString(int id) {
  if (LoadStringA(appInstance, static_cast<UINT>(id), stringBuffer, sizeof stringBuffer) == 0)
    stringBuffer[0] = '\0';
  return stringBuffer;
}
