// The PDF page: Ghostscript after dvips and what the PDF is for, opening the result, telling when
// dvips fails, and which programs will run.
#include <cstring>

#include "base/strings.h"
#include "base/text_format.h"
#include "command/dvips_to_run.h"
#include "command/ghostscript_command.h"
#include "command/lookup_system.h"
#include "command/places_looked.h"
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

// How long the page waits for an answer before it says that it is looking.
constexpr DWORD A_MOMENT_MS = 100;

// The lookups run on a thread of their own, once for the program field that the page is shown
// with, and the Ghostscript edit is looked at there too as it changes: a PATH, a registry Path or
// a typed path that names a network folder that is gone would otherwise hold the sheet for the
// network's time-outs. The thread owns what it finds until it ends, and posts
// WM_PROGRAMS_FOUND to the page just before.
struct ProgramsFound {
  PathText program;     // the program field looked for
  bool lookUpPrograms;  // false when only the typed Ghostscript is new
  bool dvipsFound;
  DvipsToRun dvips;
  bool ghostscript;
  WidePathText ghostscriptPath;
  wchar_t typed[WIDE_PATH_SIZE];  // the Ghostscript edit, without a file manager's quotes
  bool typedExists;
};

ZERO_FILLED ProgramsFound found;
HANDLE lookupThread = nullptr;
bool lookedUp = false;  // found holds the answer for found.program

void lookUp() {
  if (found.lookUpPrograms) {
    found.dvipsFound = dvipsThatWillRun(found.program, found.dvips);
    found.ghostscript = findGhostscript(found.dvips.path, found.ghostscriptPath);
  }
  found.typedExists = found.typed[0] != L'\0' && isExistingFile(found.typed);
}

DWORD WINAPI lookUpAndPost(void* page) {
  lookUp();
  PostMessageA(static_cast<HWND>(page), WM_PROGRAMS_FOUND, 0, 0);
  return 0;
}

// On a thread, or here when no thread can be had. The answer is posted, so it comes only once
// this thread has kept the handle.
void startLookup(HWND page, const wchar_t* typed) {
  found.lookUpPrograms = !lookedUp || lstrcmpA(found.program, options.programFile) != 0;
  copyText(found.program, options.programFile);
  lstrcpynW(found.typed, typed, WIDE_PATH_SIZE);
  lookedUp = false;
  lookupThread = CreateThread(nullptr, 0, lookUpAndPost, page, 0, nullptr);
  if (lookupThread != nullptr) return;
  lookUp();
  lookedUp = true;
}

// True when found holds an answer: the thread, if any, ended within the wait.
bool lookupEnded(DWORD waitMs) {
  if (lookupThread == nullptr) return lookedUp;
  if (WaitForSingleObject(lookupThread, waitMs) != WAIT_OBJECT_0) return false;
  CloseHandle(lookupThread);
  lookupThread = nullptr;
  lookedUp = true;
  return true;
}

// dvips as the lookup found it, and Ghostscript as the edit names it or else as found.
void showFound(HWND page) {
  programsText[0] = '\0';
  PathText program;
  if (found.dvipsFound) {
    programForCommand(found.dvips.path, program);
    addLine(IDS_RUNS_DVIPS, {program});
  } else {
    addLine(IDS_DVIPS_MISSING, {found.program});
    if (namesNoFolder(found.program)) addPlaces(dvipsPlacesLooked(found.program));
  }
  if (found.typed[0] != L'\0') {
    if (widePathToField(found.typed, program) != 0) storeText(page, IDC_GHOSTSCRIPT_FILE, program);
    addLine(found.typedExists ? IDS_RUNS_GHOSTSCRIPT : IDS_GHOSTSCRIPT_MISSING, {program});
  } else if (found.ghostscript) {
    programForCommand(found.ghostscriptPath, program);
    addLine(IDS_RUNS_GHOSTSCRIPT, {program});
  } else {
    addLine(IDS_GHOSTSCRIPT_NOT_FOUND, {});
    addPlaces(ghostscriptPlacesLooked());
  }
  showPdfSwitches(page);
}

}  // namespace

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

// The record's program field as the DVIPS Options page last stored it, and the Ghostscript edit
// as it stands. The lookups run again only when the program field has changed since; an edit
// that changes while the thread runs is looked at once it has ended.
void showProgramsThatWillRun(HWND page) {
  // Read as the page stores it: wide, without a file manager's quotes.
  ZERO_FILLED static wchar_t edit[WIDE_PATH_SIZE];
  if (GetDlgItemTextW(page, IDC_GHOSTSCRIPT_FILE, edit, WIDE_PATH_SIZE) == 0) edit[0] = L'\0';
  const wchar_t* const typed = unquotedPath(edit);
  if (lookupThread == nullptr && (!lookedUp || lstrcmpA(found.program, options.programFile) != 0 ||
                                  lstrcmpW(found.typed, typed) != 0))
    startLookup(page, typed);
  if (!lookupEnded(A_MOMENT_MS)) {
    copyText(programsText, loadResourceString(IDS_LOOKING_FOR_PROGRAMS));
    showPdfSwitches(page);
    return;
  }
  showFound(page);
}

void takeProgramsFound(HWND page) {
  // An answer that the page has already taken while it waited a moment comes too.
  if (lookupThread == nullptr || !lookupEnded(INFINITE)) return;
  showProgramsThatWillRun(page);
}

void endProgramLookup() { lookupEnded(INFINITE); }

void loadPdfPage(HWND page) {
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
