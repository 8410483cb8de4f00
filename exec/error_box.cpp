// The error box that shows the system's own text for an error code.
#include <windows.h>

#include "app/strings.h"
#include "exec/exec.h"
#include "resources/resource.h"

void reportSystemError(DWORD code, const char* what) {
  if (code == 0) code = GetLastError();
  // The system's text, an empty line and what failed, each at most a path long.
  char message[260 + 4 + MAX_PATH];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, message, 260, nullptr);
  if (length == 0) length = static_cast<DWORD>(wsprintfA(message, "Error %lu", code));
  if (what != nullptr && what[0] != '\0') {
    // "The system cannot find the file specified." alone reads as a missing DVI file; naming
    // the program says otherwise.
    if (message[length - 1] != '\n') {
      lstrcpyA(message + length, "\r\n");
      length += 2;
    }
    lstrcpyA(message + length, "\r\n");
    lstrcpynA(message + length + 2, what, MAX_PATH);
  }
  SetForegroundWindow(GetActiveWindow());
  MessageBoxA(GetActiveWindow(), message, loadResourceString(IDS_ERROR_CAPTION), MB_ICONERROR);
}
