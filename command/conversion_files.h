// Where the files of a conversion lie: the PostScript that dvips writes for the settings, and the
// PDF that Ghostscript makes beside it.
#pragma once

#include "command/program_lookup.h"

enum class OutputPlace {
  Known,         // the path is where dvips writes
  NoDviFile,     // no DVI file is named
  Printer,       // a printer is set: its configuration decides where the output goes
  OutputOption,  // the other options name the output themselves (-o)
  Program,       // the PostScript file names a program to pipe into ("!..." or "|...")
  TooLong,       // the full path would not fit a path field
};

// The PostScript file that dvips writes when it runs in runFolder (a full path): the PostScript
// file of the settings, relative to that folder, or else, as dvips does, the DVI file's name with
// its extension replaced by ".ps", in that folder.
OutputPlace postScriptFile(const char* runFolder, PathText& path);

// The PDF beside the PostScript, named as it is with the extension ".pdf"; never the PostScript
// itself. False when that does not fit.
bool pdfFileFor(const char* postScript, PathText& pdf);
