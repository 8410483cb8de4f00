// Starting a child process: the converter, Ghostscript, and what they are given.
#include "exec/child_process.h"

BOOL startChild(char* command, const char* directory, WORD showCommand, DWORD creationFlags,
                PROCESS_INFORMATION& process, HANDLE input, HANDLE output) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | (output != nullptr ? STARTF_USESTDHANDLES : 0);
  startup.wShowWindow = showCommand;
  startup.hStdInput = input;
  startup.hStdOutput = startup.hStdError = output;
  process = {};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, creationFlags, nullptr, directory,
                      &startup, &process))
    return FALSE;
  CloseHandle(process.hThread);
  return TRUE;
}
