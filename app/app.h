// The program's instance and its run sequence.
#pragma once

#include <windows.h>

extern HINSTANCE appInstance;

// Compose, confirm, run: the first step that refuses ends the run.
void composeConfirmRun();
