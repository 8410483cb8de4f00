// Making the PDF with Ghostscript, into a new file that replaces the earlier PDF only when whole.
#include "exec/pdf_making.h"

#include "base/text.h"
#include "command/dvips_to_run.h"
#include "command/ghostscript_command.h"
#include "command/postscript_facts.h"
#include "exec/pdf_placing_win32.h"
#include "exec/pdfa_files.h"
#include "exec/run_checks.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "paths/path_rules.h"
#include "resources/resource.h"

namespace {

ZERO_FILLED char command[GHOSTSCRIPT_COMMAND_SIZE];
ZERO_FILLED PathText newPdf;
ZERO_FILLED WidePathText application;

bool landscapeHeader(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // dvips writes its header comments first: the orientation is in the first few lines.
  ZERO_FILLED static char header[8192];
  DWORD read = 0;
  ReadFile(file, header, sizeof header - 1, &read, nullptr);
  CloseHandle(file);
  header[read] = '\0';
  return isLandscapePostScript(header);
}

// Whether the PDF has content, and whether it ends as a PDF does.
void readPdfEnd(const char* path, GhostscriptRun& run) {
  run.pdfWritten = run.pdfEnded = false;
  const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  char tail[1024];
  DWORD read = 0;
  const DWORD size = GetFileSize(file, nullptr);
  run.pdfWritten = size != INVALID_FILE_SIZE && size > 0;
  if (run.pdfWritten && size > sizeof tail)
    SetFilePointer(file, -static_cast<LONG>(sizeof tail), nullptr, FILE_END);
  run.pdfEnded = run.pdfWritten && ReadFile(file, tail, sizeof tail, &read, nullptr) &&
                 pdfTailEnded(tail, read);
  CloseHandle(file);
}

// The Ghostscript to run: the PDF page's, or the one found, by its own wide path.
bool chooseGhostscript(PdfMaking& making) {
  application[0] = L'\0';
  if (pdfOptions.ghostscriptFile[0] != '\0') {
    copyText(making.ghostscript, pdfOptions.ghostscriptFile);
    return true;
  }
  // TeX Live and MiKTeX keep a Ghostscript of their own beside their dvips.
  ZERO_FILLED static DvipsToRun dvips;
  dvipsThatWillRun(options.programFile, dvips);
  if (!findGhostscript(dvips.path, application)) return false;
  programForCommand(application, making.ghostscript);
  return true;
}

void runGhostscript(const ChildSetting& setting, PdfMaking& making) {
  setting.announce(command);
  OutputReader reader = {nullptr, setting.echo, &making.said, nullptr};
  PROCESS_INFORMATION process;
  if (!startReadChild(command, application, setting.directory, setting.showCommand,
                      setting.creationFlags, setting.input, reader, process)) {
    making.error = GetLastError();
    making.end = PdfEnd::NotStarted;
    return;
  }
  GhostscriptRun run = {};
  run.started = true;
  waitForChild(process.hProcess, reader, making.exitCode);
  if (process.hProcess != nullptr) CloseHandle(process.hProcess);
  run.stopped = runWindowClosed();
  run.exitCode = making.exitCode;
  run.unrecoverable = saidText(making.said, "Unrecoverable error");
  // Ghostscript that cannot keep to PDF/A writes an ordinary PDF, or one with an embedded file
  // that it cannot vouch for, which is not what was asked for.
  run.purposeMissed = pdfOptions.purpose == PDF_FOR_ARCHIVING &&
                      (saidText(making.said, "reverting to normal") ||
                       saidText(making.said, "has not validated this embedded file"));
  making.notPdfA = run.purposeMissed;
  readPdfEnd(newPdf, run);
  making.pdfWritten = run.pdfWritten;
  const Cause* causes[MAX_CAUSES];
  const int found = findCauses(making.said, causes);
  // Transparency that a Ghostscript without the switch leaves out without a word, as it does when
  // the PostScript asks for its operators before using them.
  making.transparencyLost = pdfOptions.allowTransparency == 0 && transparencyOperators();
  for (int index = 0; index < found; ++index)
    if (causes[index]->sentence == IDS_CAUSE_TRANSPARENCY_IGNORED ||
        causes[index]->sentence == IDS_CAUSE_TRANSPARENCY)
      making.transparencyLost = false;
  run.somethingWorthSaying = found > 0 || making.transparencyLost;
  making.verdict = ghostscriptVerdict(run);
  if (making.verdict == Verdict::Failed) {
    making.end = PdfEnd::Failed;
    return;
  }
  // A good PDF is never thrown away: where it cannot take the earlier one's place, it is kept.
  PathText kept;
  if (!keptPdfName(making.pdf, kept)) kept[0] = '\0';
  switch (placeNewPdf(newPdf, making.pdf, kept, systemPdfPlacing)) {
    case PdfPlace::Replaced:
    case PdfPlace::WrittenOver: making.end = PdfEnd::Made; return;
    case PdfPlace::KeptBeside: copyText(making.kept, kept); break;
    case PdfPlace::KeptAsMade: copyText(making.kept, newPdf); break;
  }
  making.error = pdfReplaceError();
  making.end = PdfEnd::NotReplaced;
}

}  // namespace

void makePdf(int filesWritten, const ChildSetting& setting, PdfMaking& making) {
  making.verdict = Verdict::Failed;
  making.exitCode = making.error = 0;
  making.notPdfA = making.transparencyLost = false;
  making.kept[0] = '\0';
  clearOutput(making.said);
  if (!chooseGhostscript(making)) {
    making.end = PdfEnd::Missing;
    return;
  }
  PathText first, folder;
  planFile(0, first);
  making.end = PdfEnd::TooLong;
  if (!pdfFileFor(plan.postScript, making.pdf)) return;
  making.hadEarlier = stateOf(making.pdf).exists;
  const bool archiving = pdfOptions.purpose == PDF_FOR_ARCHIVING;
  if (archiving && making.marks.faultCount > 0) {
    making.end = PdfEnd::NotPdfA;
    return;
  }
  copyText(folder, making.pdf);
  // The new file is made beside the PDF, on the same volume, so that it can take its place.
  removeLeftNewPdfs(making.pdf);
  if (!cutToFolder(folder) || !newPdfName(making.pdf, GetCurrentProcessId(), newPdf)) return;
  // A PDF for archiving: the box names a definition file that cannot be written, and why.
  if (archiving && !writePdfaDefinition(making.ghostscript, first)) {
    making.error = GetLastError();
    making.end = missingProfilePlaces()[0] != '\0' ? PdfEnd::NoProfile : PdfEnd::NotStarted;
    if (making.end == PdfEnd::NotStarted) copyText(making.ghostscript, pdfaDefinitionFile());
  } else if (composeGhostscriptCommand(making.ghostscript, planFile, filesWritten, newPdf,
                                       landscapeHeader(first), plan.encapsulated, command,
                                       pdfaDefinitionFile(), pdfaReadableProfile())) {
    runGhostscript(setting, making);
  }
  removePdfaDefinition();
  if (making.end != PdfEnd::Made && making.end != PdfEnd::NotReplaced) DeleteFileA(newPdf);
  newPdf[0] = '\0';
}

void removeUnfinishedFiles() {
  if (newPdf[0] != '\0') DeleteFileA(newPdf);
  removePdfaDefinition();
}
