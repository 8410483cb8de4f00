// A child that Corvane waits for writes its output and errors into a pipe, which a thread of its
// own reads while the child runs: the lines are kept for the report, and shown as they come.
#pragma once

#include <windows.h>

#include "command/run_report.h"

// Everything one reading thread touches, given to it as its argument; nothing else is shared
// with the window's thread, which reads kept only once the thread has ended.
struct OutputReader {
  HANDLE pipe;  // the read end
  HANDLE echo;  // where the bytes are shown as they come; null: nowhere
  KeptOutput* kept;
  HANDLE thread;  // null when no thread reads
};

// Starts a child as startChild does, with the pipe as its output and error and input as its
// input, and a thread that reads the pipe into reader.kept (cleared first). When the pipe or the
// thread cannot be had, the child starts with what startChild gives it and reader.thread stays
// null.
BOOL startReadChild(char* command, const wchar_t* application, const char* directory,
                    WORD showCommand, DWORD creationFlags, HANDLE input, OutputReader& reader,
                    PROCESS_INFORMATION& process);

// Once the child has ended: waits for the thread to take the last of the output, a bounded
// time, as programs that the child started (font makers) may still hold the pipe; then cancels
// the read that is still pending, waits for the thread's end, and only then closes the handles.
void finishReading(OutputReader& reader);

// Waits for the child with the thread's windows served, such as a help window opened from the
// sheet, then finishes reading; false when there is no handle to wait for or no exit code.
bool waitForChild(HANDLE process, OutputReader& reader, DWORD& code);

// Told by the run console's handler when its window is closed, which stops the children in it:
// the run is reported as stopped.
void noteRunWindowClosed();
bool runWindowClosed();
