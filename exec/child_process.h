// Starting a child process.
#pragma once

#include <windows.h>

// Starts a child with its window shown as showCommand, handles inherited, in directory (null:
// this process's own); the child's thread handle is closed at once. application, when given, is
// the wide path of the program that runs, whatever the command's first word says: a program
// found by the lookups runs by its own path, also when that path has no form in the code page.
// With output given, the child's standard output and error go there and its input comes from
// input.
BOOL startChild(char* command, const wchar_t* application, const char* directory, WORD showCommand,
                DWORD creationFlags, PROCESS_INFORMATION& process, HANDLE input = nullptr,
                HANDLE output = nullptr);
