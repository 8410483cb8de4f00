// The verdicts on a run of dvips and of Ghostscript.
#include "command/run_verdict.h"

Verdict dvipsVerdict(const DvipsRun& run) {
  if (!run.started || run.stopped || endedAbnormally(run.exitCode) || run.fatalLine)
    return Verdict::Failed;
  // With nothing written, only its exit code tells a failure from a run whose configuration sent
  // the output elsewhere.
  if (run.filesExpected && run.filesWritten == 0 && run.exitCode != 0) return Verdict::Failed;
  if (run.filesWritten > 0 && !run.filesWhole) return Verdict::Failed;
  // A usable PostScript: what dvips said, or an exit code that nothing above explains, is worth
  // knowing but no failure.
  return run.somethingWorthSaying || run.exitCode != 0 ? Verdict::Warned : Verdict::Done;
}

Verdict ghostscriptVerdict(const GhostscriptRun& run) {
  if (!run.started || run.stopped || run.exitCode != 0 || run.unrecoverable || run.purposeMissed ||
      !run.pdfWritten || !run.pdfEnded)
    return Verdict::Failed;
  return run.somethingWorthSaying ? Verdict::Warned : Verdict::Done;
}
