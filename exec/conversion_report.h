// The box that ends a run: what went wrong, or what is worth knowing; and the result opened.
#pragma once

#include <windows.h>

#include "command/conversion_files.h"
#include "command/run_report.h"
#include "command/run_verdict.h"
#include "exec/pdf_making.h"

enum class OutcomeKind {
  Nothing,          // nothing to open: off, no handle, or Capture only
  ConverterFailed,  // dvips's verdict
  PlaceUnknown,     // no PDF or nothing to open: Corvane cannot tell where the PostScript is
  NoPostScript,     // dvips ended well but wrote no file where it should have
  PdfFailed,        // no PDF: making.end says why
  Done,             // the result, PDF or PostScript, is ready to open
};

// What one run came to, told once the console (if any) is gone.
struct RunOutcome {
  OutcomeKind kind;
  bool judged;  // dvips ended and its run was judged
  Verdict dvips;
  bool dvipsOutputRead;  // a thread read what dvips said
  DWORD dvipsExitCode;
  OutputPlace place;
  int filesWritten;
  PathText unfinished;  // the first of this run's files that dvips did not finish
  PdfMaking making;
  PathText result;
};

// The box for the outcome, with what dvips said (kept); opens the result when it is done.
void reportRun(const RunOutcome& outcome, const KeptOutput& dvipsSaid);

// What the last run came to, as followConversion left it.
const RunOutcome& lastRun();
