// The error box that shows the system's own text for an error code.
#include <windows.h>

#include "app/strings.h"
#include "exec/exec.h"
#include "resources/resource.h"

void reportSystemError(DWORD code) {
  if (code == 0) code = GetLastError();
  char message[260];
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     message, sizeof message, nullptr) == 0)
    wsprintfA(message, "Error %lu", static_cast<unsigned long>(code));
  SetForegroundWindow(GetActiveWindow());
  MessageBoxA(GetActiveWindow(), message, loadResourceString(IDS_ERROR_CAPTION), MB_ICONERROR);
}
