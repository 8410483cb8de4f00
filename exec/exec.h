// Running the composed command: the confirmation dialog and the launch.
#pragma once

#include <windows.h>

#include "exec/run_messages.h"

// 1 to run, 0 to drop the run; no dialog when the command is not to be shown.
int confirmCommandLine();

// Before the run (on OK, while the sheet is still open): the checks of what stands in the way of
// the composed command, each told to the run's messages. 0 when it may run; else the id of the
// control where the user mends what was found.
int checkCommandLine(const RunMessages& to);

// Starts the converter in the chosen window mode; in Capture mode waits for it and a key. What the
// run comes to goes to the run's messages.
void runCommandLine(const RunMessages& to);
