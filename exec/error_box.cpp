// The error box that shows the system's own text for an error code.
#include <windows.h>

#include "app/strings.h"
#include "exec/exec.h"
#include "paths/path_rules.h"
#include "resources/resource.h"

void reportError(const char* text) {
  SetForegroundWindow(GetActiveWindow());
  MessageBoxA(GetActiveWindow(), text, loadResourceString(IDS_ERROR_CAPTION), MB_ICONERROR);
}

void reportSystemError(DWORD code, const char* what) {
  if (code == 0) code = GetLastError();
  // The system's text, an empty line and what failed, with where it was looked for.
  ZERO_FILLED static char message[260 + 4 + REPORT_WHAT_SIZE];
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
    lstrcpynA(message + length + 2, what, REPORT_WHAT_SIZE);
  }
  reportError(message);
}
