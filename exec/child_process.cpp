// Starting a child process: the converter, Ghostscript, and what they are given.
#include "exec/child_process.h"

#include "base/text.h"

namespace {

// Process creation takes at most this many characters of command.
constexpr int WIDE_COMMAND_SIZE = 32768;
ZERO_FILLED wchar_t wideCommand[WIDE_COMMAND_SIZE];
ZERO_FILLED wchar_t wideDirectory[MAX_PATH];

}  // namespace

BOOL startChild(char* command, const wchar_t* application, const char* directory, WORD showCommand,
                DWORD creationFlags, PROCESS_INFORMATION& process, HANDLE input, HANDLE output) {
  process = {};
  // The command line that the user saw stays as it is, in the code page's characters.
  if (MultiByteToWideChar(CP_ACP, 0, command, -1, wideCommand, WIDE_COMMAND_SIZE) == 0 ||
      (directory != nullptr &&
       MultiByteToWideChar(CP_ACP, 0, directory, -1, wideDirectory, MAX_PATH) == 0))
    return FALSE;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | (output != nullptr ? STARTF_USESTDHANDLES : 0);
  startup.wShowWindow = showCommand;
  startup.hStdInput = input;
  startup.hStdOutput = startup.hStdError = output;
  const bool named = application != nullptr && application[0] != L'\0';
  if (!CreateProcessW(named ? application : nullptr, wideCommand, nullptr, nullptr, TRUE,
                      creationFlags, nullptr, directory != nullptr ? wideDirectory : nullptr,
                      &startup, &process))
    return FALSE;
  CloseHandle(process.hThread);
  return TRUE;
}
