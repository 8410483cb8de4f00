// Where the messages of a run go: into boxes, or, for a command that has a standard output, into
// lines that the command prints after the run, each a cause of a warning or of a failure.
#pragma once

#include <windows.h>

// Lines instead of boxes from now on (true), or boxes; either way the kept lines are cleared.
void keepMessagesAsLines(bool asLines);
bool messagesAsLines();

// A message as one line (its line breaks become blanks), as many as fit.
void keepMessageLine(const char* text, bool failure);
// The system's text for code, on one line.
const char* systemText(DWORD code);
// The system's text for code, then what it concerns, as one line of a failure.
void keepSystemMessageLine(DWORD code, const char* what);
// The kept line at index, or null past the last; failure tells its kind.
const char* keptMessageLine(int index, bool& failure);

// The error box with the system's text for code, or its line.
void tellSystemError(DWORD code, const char* what);
