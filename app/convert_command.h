// The command mode: corvane /convert FILE.dvi [switches], and corvane /?.
#pragma once

#include "app/command_switches.h"

// Runs what the switches ask for (a conversion or the usage) and returns the exit code: 0 done;
// 1 done, with warnings; 2 dvips failed or could not start; 3 Ghostscript failed or could not be
// found; 4 nothing was run.
int runCommand(const CommandSwitches& switches);
