// Starting a child process: the converter, Ghostscript, and what they are given.
#include "exec/child_process.h"

#include "base/text.h"

#include <atomic>

namespace {

// Process creation takes at most this many characters of command.
constexpr int WIDE_COMMAND_SIZE = 32768;
ZERO_FILLED wchar_t wideCommand[WIDE_COMMAND_SIZE];
ZERO_FILLED wchar_t wideDirectory[MAX_PATH];

// Set once before the run; the console's handler, on a thread of the system's, only ends it.
HANDLE runJob = nullptr;
std::atomic<bool> childrenEnded{false};
std::atomic<RunStage> stage{RunStage::Before};

}  // namespace

BOOL startChild(char* command, const wchar_t* application, const char* directory, WORD showCommand,
                DWORD creationFlags, PROCESS_INFORMATION& process, HANDLE input, HANDLE output) {
  process = {};
  if (childrenEnded) {
    SetLastError(ERROR_OPERATION_ABORTED);
    return FALSE;
  }
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
  // In the job before it runs, so that the font makers it starts are the job's too.
  const DWORD suspended = runJob != nullptr ? CREATE_SUSPENDED : 0;
  if (!CreateProcessW(named ? application : nullptr, wideCommand, nullptr, nullptr, TRUE,
                      creationFlags | suspended, nullptr,
                      directory != nullptr ? wideDirectory : nullptr, &startup, &process))
    return FALSE;
  if (suspended != 0) {
    AssignProcessToJobObject(runJob, process.hProcess);
    // A stop that came while it was being made ends it too.
    if (childrenEnded) TerminateProcess(process.hProcess, STATUS_CONTROL_C_EXIT);
    ResumeThread(process.hThread);
  }
  CloseHandle(process.hThread);
  return TRUE;
}

void keepChildrenWithRun() {
  if (runJob != nullptr) return;
  runJob = CreateJobObjectW(nullptr, nullptr);
  if (runJob == nullptr) return;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(runJob, JobObjectExtendedLimitInformation, &limits, sizeof limits);
}

void endChildren() {
  childrenEnded = true;
  if (runJob != nullptr) TerminateJobObject(runJob, STATUS_CONTROL_C_EXIT);
}

void enterRunStage(RunStage entered) { stage = entered; }

RunStage runStage() { return stage; }
