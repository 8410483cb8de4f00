// What follows the conversion: waiting for dvips, saying when it failed, making the PDF with
// Ghostscript and opening the result, as the PDF page asks.
#pragma once

#include <windows.h>

// Before dvips starts: the plan of the files that the command, running in runFolder (a full
// path), is to write, and the state of each before the run. A file of the plan that another
// program holds open, or a folder that cannot be written, is named first, with Retry and Cancel;
// false after Cancel, and nothing runs.
bool planConversion(const char* command, const char* runFolder);

// True when Corvane waits for the converter in Normal or Minimized mode: the run then has a
// console of Corvane's own, shown as the mode asks, which the converter and Ghostscript share.
bool showsOutputInOwnConsole();

// Starts dvips as startChild does; where Corvane waits for it, its output and errors go through a
// pipe that Corvane reads, shown as they come in the run's console unless the mode is Hidden.
BOOL startConverter(char* command, const char* directory, WORD showCommand, DWORD creationFlags,
                    PROCESS_INFORMATION& process);

// Waits for dvips (no handle: nothing can be known, and nothing follows), then, when dvips wrote
// this run's files and the PDF page asks for it, runs Ghostscript on those files with the same
// window, folder and flags, and waits for it too. In Capture mode this happens in the console,
// before the wait for a key.
void followConversion(HANDLE converter, const char* directory, WORD showCommand,
                      DWORD creationFlags);

// Afterwards (in Capture mode after the key): the boxes that say what went wrong, or the result
// opened with the program that Windows associates with it.
void reportConversion();

// The text for the error box when the program could not be started: the program, and where the
// lookup looked when it found none.
const char* programNotStarted(const char* program);
