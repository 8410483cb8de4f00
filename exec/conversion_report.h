// The box that ends a run: what went wrong, or what is worth knowing; and the result opened.
#pragma once

#include <windows.h>

#include "command/conversion_files.h"
#include "command/run_report.h"
#include "command/run_verdict.h"
#include "exec/pdf_making.h"
#include "exec/run_messages.h"

enum class OutcomeKind {
  Nothing,          // nothing to open: off, no handle, or Capture only
  ConverterFailed,  // dvips's verdict
  PlaceUnknown,     // no PDF or nothing to open: Corvane cannot tell where the PostScript is
  NoPostScript,     // dvips ended well but wrote no file where it should have
  PdfFailed,        // no PDF: making.end says why
  Done,             // the result, PDF or PostScript, is ready to open
  NotStarted,       // dvips could not be started: the system's text told why
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

// What the run came to, for the box and for the command's exit code alike.
enum class RunEnd { Done, Warned, DvipsFailed, GhostscriptFailed, NothingRun };
RunEnd judgeRun(const RunOutcome& run);

// Tells the outcome, with what dvips said (kept); opens the result when it is done.
void reportRun(const RunOutcome& outcome, const KeptOutput& dvipsSaid, const RunMessages& messages);

// What the last run came to, as followConversion left it.
const RunOutcome& lastRun();
