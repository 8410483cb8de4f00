// A run started by the command (corvane /convert): its messages as lines, its exit code and the
// files it made.
#include "base/error_box.h"
#include "exec/conversion.h"
#include "exec/conversion_report.h"
#include "exec/run_checks.h"
#include "exec/run_messages.h"
#include "options/pdf_options.h"

namespace {

bool notStarted = false;

bool warned(const RunOutcome& run) {
  return run.dvips == Verdict::Warned ||
         (run.kind == OutcomeKind::Done && run.making.verdict == Verdict::Warned);
}

}  // namespace

void convertForCommand(bool printing) {
  keepMessagesAsLines(printing);
  notStarted = false;
}

void converterNotStarted(DWORD error, const char* what) {
  notStarted = true;
  tellSystemError(error, what);
}

int conversionExitCode() {
  constexpr int DONE = 0, WARNED = 1, DVIPS_FAILED = 2, GHOSTSCRIPT_FAILED = 3, NOTHING_RUN = 4;
  const RunOutcome& run = lastRun();
  if (notStarted) return DVIPS_FAILED;
  if (!run.judged) return NOTHING_RUN;
  switch (run.kind) {
    case OutcomeKind::ConverterFailed:
    case OutcomeKind::NoPostScript: return DVIPS_FAILED;
    case OutcomeKind::PdfFailed: return GHOSTSCRIPT_FAILED;
    case OutcomeKind::PlaceUnknown: return pdfOptions.makePdf ? GHOSTSCRIPT_FAILED : WARNED;
    default: break;
  }
  if (run.dvips == Verdict::Failed) return DVIPS_FAILED;
  return warned(run) ? WARNED : DONE;
}

const char* conversionCause(int index, bool& failure) { return keptMessageLine(index, failure); }

const char* conversionFileMade(int index) {
  ZERO_FILLED static PathText file;
  const RunOutcome& run = lastRun();
  if (!run.judged || run.dvips == Verdict::Failed || index < 0) return nullptr;
  if (index < run.filesWritten) return planFile(index, file) ? file : nullptr;
  const bool pdfMade =
      run.kind == OutcomeKind::Done && run.making.end == PdfEnd::Made && pdfOptions.makePdf;
  return index == run.filesWritten && pdfMade ? run.making.pdf : nullptr;
}
