// The thread that reads a child's pipe, and its orderly end.
#include "exec/output_reader.h"

#include <atomic>

#include "exec/child_process.h"

namespace {

DWORD WINAPI readOutput(void* argument) {
  OutputReader& reader = *static_cast<OutputReader*>(argument);
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(reader.pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    keepOutput(*reader.kept, buffer, read);
    DWORD written = 0;
    if (reader.echo != nullptr) WriteFile(reader.echo, buffer, read, &written, nullptr);
  }
  return 0;
}

// The console's handler runs on a thread of the system's; an atomic flag is all it shares.
std::atomic<bool> windowClosed{false};

// How long the output may go on after the child has ended.
constexpr DWORD LAST_OUTPUT_MS = 5000;

// A process with a window delivers its messages while it waits; one that has shown none has not
// loaded user32, has no messages, and waits without loading it.
void waitDelivering(HANDLE process) {
  if (GetModuleHandleA("user32.dll") == nullptr) {
    WaitForSingleObject(process, INFINITE);
    return;
  }
  while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT) ==
         WAIT_OBJECT_0 + 1) {
    MSG queued;
    while (PeekMessageA(&queued, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&queued);
      DispatchMessageA(&queued);
    }
  }
}

}  // namespace

BOOL startReadChild(char* command, const wchar_t* application, const char* directory,
                    WORD showCommand, DWORD creationFlags, HANDLE input, OutputReader& reader,
                    PROCESS_INFORMATION& process) {
  clearOutput(*reader.kept);
  reader.pipe = reader.thread = nullptr;
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE write = nullptr;
  if (!CreatePipe(&reader.pipe, &write, &inherited, 0)) {
    reader.pipe = nullptr;
    return startChild(command, application, directory, showCommand, creationFlags, process);
  }
  SetHandleInformation(reader.pipe, HANDLE_FLAG_INHERIT, 0);
  const BOOL started = startChild(command, application, directory, showCommand, creationFlags,
                                  process, input, write);
  const DWORD error = GetLastError();
  CloseHandle(write);
  if (started) reader.thread = CreateThread(nullptr, 0, readOutput, &reader, 0, nullptr);
  if (reader.thread == nullptr) {
    CloseHandle(reader.pipe);
    reader.pipe = nullptr;
  }
  SetLastError(error);
  return started;
}

void finishReading(OutputReader& reader) {
  if (reader.thread == nullptr) return;
  if (WaitForSingleObject(reader.thread, LAST_OUTPUT_MS) == WAIT_TIMEOUT) {
    // Closing the pipe does not end a synchronous read that is under way; cancelling it does.
    // The thread may be between two reads when the cancel comes: it is cancelled again until it
    // has ended.
    while (WaitForSingleObject(reader.thread, 0) == WAIT_TIMEOUT) {
      CancelSynchronousIo(reader.thread);
      WaitForSingleObject(reader.thread, 50);
    }
  }
  CloseHandle(reader.thread);
  CloseHandle(reader.pipe);
  reader.thread = reader.pipe = nullptr;
}

bool waitForChild(HANDLE process, OutputReader& reader, DWORD& code) {
  if (process == nullptr) {
    finishReading(reader);
    return false;
  }
  waitDelivering(process);
  finishReading(reader);
  return GetExitCodeProcess(process, &code) != FALSE;
}

void noteRunWindowClosed() { windowClosed = true; }

bool runWindowClosed() { return windowClosed; }
