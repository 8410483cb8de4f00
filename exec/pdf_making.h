// Ghostscript's run on this run's PostScript: the PDF is made in a new file beside the earlier
// one, which it replaces only when Ghostscript has made it whole.
#pragma once

#include <windows.h>

#include "command/pdfmark_reader.h"
#include "command/program_lookup.h"
#include "command/run_report.h"
#include "command/run_verdict.h"
#include "exec/output_reader.h"

enum class PdfEnd {
  Made,         // the PDF is in place, maybe with warnings
  Missing,      // no Ghostscript to run
  NotStarted,   // process creation failed: error
  TooLong,      // a path or the command would not fit
  Failed,       // Ghostscript's verdict was a failure: the earlier PDF, if any, is as it was
  NotReplaced,  // Ghostscript made it, but it could not take the earlier one's place: it is kept
  NotPdfA,      // for archiving, the PostScript holds what PDF/A forbids: Ghostscript not run
  NoProfile,    // for archiving, no sRGB profile for this Ghostscript: not run
};

struct PdfMaking {
  PdfEnd end;
  Verdict verdict;
  DWORD exitCode;
  DWORD error;
  bool hadEarlier;        // a PDF of that name was there before
  bool pdfWritten;        // Ghostscript wrote anything into the new file
  bool transparencyLost;  // the PostScript names transparency operators that it did not run
  bool notPdfA;           // Ghostscript said that what it wrote is not what the purpose asks
  PathText pdf;
  PathText kept;         // where the new PDF is when it could not take the PDF's place
  PathText ghostscript;  // the program as the command names it
  KeptOutput said;
  PdfMarkReader marks;  // the PostScript's pdfmarks, read with its pages before Ghostscript runs
};

// How a child of the run is started: as dvips was.
struct ChildSetting {
  const char* directory;  // null: Corvane's own folder
  WORD showCommand;
  DWORD creationFlags;
  HANDLE input;
  HANDLE echo;                            // where its output is shown as it comes; null: nowhere
  void (*announce)(const char* command);  // its command, told before it runs
};

// Runs Ghostscript on the first filesWritten files of the plan and judges it.
void makePdf(int filesWritten, const ChildSetting& setting, PdfMaking& making);

// Removes what a run that is being stopped leaves: the unfinished new PDF and the PDF/A definition.
void removeUnfinishedFiles();
