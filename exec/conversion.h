// What follows the conversion: waiting for dvips, judging what it did, making the PDF with
// Ghostscript and opening the result, as the PDF page asks.
#pragma once

#include <windows.h>

#include "exec/run_messages.h"

// True when Corvane waits for the converter in Normal or Minimized mode: the run then has a
// console of Corvane's own, shown as the mode asks, which the converter and Ghostscript share.
bool showsOutputInOwnConsole();

// Starts dvips as startChild does, by the path that the checks found; where Corvane waits for it,
// its command is announced, and its output and errors go through a pipe that Corvane reads, on to
// where the run's messages send the programs' lines.
BOOL startConverter(char* command, const char* directory, WORD showCommand, DWORD creationFlags,
                    PROCESS_INFORMATION& process, const RunMessages& to);

// Waits for dvips (no handle: nothing can be known, and nothing follows) and judges its run;
// then, when it wrote this run's PostScript whole and the PDF page asks for it, runs Ghostscript
// on it with the same window, folder and flags, and judges that too. In Capture mode this
// happens in the console, before the wait for a key.
void followConversion(HANDLE converter, const char* directory, WORD showCommand,
                      DWORD creationFlags, const RunMessages& to);

// Afterwards (in Capture mode after the key): what went wrong or what is worth knowing, and the
// result opened with the program that Windows associates with it.
void reportConversion(const RunMessages& to);

// The converter could not be started: the system's text says why, and the run counts as dvips's
// failure.
void converterNotStarted(DWORD error, const char* what, const RunMessages& to);

// The text for the error box when the program could not be started: the program, and where the
// lookup looked when it found none.
const char* programNotStarted(const char* program);

// --- For the command (corvane /convert) ---

// What the last run came to (app/ turns it into the exit code).
enum class RunEnd;
RunEnd conversionEnd();

// The files that the last run made, by full path: the PostScript (or its sections), then the
// PDF; null past the last.
const char* conversionFileMade(int index);
