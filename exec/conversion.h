// What follows the conversion: waiting for dvips, judging what it did, making the PDF with
// Ghostscript and opening the result, as the PDF page asks.
#pragma once

#include <windows.h>

// True when Corvane waits for the converter in Normal or Minimized mode: the run then has a
// console of Corvane's own, shown as the mode asks, which the converter and Ghostscript share.
bool showsOutputInOwnConsole();

// Starts dvips as startChild does, by the path that the checks found; where Corvane waits for it,
// its output and errors go through a pipe that Corvane reads, shown as they come in the run's
// console unless the mode is Hidden.
BOOL startConverter(char* command, const char* directory, WORD showCommand, DWORD creationFlags,
                    PROCESS_INFORMATION& process);

// Waits for dvips (no handle: nothing can be known, and nothing follows) and judges its run;
// then, when it wrote this run's PostScript whole and the PDF page asks for it, runs Ghostscript
// on it with the same window, folder and flags, and judges that too. In Capture mode this
// happens in the console, before the wait for a key.
void followConversion(HANDLE converter, const char* directory, WORD showCommand,
                      DWORD creationFlags);

// Afterwards (in Capture mode after the key): the box that says what went wrong or what is worth
// knowing, and the result opened with the program that Windows associates with it.
void reportConversion();

// The text for the error box when the program could not be started: the program, and where the
// lookup looked when it found none.
const char* programNotStarted(const char* program);

// --- A run started by the command (corvane /convert), not by the sheet ---

// Set before the checks and runCommandLine. With printing, what dvips and Ghostscript write goes on
// to this process's standard output as it comes, in every window mode; a check before the run
// refuses at once instead of asking; and no box is shown: the command prints the causes itself. In
// both cases Ctrl+C and Ctrl+Break stop the programs, not Corvane, and the run then counts as
// failed, with no PDF of it left.
void convertForCommand(bool printing);

// Replaces the error box of a converter that did not start: the box unless printing, and the
// failure kept for conversionExitCode and conversionCause.
void converterNotStarted(DWORD error, const char* what);

// What the last run came to: 0 done; 1 done, with warnings; 2 dvips failed or could not start;
// 3 Ghostscript failed or could not be found; 4 nothing was run (a check before the run refused,
// or no run was made at all).
int conversionExitCode();

// The causes of the last run, one sentence each on one line, in the order of the box: null past
// the last; failure tells its kind (a warning when false).
const char* conversionCause(int index, bool& failure);

// The files that the last run made, by full path: the PostScript (or its sections), then the
// PDF; null past the last.
const char* conversionFileMade(int index);
