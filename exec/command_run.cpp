// What a run came to, for the command (corvane /convert): its end and the files it made.
#include "exec/conversion.h"
#include "exec/conversion_report.h"
#include "exec/run_checks.h"
#include "options/pdf_options.h"

RunEnd conversionEnd() { return judgeRun(lastRun()); }

const char* conversionFileMade(int index) {
  ZERO_FILLED static PathText file;
  const RunOutcome& run = lastRun();
  if (!run.judged || run.dvips == Verdict::Failed || index < 0) return nullptr;
  if (index < run.filesWritten) return planFile(index, file) ? file : nullptr;
  const bool pdfMade =
      run.kind == OutcomeKind::Done && run.making.end == PdfEnd::Made && pdfOptions.makePdf;
  return index == run.filesWritten && pdfMade ? run.making.pdf : nullptr;
}
