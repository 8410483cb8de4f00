// The start folder on Windows.
#include "paths/start_folder.h"

#include <windows.h>

#include "paths/path_rules.h"

namespace {

ZERO_FILLED wchar_t startFolder[WIDE_PATH_SIZE];
bool kept = false;

}  // namespace

void keepStartFolder() {
  const DWORD length = GetCurrentDirectoryW(WIDE_PATH_SIZE, startFolder);
  kept = length != 0 && length < WIDE_PATH_SIZE;
}

void returnToStartFolder() {
  if (kept) SetCurrentDirectoryW(startFolder);
}
