// The box at the end of a run, and opening its result.
#include "exec/conversion_report.h"

#include <shellapi.h>

#include <cstring>

#include "base/error_box.h"
#include "base/library_search.h"
#include "base/strings.h"
#include "base/text_format.h"
#include "command/places_looked.h"
#include "command/postscript_facts.h"
#include "exec/pdfa_files.h"
#include "exec/run_messages.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "resources/resource.h"

namespace {

ZERO_FILLED char message[8192];
constexpr int LINES_IN_BOX = 10;

// Whether the paragraphs that follow tell a failure, for a command that prints them as lines.
bool failureParagraphs = false;

// Paragraphs of the message, an empty line between them; for a command, a line each.
void addParagraph(int id, std::initializer_list<const char*> texts = {}) {
  if (!messagesAsLines()) {
    appendStringText(message, "\r\n\r\n", id, texts);
    return;
  }
  // The command's exit code tells that much already.
  if (id == IDS_DONE_WITH_WARNINGS) return;
  ZERO_FILLED static char paragraph[1024];
  paragraph[0] = '\0';
  appendStringText(paragraph, "", id, texts);
  keepMessageLine(paragraph, failureParagraphs);
}

// A text of Corvane's own that follows a paragraph, such as where the lookups looked.
void addText(const char* text) {
  if (messagesAsLines())
    keepMessageLine(text, failureParagraphs);
  else
    appendFormatted(message, "\r\n\r\n%s", {text});
}

// The fonts that will be bitmaps, less those that dvips replaced: their cause names them.
void addBitmapFonts(const KeptOutput& said) {
  ZERO_FILLED static char listed[160];
  listed[0] = '\0';
  bool ecOrTc = false;
  for (const char* at = bitmapFonts(); *at != '\0';) {
    const std::size_t length = std::strcspn(at, ",");
    char name[64] = "", replaced[96] = "";
    if (length < sizeof name) std::memcpy(name, at, length);
    appendFormatted(replaced, " %s not found; using", {name});
    if (name[0] != '\0' && !saidText(said, replaced)) {
      appendFormatted(listed, listed[0] != '\0' ? ", %s" : "%s", {name});
      ecOrTc = ecOrTc || std::strncmp(name, "ec", 2) == 0 || std::strncmp(name, "tc", 2) == 0;
    }
    at += length;
    at += std::strspn(at, ", ");
  }
  if (listed[0] == '\0') return;
  addParagraph(IDS_CAUSE_BITMAP_FONTS, {listed});
  if (ecOrTc) addParagraph(IDS_CAUSE_CM_SUPER);
}

// What a program said: the causes, one sentence each, then its last lines.
void addSaid(const KeptOutput& said, const char* program, bool withBitmapFonts) {
  const Cause* causes[MAX_CAUSES];
  const int count = findCauses(said, causes);
  const bool programFailed = failureParagraphs;
  for (int index = 0; index < count; ++index) {
    char before[CAUSE_WORD_SIZE], after[CAUSE_WORD_SIZE];
    causeWords(said, *causes[index], before, after);
    // Of a program that failed, a text that only ever warns, such as a missing figure, still warns.
    failureParagraphs = programFailed && causes[index]->kind == CauseKind::Failure;
    addParagraph(causes[index]->sentence, {before, after});
  }
  failureParagraphs = programFailed;
  if (withBitmapFonts) addBitmapFonts(said);
  const int lines = keptLineCount(said);
  if (lines == 0 || messagesAsLines()) return;
  addParagraph(IDS_LAST_LINES, {program});
  for (int index = lines > LINES_IN_BOX ? lines - LINES_IN_BOX : 0; index < lines; ++index)
    appendFormatted(message, "\r\n%s", {keptLine(said, index)});
}

// Why dvips failed, where Corvane can tell: the DVI file that dvips was given is missing.
void addDviFileCause() {
  if (plan.dviFile[0] == '\0') {
    addParagraph(IDS_NO_DVI_FILE);
    return;
  }
  // dvips adds ".dvi" to a name that it cannot open as it stands.
  PathText withExtension = "";
  appendFormatted(withExtension, "%s.dvi", {plan.dviFile});
  if (GetFileAttributesA(plan.dviFile) != INVALID_FILE_ATTRIBUTES ||
      GetFileAttributesA(withExtension) != INVALID_FILE_ATTRIBUTES)
    return;
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(plan.dviFile, sizeof full, full, nullptr);
  addParagraph(IDS_DVI_NOT_FOUND, {length != 0 && length < sizeof full ? full : plan.dviFile});
}

// How a program ended: stopped with its window, stopped or crashed, or its exit code, which is
// worth a line only when it is not 0; made is what the program was making.
void addEnd(const char* program, DWORD exitCode, int exitCodeId, const char* made = "") {
  char number[12];
  if (runWindowClosed()) {
    addParagraph(IDS_RUN_WINDOW_CLOSED);
  } else if (endedAbnormally(exitCode)) {
    addParagraph(IDS_PROGRAM_STOPPED, {program, decimalText(exitCode, number)});
  } else if (exitCode == 0) {
    return;
  } else if (exitCodeId == IDS_EXIT_CODE) {
    addParagraph(IDS_EXIT_CODE, {program, decimalText(exitCode, number)});
  } else {
    addParagraph(exitCodeId, {decimalText(exitCode, number), made});
  }
}

void addDvipsFailure(const RunOutcome& outcome, const KeptOutput& said) {
  addDviFileCause();
  addSaid(said, "dvips", false);
  if (outcome.place == OutputPlace::Known && outcome.filesWritten == 0)
    addParagraph(IDS_NO_POSTSCRIPT, {plan.postScript});
  else if (outcome.unfinished[0] != '\0')
    addParagraph(IDS_POSTSCRIPT_UNFINISHED, {outcome.unfinished});
  addEnd("dvips", outcome.dvipsExitCode, IDS_DVIPS_FAILED);
  if (pdfOptions.makePdf) addParagraph(IDS_NO_PDF_MADE);
  if (!outcome.dvipsOutputRead && options.windowMode != WINDOW_CAPTURE)
    addParagraph(IDS_CAPTURE_ADVICE);
}

int placeReason(OutputPlace place) {
  switch (place) {
    case OutputPlace::NoDviFile: return IDS_NO_DVI_FILE;
    case OutputPlace::Printer: return IDS_PLACE_PRINTER;
    case OutputPlace::Program: return IDS_PLACE_PROGRAM;
    case OutputPlace::StandardOutput: return IDS_PLACE_STANDARD_OUTPUT;
    case OutputPlace::NotFollowed: return IDS_PLACE_NOT_FOLLOWED;
    default: return IDS_PLACE_TOO_LONG;
  }
}

// What to do, and what the PostScript holds that PDF/A forbids, each where it first comes.
void addPdfaFaults(const PdfMaking& making) {
  addParagraph(IDS_NOT_PDFA_MADE, {making.pdf});
  constexpr int SENTENCES[] = {IDS_PDFA_ACTION, IDS_PDFA_NOTE, IDS_PDFA_EMBEDDED_FILE};
  for (int index = 0; index < making.marks.faultCount; ++index) {
    const PdfaFault& fault = making.marks.faults[index];
    char page[12], where[64] = "";
    if (fault.page > 0)
      appendStringText(where, "", IDS_PDFA_PAGE,
                       {decimalText(static_cast<std::uint32_t>(fault.page), page)});
    else
      appendStringText(where, "", IDS_PDFA_BEFORE_PAGES);
    addParagraph(SENTENCES[static_cast<int>(fault.kind)], {where, fault.name});
  }
}

// Ghostscript's end when no PDF came of it; false when the system's box has told it.
bool addPdfFailure(const RunOutcome& outcome) {
  const PdfMaking& making = outcome.making;
  switch (making.end) {
    case PdfEnd::Made: return true;
    case PdfEnd::Missing:
      addParagraph(IDS_NO_PDF_MADE);
      addParagraph(IDS_GHOSTSCRIPT_NOT_FOUND);
      addText(ghostscriptPlacesLooked());
      return true;
    case PdfEnd::NotStarted: tellSystemError(making.error, making.ghostscript); return false;
    case PdfEnd::TooLong:
      addParagraph(IDS_NO_PDF_MADE);
      addParagraph(IDS_PLACE_TOO_LONG);
      return true;
    case PdfEnd::Failed:
      if (making.exitCode == 0 && !making.pdfWritten && !runWindowClosed()) {
        addParagraph(IDS_NO_PDF_MADE);
        addParagraph(IDS_GHOSTSCRIPT_WROTE_NOTHING, {making.pdf});
        break;
      }
      if (making.notPdfA) addParagraph(IDS_NOT_PDFA_MADE, {making.pdf});
      addSaid(making.said, "Ghostscript", false);
      if (making.exitCode == 0 && !runWindowClosed()) {
        // A PDF that is whole but not what its purpose asks was told above.
        if (!making.notPdfA) addParagraph(IDS_PDF_UNFINISHED);
      } else {
        addEnd("Ghostscript", making.exitCode, IDS_GHOSTSCRIPT_FAILED, making.pdf);
      }
      break;
    case PdfEnd::NotReplaced: addParagraph(IDS_PDF_NOT_REPLACED, {making.pdf, making.kept}); break;
    case PdfEnd::NotPdfA: addPdfaFaults(making); break;
    case PdfEnd::NoProfile:
      addParagraph(IDS_NO_SRGB_PROFILE, {making.pdf, missingProfilePlaces()});
      break;
  }
  if (making.hadEarlier) addParagraph(IDS_EARLIER_PDF_KEPT, {making.pdf});
  if (making.end != PdfEnd::NotReplaced || messagesAsLines()) return true;
  reportSystemError(making.error, message);
  return false;
}

// The shell is bound when a result is opened, not at start-up; COM is ready for the handlers
// that the association may name. The shell shows no box of its own and does not return before the
// program is started, so that Corvane can tell the real reason when it fails.
void openResult(const char* result) {
  using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  initializeCom();
  const auto shellExecute =
      systemFunction<ShellExecuteExFunction>("shell32.dll", "ShellExecuteExW");
  ZERO_FILLED static wchar_t wide[MAX_PATH];
  if (shellExecute == nullptr || MultiByteToWideChar(CP_ACP, 0, result, -1, wide, MAX_PATH) == 0) {
    tellSystemError(0, result);
    return;
  }
  SHELLEXECUTEINFOW execute = {};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execute.lpVerb = L"open";
  execute.lpFile = wide;
  execute.nShow = SW_SHOWNORMAL;
  if (shellExecute(&execute)) return;
  // With no program set for the file's type the shell may also try to run the file itself, which
  // is no program: that is "no association" too.
  const DWORD error = GetLastError();
  if (error != ERROR_NO_ASSOCIATION && error != ERROR_BAD_EXE_FORMAT) {
    tellSystemError(error, result);
    return;
  }
  message[0] = '\0';
  failureParagraphs = false;
  addParagraph(IDS_NO_PROGRAM_FOR_RESULT, {result});
  if (!messagesAsLines()) reportError(message, MB_ICONWARNING);
}

}  // namespace

