// Appending one whole line to the help record named by CORVANE_HELP_LOG, for the stand-ins of
// hhctrl.ocx. A single write at the end of the file keeps a reader from seeing half a line
// mixed with another.
#pragma once

#include <windows.h>

#include <cstring>

inline void appendHelpRecordLine(const char* line) {
  char logPath[MAX_PATH];
  if (GetEnvironmentVariableA("CORVANE_HELP_LOG", logPath, sizeof logPath) == 0) return;
  const HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  CloseHandle(file);
}
