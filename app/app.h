// The run sequence.
#pragma once

// Compose, confirm, run: the first step that refuses ends the run.
void composeConfirmRun();

// Held from start to end of every run, so that the setup program and the uninstaller can see
// that Corvane is open before they replace or remove its files.
constexpr char RUNNING_MUTEX_NAME[] = "Local\\Tolmarek.Corvane";
