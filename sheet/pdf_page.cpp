// The PDF page: Ghostscript after dvips and what the PDF is for, opening the result, telling when
// dvips fails, and which programs will run.
#include <cstring>

#include "app/text_format.h"
#include "command/ghostscript_command.h"
#include "command/lookup_system.h"
#include "command/program_lookup.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "paths/path_rules.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

namespace {

ZERO_FILLED char programsText[2 * PLACES_TEXT_SIZE + 4 * PATH_FIELD_SIZE];
// The line of the switches above the programs' lines: as put together, and as shown.
ZERO_FILLED char pageText[sizeof programsText + 256 + PDF_PURPOSE_SWITCHES_SIZE];
ZERO_FILLED char shownText[sizeof pageText];

void addLine(int stringId, std::initializer_list<const char*> texts) {
  appendStringText(programsText, "\r\n", stringId, texts);
}

void addPlaces(const char* places) { appendFormatted(programsText, "\r\n%s", {places}); }

// The entry of "PDF for", or CB_ERR when none is chosen.
std::int32_t chosenPurpose(HWND page) {
  return static_cast<std::int32_t>(SendDlgItemMessageA(page, IDC_PDF_PURPOSE, CB_GETCURSEL, 0, 0));
}

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
  showPdfSwitches(page);
}

// The list and the box tell of every change, focus and opening too: the text is set only when it
// differs, so that the box neither flickers nor loses its scroll position.
void showPdfSwitches(HWND page) {
  char switches[PDF_PURPOSE_SWITCHES_SIZE];
  pdfPurposeSwitches(chosenPurpose(page), isChecked(page, IDC_ALLOW_TRANSPARENCY) != 0, switches);
  // First, where the lookups' long lists of places cannot push it out of sight.
  pageText[0] = '\0';
  appendStringText(pageText, "", switches[0] != '\0' ? IDS_PDF_SWITCHES : IDS_NO_PDF_SWITCHES,
                   {switches});
  appendFormatted(pageText, "\r\n%s", {programsText});
  if (std::strcmp(pageText, shownText) == 0) return;
  copyText(shownText, pageText);
  SetDlgItemTextA(page, IDC_PROGRAMS_THAT_RUN, shownText);
}

void loadPdfPage(HWND page) {
  currentPageIndex = 4;
  showChecked(page, IDC_MAKE_PDF, pdfOptions.makePdf);
  fillList(page, IDC_PDF_PURPOSE, IDS_FIRST_PDF_PURPOSE);
  SendDlgItemMessageA(page, IDC_PDF_PURPOSE, CB_SETCURSEL, static_cast<WPARAM>(pdfOptions.purpose),
                      0);
  showChecked(page, IDC_ALLOW_TRANSPARENCY, pdfOptions.allowTransparency);
  showText(page, IDC_GHOSTSCRIPT_FILE, pdfOptions.ghostscriptFile);
  showChecked(page, IDC_OPEN_RESULT, pdfOptions.openResult);
  showChecked(page, IDC_REPORT_FAILURE, pdfOptions.reportFailure);
  showProgramsThatWillRun(page);
}

bool storePdfPage(HWND page) {
  if (!storePathText(page, IDC_GHOSTSCRIPT_FILE, pdfOptions.ghostscriptFile)) return false;
  pdfOptions.makePdf = isChecked(page, IDC_MAKE_PDF);
  // The list has the purposes alone, and none is chosen only before the page was first shown.
  const std::int32_t purpose = chosenPurpose(page);
  if (purpose != CB_ERR) pdfOptions.purpose = purpose;
  pdfOptions.allowTransparency = isChecked(page, IDC_ALLOW_TRANSPARENCY);
  pdfOptions.openResult = isChecked(page, IDC_OPEN_RESULT);
  pdfOptions.reportFailure = isChecked(page, IDC_REPORT_FAILURE);
  return true;
}
