// Running the composed command: the confirmation dialog, the launch and the error box.
#pragma once

#include <windows.h>

// 1 to run, 0 to drop the run; no dialog when the command is not to be shown.
int confirmCommandLine();

// Starts a child with its window shown as showCommand, handles inherited, in directory (null:
// this process's own); the child's thread handle is closed at once. With output given, the
// child's standard output and error go there and its input comes from input.
BOOL startChild(char* command, const char* directory, WORD showCommand, DWORD creationFlags,
                PROCESS_INFORMATION& process, HANDLE input = nullptr, HANDLE output = nullptr);

// Starts the converter in the chosen window mode; in Capture mode waits for it and a key.
void runCommandLine();

// Error box with the system's text for code; 0 means the thread's last error. What failed,
// when given, follows after an empty line, cut to REPORT_WHAT_SIZE - 1 characters.
constexpr int REPORT_WHAT_SIZE = 4096;
void reportSystemError(DWORD code, const char* what = nullptr);

// The same for a path that no form fits a field, named as the user gave it, so that they know
// which file to rename or move.
void reportPathError(DWORD code, const wchar_t* path);

// Error box with the text, under the same caption; a warning's icon when asked for.
void reportError(const char* text, UINT icon = MB_ICONERROR);
