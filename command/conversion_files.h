// What one run of dvips is to write, read from the command that actually runs, and the PDF that
// Ghostscript makes beside it.
#pragma once

#include "command/program_lookup.h"

enum class OutputPlace {
  Known,      // the path is where dvips writes
  NoDviFile,  // the command names no DVI file
  Printer,    // -P without -o: the configuration decides; the default file may or may not appear
  Program,    // the output goes to a program ("!..." or "|...")
  StandardOutput,  // the output goes to dvips's standard output (-f, "-o -")
  TooLong,         // the full path would not fit a path field
  NotFollowed,     // a word of the command was too long, or the run folder is unknown
};

// dvips numbers its sections (-i) NAME.001, NAME.002, …; Corvane follows at most this many.
constexpr int MAX_SECTIONS = 999;

struct ConversionPlan {
  OutputPlace place;
  PathText dviFile;  // as the command names it; empty when it names none
  // The full path of the PostScript file; with sections the name that they are numbered from.
  // With a printer set, the default file that dvips writes when the configuration says so.
  PathText postScript;
  bool sections;      // -i: one file for each section
  bool encapsulated;  // -E: Encapsulated PostScript, cropped to its bounding box
};

extern ConversionPlan plan;

// Reads command, split by Windows' rule and dvips's own option rules, for the files that dvips
// is to write when it runs in runFolder (a full path): -o NAME relative to that folder (a name
// from the root on that folder's drive), else, as dvips does, the DVI file's name with its
// extension replaced by ".ps", in that folder. Options are read in order and the later wins, as
// dvips reads them: -o NAME then -f writes to standard output, -f then -o NAME to NAME.
void makePlan(const char* command, const char* runFolder);

// The file of section number (from 1): the extension of the plan's name replaced by the number
// in three digits, or the number appended when it has none, as dvips names them. False when it
// does not fit.
bool sectionFile(int number, PathText& path);

// The PDF beside the PostScript, named as it is with the extension ".pdf"; never the PostScript
// itself. False when that does not fit.
bool pdfFileFor(const char* postScript, PathText& pdf);
