// What a run came to, told in a box or in a command's lines.
#include "exec/conversion_report.h"

#include <cstring>

#include "base/error_box.h"
#include "base/strings.h"
#include "base/text_format.h"
#include "command/places_looked.h"
#include "command/postscript_facts.h"
#include "exec/pdfa_files.h"
#include "exec/result_opening.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "resources/resource.h"

namespace {

// The fonts that will be bitmaps, less those that dvips replaced: their cause names them.
void addBitmapFonts(const KeptOutput& said, const RunMessages& to) {
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
  to.paragraph(IDS_CAUSE_BITMAP_FONTS, {listed}, false);
  if (ecOrTc) to.paragraph(IDS_CAUSE_CM_SUPER, {}, false);
}

// What a program said: the causes, one sentence each, then its last lines. Of a program that
// failed, a text that only ever warns, such as a missing figure, still warns.
void addSaid(const KeptOutput& said, const char* program, bool programFailed, bool withBitmapFonts,
             const RunMessages& to) {
  const Cause* causes[MAX_CAUSES];
  const int count = findCauses(said, causes);
  for (int index = 0; index < count; ++index) {
    char before[CAUSE_WORD_SIZE], after[CAUSE_WORD_SIZE];
    causeWords(said, *causes[index], before, after);
    const char* first = causes[index]->namedAfter ? after : before;
    to.paragraph(causes[index]->sentence, {first, after},
                 programFailed && causes[index]->kind == CauseKind::Failure);
  }
  if (withBitmapFonts) addBitmapFonts(said, to);
  to.lastLines(said, program);
}

// Why dvips failed, where Corvane can tell: the DVI file that dvips was given is missing.
void addDviFileCause(const RunMessages& to) {
  constexpr bool FAILURE = true;
  if (plan.dviFile[0] == '\0') {
    to.paragraph(IDS_NO_DVI_FILE, {}, FAILURE);
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
  to.paragraph(IDS_DVI_NOT_FOUND, {length != 0 && length < sizeof full ? full : plan.dviFile},
               FAILURE);
}

// How a program ended: stopped with its window, stopped or crashed, or its exit code, which is
// worth a line only when it is not 0; made is what the program was making.
void addEnd(const char* program, DWORD exitCode, int exitCodeId, bool failure,
            const RunMessages& to, const char* made = "") {
  char number[12];
  if (runWindowClosed()) {
    to.paragraph(IDS_RUN_WINDOW_CLOSED, {}, failure);
  } else if (endedAbnormally(exitCode)) {
    to.paragraph(IDS_PROGRAM_STOPPED, {program, decimalText(exitCode, number)}, failure);
  } else if (exitCode == 0) {
    return;
  } else if (exitCodeId == IDS_EXIT_CODE) {
    to.paragraph(IDS_EXIT_CODE, {program, decimalText(exitCode, number)}, failure);
  } else {
    to.paragraph(exitCodeId, {decimalText(exitCode, number), made}, failure);
  }
}

void addDvipsFailure(const RunOutcome& outcome, const KeptOutput& said, const RunMessages& to) {
  constexpr bool FAILURE = true;
  addDviFileCause(to);
  addSaid(said, "dvips", FAILURE, false, to);
  if (outcome.place == OutputPlace::Known && outcome.filesWritten == 0)
    to.paragraph(IDS_NO_POSTSCRIPT, {plan.postScript}, FAILURE);
  else if (outcome.unfinished[0] != '\0')
    to.paragraph(IDS_POSTSCRIPT_UNFINISHED, {outcome.unfinished}, FAILURE);
  addEnd("dvips", outcome.dvipsExitCode, IDS_DVIPS_FAILED, FAILURE, to);
  if (pdfOptions.makePdf) to.paragraph(IDS_NO_PDF_MADE, {}, FAILURE);
  if (!outcome.dvipsOutputRead && options.windowMode != WINDOW_CAPTURE)
    to.paragraph(IDS_CAPTURE_ADVICE, {}, FAILURE);
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
void addPdfaFaults(const PdfMaking& making, const RunMessages& to) {
  constexpr bool FAILURE = true;
  to.paragraph(IDS_NOT_PDFA_MADE, {making.pdf}, FAILURE);
  constexpr int SENTENCES[] = {IDS_PDFA_ACTION, IDS_PDFA_NOTE, IDS_PDFA_EMBEDDED_FILE};
  for (int index = 0; index < making.marks.faultCount; ++index) {
    const PdfaFault& fault = making.marks.faults[index];
    char page[12], where[64] = "";
    if (fault.page > 0)
      appendStringText(where, "", IDS_PDFA_PAGE,
                       {decimalText(static_cast<std::uint32_t>(fault.page), page)});
    else
      appendStringText(where, "", IDS_PDFA_BEFORE_PAGES);
    to.paragraph(SENTENCES[static_cast<int>(fault.kind)], {where, fault.name}, FAILURE);
  }
}

// Ghostscript's end when no PDF came of it, each cause before the PDF that is not there; false
// when the system's text has told it.
bool addPdfFailure(const RunOutcome& outcome, const RunMessages& to) {
  constexpr bool FAILURE = true;
  const PdfMaking& making = outcome.making;
  switch (making.end) {
    case PdfEnd::Made: return true;
    case PdfEnd::Missing:
      to.paragraph(IDS_GHOSTSCRIPT_NOT_FOUND, {}, FAILURE);
      to.text(ghostscriptPlacesLooked(), FAILURE);
      to.paragraph(IDS_NO_PDF_MADE, {}, FAILURE);
      return true;
    case PdfEnd::NotStarted: to.systemError(making.error, making.ghostscript); return false;
    case PdfEnd::TooLong:
      to.paragraph(IDS_PLACE_TOO_LONG, {}, FAILURE);
      to.paragraph(IDS_NO_PDF_MADE, {}, FAILURE);
      return true;
    case PdfEnd::Failed:
      if (making.exitCode == 0 && !making.pdfWritten && !runWindowClosed()) {
        to.paragraph(IDS_GHOSTSCRIPT_WROTE_NOTHING, {making.pdf}, FAILURE);
        to.paragraph(IDS_NO_PDF_MADE, {}, FAILURE);
        break;
      }
      if (making.notPdfA) to.paragraph(IDS_NOT_PDFA_MADE, {making.pdf}, FAILURE);
      addSaid(making.said, "Ghostscript", FAILURE, false, to);
      if (making.exitCode == 0 && !runWindowClosed()) {
        // A PDF that is whole but not what its purpose asks was told above.
        if (!making.notPdfA) to.paragraph(IDS_PDF_UNFINISHED, {}, FAILURE);
      } else {
        addEnd("Ghostscript", making.exitCode, IDS_GHOSTSCRIPT_FAILED, FAILURE, to, making.pdf);
      }
      break;
    case PdfEnd::NotPdfA: addPdfaFaults(making, to); break;
    case PdfEnd::NoProfile:
      to.paragraph(IDS_NO_SRGB_PROFILE, {making.pdf, missingProfilePlaces()}, FAILURE);
      break;
    case PdfEnd::NotReplaced: {
      // The system's text says why, then what it kept from happening.
      ZERO_FILLED static char what[1024];
      what[0] = '\0';
      appendStringText(what, "", IDS_PDF_NOT_REPLACED, {making.pdf, making.kept});
      if (making.hadEarlier) appendStringText(what, "\r\n\r\n", IDS_EARLIER_PDF_KEPT, {making.pdf});
      to.systemError(making.error, what);
      return false;
    }
  }
  if (making.hadEarlier) to.paragraph(IDS_EARLIER_PDF_KEPT, {making.pdf}, FAILURE);
  return true;
}

}  // namespace

RunEnd judgeRun(const RunOutcome& run) {
  if (run.kind == OutcomeKind::NotStarted) return RunEnd::DvipsFailed;
  if (!run.judged) return RunEnd::NothingRun;
  if (run.dvips == Verdict::Failed) return RunEnd::DvipsFailed;
  switch (run.kind) {
    case OutcomeKind::ConverterFailed:
    case OutcomeKind::NoPostScript: return RunEnd::DvipsFailed;
    case OutcomeKind::PdfFailed: return RunEnd::GhostscriptFailed;
    case OutcomeKind::PlaceUnknown:
      return pdfOptions.makePdf ? RunEnd::GhostscriptFailed : RunEnd::Warned;
    default: break;
  }
  const bool ghostscriptWarned =
      run.kind == OutcomeKind::Done && run.making.verdict == Verdict::Warned;
  return run.dvips == Verdict::Warned || ghostscriptWarned ? RunEnd::Warned : RunEnd::Done;
}

void reportRun(const RunOutcome& outcome, const KeptOutput& dvipsSaid, const RunMessages& to) {
  to.start();
  const RunEnd end = judgeRun(outcome);
  constexpr bool FAILURE = true;
  if (outcome.kind == OutcomeKind::ConverterFailed) {
    addDvipsFailure(outcome, dvipsSaid, to);
    to.show(MB_ICONERROR);
    return;
  }
  // What dvips said that is worth knowing comes first, whatever follows it; "Tell me when
  // something goes wrong" cleared keeps dvips's warnings to its own lines.
  const bool dvipsWarned = outcome.dvips == Verdict::Warned && pdfOptions.reportFailure;
  const bool ghostscriptWarned =
      outcome.kind == OutcomeKind::Done && outcome.making.verdict == Verdict::Warned;
  if (end == RunEnd::Warned && (dvipsWarned || ghostscriptWarned))
    to.paragraph(IDS_DONE_WITH_WARNINGS, {}, false);
  if (dvipsWarned) {
    addSaid(dvipsSaid, "dvips", false, pdfOptions.makePdf != 0, to);
    addEnd("dvips", outcome.dvipsExitCode, IDS_EXIT_CODE, false, to);
  }
  if (ghostscriptWarned) {
    if (outcome.making.transparencyLost) to.paragraph(IDS_CAUSE_TRANSPARENCY_IGNORED, {}, false);
    addSaid(outcome.making.said, "Ghostscript", false, false, to);
  }
  const bool failed = end == RunEnd::DvipsFailed || end == RunEnd::GhostscriptFailed;
  if (outcome.kind == OutcomeKind::PlaceUnknown) {
    to.paragraph(placeReason(outcome.place), {}, failed);
    to.paragraph(pdfOptions.makePdf ? IDS_NO_PDF_MADE : IDS_NOTHING_OPENED, {}, failed);
  } else if (outcome.kind == OutcomeKind::NoPostScript) {
    to.paragraph(IDS_NO_POSTSCRIPT, {plan.postScript}, FAILURE);
    to.paragraph(IDS_NO_PDF_MADE, {}, FAILURE);
  } else if (outcome.kind == OutcomeKind::PdfFailed && !addPdfFailure(outcome, to)) {
    return;
  }
  to.show(failed ? MB_ICONERROR : MB_ICONWARNING);
  if (outcome.kind == OutcomeKind::Done && pdfOptions.openResult) openResult(outcome.result, to);
}
