// Running the composed command: the confirmation dialog and the launch.
#pragma once

#include <windows.h>

// 1 to run, 0 to drop the run; no dialog when the command is not to be shown.
int confirmCommandLine();

// Starts the converter in the chosen window mode; in Capture mode waits for it and a key.
void runCommandLine();