void reportRun(const RunOutcome& outcome, const KeptOutput& dvipsSaid) {
  message[0] = '\0';
  failureParagraphs = true;
  if (outcome.kind == OutcomeKind::ConverterFailed) {
    addDvipsFailure(outcome, dvipsSaid);
    if (!messagesAsLines()) reportError(message);
    return;
  }
  failureParagraphs = false;
  // What dvips said that is worth knowing comes first, whatever follows it.
  const bool dvipsWarned = outcome.dvips == Verdict::Warned && pdfOptions.reportFailure;
  const bool ghostscriptWarned =
      outcome.kind == OutcomeKind::Done && outcome.making.verdict == Verdict::Warned;
  const bool failed =
      outcome.kind == OutcomeKind::PlaceUnknown || outcome.kind == OutcomeKind::PdfFailed;
  if (!failed && (dvipsWarned || ghostscriptWarned)) addParagraph(IDS_DONE_WITH_WARNINGS);
  if (dvipsWarned) {
    addSaid(dvipsSaid, "dvips", pdfOptions.makePdf != 0);
    addEnd("dvips", outcome.dvipsExitCode, IDS_EXIT_CODE);
  }
  if (ghostscriptWarned) {
    if (outcome.making.transparencyLost) addParagraph(IDS_CAUSE_TRANSPARENCY_IGNORED);
    addSaid(outcome.making.said, "Ghostscript", false);
  }
  failureParagraphs = true;
  if (outcome.kind == OutcomeKind::PlaceUnknown) {
    addParagraph(pdfOptions.makePdf ? IDS_NO_PDF_MADE : IDS_NOTHING_OPENED);
    addParagraph(placeReason(outcome.place));
  } else if (outcome.kind == OutcomeKind::NoPostScript) {
    addParagraph(IDS_NO_PDF_MADE);
    addParagraph(IDS_NO_POSTSCRIPT, {plan.postScript});
  } else if (outcome.kind == OutcomeKind::PdfFailed && !addPdfFailure(outcome)) {
    return;
  }
  if (message[0] != '\0' && !messagesAsLines())
    reportError(message, failed ? MB_ICONERROR : MB_ICONWARNING);
  if (outcome.kind == OutcomeKind::Done && pdfOptions.openResult) openResult(outcome.result);
}
