// Short path conversion on Windows.
#include <windows.h>

#include "command/short_path.h"

std::uint32_t shortPathName(const char* path, char* buffer, std::uint32_t bufferSize) {
  return GetShortPathNameA(path, buffer, bufferSize);
}
