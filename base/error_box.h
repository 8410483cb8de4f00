// The error box: the system's own text for an error code, or a text of the program's.
#pragma once

#include <windows.h>

// Error box with the system's text for code; 0 means the thread's last error. What failed,
// when given, follows after an empty line, cut to REPORT_WHAT_SIZE - 1 characters.
constexpr int REPORT_WHAT_SIZE = 4096;
void reportSystemError(DWORD code, const char* what = nullptr);

// The same for a path that no form fits a field, named as the user gave it, so that they know
// which file to rename or move.
void reportPathError(DWORD code, const wchar_t* path);

// Error box with the text, under the same caption; a box of warnings, with a warning's icon, is
// titled with the program's name alone.
void reportError(const char* text, UINT icon = MB_ICONERROR);
