// The command mode: corvane /convert FILE.dvi [switches], and corvane /?.
#pragma once

#include "app/command_switches.h"

// Whether an argument that would open the sheet is a slip in a command that a build tool ran
// (-convert paper.dvi, paper.dvi /pdf): there is a standard output, and file, the argument's
// file, does not exist. runCommand then tells it as a usage error.
bool commandSlip(const CommandSwitches& switches, const wchar_t* file);

// Runs what the switches ask for (a conversion, the usage, or a usage error) and returns the exit
// code: 0 done, with warnings too unless /strict, which makes them 1; 2 dvips failed or could not
// start; 3 Ghostscript failed or could not be found; 4 nothing was run. A stop (Ctrl+C) gives 2 or
// 3 for the program it stopped, and 4 before either ran.
int runCommand(const CommandSwitches& switches);
