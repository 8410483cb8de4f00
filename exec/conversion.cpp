// Waiting for dvips and judging its run, then Ghostscript, and the result opened or a box.
#include "exec/conversion.h"

#include "base/text.h"
#include "base/text_format.h"
#include "command/command_line.h"
#include "command/conversion_files.h"
#include "command/places_looked.h"
#include "command/postscript_facts.h"
#include "command/program_lookup.h"
#include "command/run_report.h"
#include "command/run_verdict.h"
#include "exec/child_process.h"
#include "exec/conversion_report.h"
#include "exec/output_reader.h"
#include "exec/pdf_making.h"
#include "exec/run_checks.h"
#include "options/options.h"
#include "options/pdf_options.h"

namespace {

ZERO_FILLED RunOutcome outcome;
ZERO_FILLED KeptOutput dvipsSaid;
OutputReader dvipsReader = {nullptr, nullptr, &dvipsSaid, nullptr};
HANDLE childInput = nullptr;

// Reads this run's files through: whether each is whole, the fonts that are bitmaps in them, and
// what their pdfmarks ask of the PDF.
bool readWrittenFiles(int filesWritten) {
  clearBitmapFonts();
  startPdfMarks(outcome.making.marks);
  ZERO_FILLED static char chunk[16384];
  bool whole = true;
  for (int index = 0; index < filesWritten; ++index) {
    PathText path;
    if (!planFile(index, path)) continue;
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    PostScriptFacts facts;
    startPostScript(facts);
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) {
      readPostScript(facts, chunk, read);
      readPdfMarks(outcome.making.marks, chunk, read);
    }
    endPostScript(facts);
    endPdfMarks(outcome.making.marks);
    CloseHandle(file);
    if (!wholePostScript(facts) && whole) {
      whole = false;
      copyText(outcome.unfinished, path);
    }
  }
  return whole;
}

void judgeDvips(bool started, DWORD exitCode) {
  DvipsRun run = {};
  run.started = started;
  run.stopped = runWindowClosed();
  run.exitCode = exitCode;
  run.fatalLine = saidLineStarting(dvipsSaid, "dvips: !");
  run.filesExpected = outcome.place == OutputPlace::Known;
  run.filesWritten = outcome.filesWritten;
  run.filesWhole = readWrittenFiles(outcome.filesWritten);
  const Cause* causes[MAX_CAUSES];
  run.somethingWorthSaying =
      findCauses(dvipsSaid, causes) > 0 || (pdfOptions.makePdf && bitmapFonts()[0] != '\0');
  outcome.dvips = dvipsVerdict(run);
}

}  // namespace

bool showsOutputInOwnConsole() {
  return waitsForConverter() &&
         (options.windowMode == WINDOW_NORMAL || options.windowMode == WINDOW_MINIMIZED);
}

BOOL startConverter(char* command, const char* directory, WORD showCommand, DWORD creationFlags,
                    PROCESS_INFORMATION& process, const RunMessages& to) {
  clearOutput(dvipsSaid);
  enterRunStage(RunStage::Dvips);
  if (waitsForConverter()) to.announce(command);
  noteFilesBeforeRun();
  if (!waitsForConverter())
    return startChild(command, dvipsApplication(), directory, showCommand, creationFlags, process);
  // The children's input: the run's console, or, hidden, NUL: a child that waits for a key it
  // cannot get would hold the run for ever.
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  childInput = nullptr;
  if (options.windowMode == WINDOW_HIDDEN)
    childInput = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                             OPEN_EXISTING, 0, nullptr);
  else
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_INPUT_HANDLE), GetCurrentProcess(),
                    &childInput, 0, TRUE, DUPLICATE_SAME_ACCESS);
  if (childInput == INVALID_HANDLE_VALUE) childInput = nullptr;
  dvipsReader.echo = to.programLines();
  const BOOL started = startReadChild(command, dvipsApplication(), directory, showCommand,
                                      creationFlags, childInput, dvipsReader, process);
  outcome.dvipsOutputRead = started && dvipsReader.thread != nullptr;
  return started;
}

void followConversion(HANDLE converter, const char* directory, WORD showCommand,
                      DWORD creationFlags, const RunMessages& to) {
  outcome.kind = OutcomeKind::Nothing;
  outcome.dvips = Verdict::Done;
  DWORD exitCode = 0;
  const bool ended = waitForChild(converter, dvipsReader, exitCode);
  if (!ended || !waitsForConverter()) {
    if (childInput != nullptr) CloseHandle(childInput);
    childInput = nullptr;
    return;
  }
  outcome.place = plan.place;
  outcome.dvipsExitCode = exitCode;
  outcome.filesWritten =
      outcome.place == OutputPlace::Known || outcome.place == OutputPlace::Printer
          ? countFilesWritten()
          : 0;
  // A printer's configuration that writes the default file is told by the file itself.
  if (outcome.place == OutputPlace::Printer && outcome.filesWritten > 0)
    outcome.place = OutputPlace::Known;
  judgeDvips(true, exitCode);
  outcome.judged = true;
  if (outcome.dvips == Verdict::Failed) {
    // dvips's own output file is dvips's: it is left as it is, and nothing follows.
    outcome.kind = pdfOptions.reportFailure ? OutcomeKind::ConverterFailed : OutcomeKind::Nothing;
  } else if (!pdfOptions.makePdf && !pdfOptions.openResult) {
    outcome.kind = OutcomeKind::Nothing;
  } else if (outcome.place != OutputPlace::Known) {
    outcome.kind = OutcomeKind::PlaceUnknown;
  } else if (outcome.filesWritten == 0) {
    outcome.kind = OutcomeKind::NoPostScript;
  } else if (!pdfOptions.makePdf) {
    planFile(0, outcome.result);
    outcome.kind = OutcomeKind::Done;
  } else {
    const ChildSetting setting = {directory,  showCommand,      creationFlags,
                                  childInput, dvipsReader.echo, to.announce};
    enterRunStage(RunStage::Ghostscript);
    makePdf(outcome.filesWritten, setting, outcome.making);
    outcome.kind = outcome.making.end == PdfEnd::Made ? OutcomeKind::Done : OutcomeKind::PdfFailed;
    if (outcome.kind == OutcomeKind::Done) copyText(outcome.result, outcome.making.pdf);
  }
  if (childInput != nullptr) CloseHandle(childInput);
  childInput = nullptr;
}

void reportConversion(const RunMessages& to) { reportRun(outcome, dvipsSaid, to); }

void converterNotStarted(DWORD error, const char* what, const RunMessages& to) {
  outcome.kind = OutcomeKind::NotStarted;
  to.systemError(error, what);
}

const RunOutcome& lastRun() { return outcome; }

const char* programNotStarted(const char* program) {
  ZERO_FILLED static char text[4096];
  if (!programLookupFailed) return program;
  text[0] = '\0';
  appendFormatted(text, "%s\r\n\r\n%s", {program, dvipsPlacesLooked(program)});
  return text;
}
