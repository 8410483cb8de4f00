// The error box that shows the system's own text for an error code.
#include <windows.h>

#include "base/error_box.h"
#include "base/strings.h"
#include "resources/resource.h"

namespace {

// The system's text, an empty line and what failed. Wide, so that a name outside the code page
// shows as the user gave it.
void showErrorBox(DWORD code, const wchar_t* what) {
  wchar_t message[260 + 4 + REPORT_WHAT_SIZE];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, message, 260, nullptr);
  if (length == 0) length = static_cast<DWORD>(wsprintfW(message, L"Error %lu", code));
  if (what != nullptr && what[0] != L'\0') {
    if (message[length - 1] != L'\n') {
      lstrcpyW(message + length, L"\r\n");
      length += 2;
    }
    lstrcpyW(message + length, L"\r\n");
    lstrcpynW(message + length + 2, what, REPORT_WHAT_SIZE);
    // A cut never keeps the first half of a surrogate pair.
    const int end = lstrlenW(message) - 1;
    if (message[end] >= 0xD800 && message[end] <= 0xDBFF) message[end] = L'\0';
  }
  wchar_t caption[256];
  if (MultiByteToWideChar(CP_ACP, 0, loadResourceString(IDS_ERROR_CAPTION), -1, caption, 256) == 0)
    caption[0] = L'\0';
  SetForegroundWindow(GetActiveWindow());
  // The sheet is gone by the time a run reports: the box comes to the front by itself.
  MessageBoxW(GetActiveWindow(), message, caption, MB_ICONERROR | MB_SETFOREGROUND);
}

}  // namespace

void reportSystemError(DWORD code, const char* what) {
  if (code == 0) code = GetLastError();
  wchar_t wideWhat[REPORT_WHAT_SIZE];
  // "The system cannot find the file specified." alone reads as a missing DVI file; naming the
  // program says otherwise.
  if (what == nullptr || MultiByteToWideChar(CP_ACP, 0, what, -1, wideWhat, REPORT_WHAT_SIZE) == 0)
    wideWhat[0] = L'\0';
  showErrorBox(code, wideWhat);
}

void reportPathError(DWORD code, const wchar_t* path) { showErrorBox(code, path); }

void reportError(const char* text, UINT icon) {
  SetForegroundWindow(GetActiveWindow());
  // A box that holds only warnings is no error's.
  const int caption = icon == MB_ICONWARNING ? IDS_SHEET_CAPTION : IDS_ERROR_CAPTION;
  MessageBoxA(GetActiveWindow(), text, loadResourceString(caption), icon | MB_SETFOREGROUND);
}
