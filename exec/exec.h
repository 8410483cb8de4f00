// Running the composed command: the confirmation dialog and the launch.
#pragma once

#include <windows.h>

// 1 to run, 0 to drop the run; no dialog when the command is not to be shown.
int confirmCommandLine();

// On OK, while the sheet is still open: the checks of what stands in the way of the composed
// command, each told in a box. 0 when it may run; else the id of the control where the user
// mends what was found.
int checkCommandLine();

// Starts the converter in the chosen window mode; in Capture mode waits for it and a key.
void runCommandLine();
