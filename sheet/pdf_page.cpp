// The PDF page: Ghostscript after dvips, opening the result, telling when dvips fails, and which
// programs will run.
#include "app/text_format.h"
#include "command/lookup_system.h"
#include "command/program_lookup.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "paths/path_rules.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

namespace {

ZERO_FILLED char programsText[2 * PLACES_TEXT_SIZE + 4 * PATH_FIELD_SIZE];

void addLine(int stringId, std::initializer_list<const char*> texts) {
  appendStringText(programsText, "\r\n", stringId, texts);
}

void addPlaces(const char* places) { appendFormatted(programsText, "\r\n%s", {places}); }

}  // namespace

// The record's program field as the DVIPS Options page last stored it, and the Ghostscript edit
// as it stands.
void showProgramsThatWillRun(HWND page) {
  programsText[0] = '\0';
  PathText dvips = "";
  if (dvipsThatWillRun(dvips)) {
    addLine(IDS_RUNS_DVIPS, {dvips});
  } else {
    addLine(IDS_DVIPS_MISSING, {options.programFile});
    if (namesNoFolder(options.programFile)) addPlaces(dvipsPlacesLooked(options.programFile));
  }
  PathText typed, ghostscript;
  storeText(page, IDC_GHOSTSCRIPT_FILE, typed);
  if (typed[0] != '\0') {
    addLine(isExistingFile(typed) ? IDS_RUNS_GHOSTSCRIPT : IDS_GHOSTSCRIPT_MISSING, {typed});
  } else if (findGhostscript(dvips, ghostscript)) {
    addLine(IDS_RUNS_GHOSTSCRIPT, {ghostscript});
  } else {
    addLine(IDS_GHOSTSCRIPT_NOT_FOUND, {});
    addPlaces(ghostscriptPlacesLooked());
  }
  SetDlgItemTextA(page, IDC_PROGRAMS_THAT_RUN, programsText);
}

void loadPdfPage(HWND page) {
  currentPageIndex = 4;
  showChecked(page, IDC_MAKE_PDF, pdfOptions.makePdf);
  showText(page, IDC_GHOSTSCRIPT_FILE, pdfOptions.ghostscriptFile);
  showChecked(page, IDC_OPEN_RESULT, pdfOptions.openResult);
  showChecked(page, IDC_REPORT_FAILURE, pdfOptions.reportFailure);
  showProgramsThatWillRun(page);
}

bool storePdfPage(HWND page) {
  if (!storePathText(page, IDC_GHOSTSCRIPT_FILE, pdfOptions.ghostscriptFile)) return false;
  pdfOptions.makePdf = isChecked(page, IDC_MAKE_PDF);
  pdfOptions.openResult = isChecked(page, IDC_OPEN_RESULT);
  pdfOptions.reportFailure = isChecked(page, IDC_REPORT_FAILURE);
  return true;
}
