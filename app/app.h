// The run sequence.
#pragma once

// On OK, while the sheet is open: compose and confirm, where a refusal drops the run, then the
// checks before the run; 0, or the control where the user mends what a check found.
int composeConfirmCheck();

// Held from start to end of every run, so that the setup program and the uninstaller can see
// that Corvane is open before they replace or remove its files.
constexpr char RUNNING_MUTEX_NAME[] = "Local\\Tolmarek.Corvane";
