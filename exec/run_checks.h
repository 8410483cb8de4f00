// What stands in the way of a run, checked on OK while the sheet is still open, so that the user
// can mend it on the page where it is set; and the state of the run's files just before it.
#pragma once

#include <windows.h>

#include "command/conversion_files.h"
#include "exec/run_messages.h"

// The files of the plan as they were before the run, to tell the run's own from old ones.
struct FileState {
  bool exists;
  FILETIME written;
  DWORD sizeLow, sizeHigh;
};
FileState stateOf(const char* path);
// A file counts as this run's when it is there and was not, or was written since.
bool writtenSince(const char* path, const FileState& before);

// Reads the plan of command, running in runFolder, and checks: the DVIPS program and a typed
// Ghostscript exist; the PostScript's folder exists and can be written; the PostScript and the
// PDF are neither held open by another program (Retry and Cancel) nor read-only. Each finding
// goes to the run's messages. 0 when the run may go on; else the id of the control where the
// user mends it.
int checkBeforeRun(const char* command, const char* runFolder, const RunMessages& to);

// The state of the plan's files just before dvips starts.
void noteFilesBeforeRun();
// After dvips: how many of the plan's files, from the first, this run wrote; the file at index.
int countFilesWritten();
bool planFile(int index, PathText& path);

// The dvips that the command starts, by its wide path, once checkBeforeRun has found it; empty
// when the command's program is left to process creation.
const wchar_t* dvipsApplication();
