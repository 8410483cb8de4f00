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

// The children of a run that Corvane waits for belong to one job, which ends them when Corvane
// ends, however it ends. From this call on, every child started joins it.
void keepChildrenWithRun();

// Ends every child of the run now, and starts no more: for a run that is being stopped.
void endChildren();

// Which program of the run is under way, for a stop (Ctrl+C) to tell what it stopped.
enum class RunStage { Before, Dvips, Ghostscript };
void enterRunStage(RunStage stage);
RunStage runStage();
