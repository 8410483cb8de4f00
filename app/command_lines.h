// The command's lines: to a console as wide text, to a pipe or a file as UTF-8, so that a name
// reads as Explorer shows it, whatever the code page; and the run's messages as such lines.
#pragma once

#include <windows.h>

#include "exec/run_messages.h"

// Standard output when Corvane has one (a console, a pipe or a file), kept for the lines; null
// when started from Explorer or a shortcut.
HANDLE takeStandardOutput();

// Text in the ANSI code page, as one line.
void printLine(const char* text);

// A path of this run's, by its long name: a short form that the field held is not what the user
// named.
void printMadeLine(const char* path);

// The run's messages as lines "FILE.dvi: warning: ..." or "FILE.dvi: error: ...", the form that
// editors' problem matchers read, each printed as it is told; the commands and the programs' own
// lines go to standard output as they come. about names the file at the start of each line.
const RunMessages& messageLines(const wchar_t* about);
