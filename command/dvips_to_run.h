// Which dvips a run starts, decided in one place for the composer, the PDF page and the run; and
// how a program found goes into a command.
#pragma once

#include "command/program_lookup.h"

// The dvips that a run with a program field starts, as the composer writes it, the PDF page
// shows it and the run finds Ghostscript beside it.
struct DvipsToRun {
  PathText typed;       // the field's program, read as a command's first word
  PathText shortForm;   // its short form when it names a file that exists, else empty
  WidePathText path;    // the file that runs, empty when there is none
  bool lookedUpInVain;  // a bare name that is found nowhere
};

// The field's program when it names a file that exists (a bare name is looked for in the current
// folder first); else, for a bare name, what findDvips finds. False when no such file exists.
// Safe on a thread of its own: what is found is named for a command by programForCommand, on the
// thread that composes.
bool dvipsThatWillRun(const char* field, DvipsToRun& dvips);

// A program found, as a command names it: as a path field holds it (as it stands where the code
// page represents it, else by its short form); when it has neither, by its bare name, which
// process creation looks for on PATH.
void programForCommand(const wchar_t* found, PathText& program);
