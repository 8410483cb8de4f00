// The Options sheet: its frame, the page protocol and the helpers the pages share.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstddef>
#include <cstdint>

#include "options/options.h"

extern HWND iconWindow;

// The sheet's window: a page's dialog opening and timers (the icons, once the sheet has painted),
// and the callback that takes the sheet's frame (its place on the pointer's monitor, dropped
// files).
void onInitDialog(HWND page);
void onTimer(HWND page, UINT_PTR timer);
int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM);

// What OK does before the sheet closes: 0 to let it close; else the id of a control, on whose page
// the sheet stays open for the user to mend what the action found.
using OkAction = int (*)();

// Positive after OK, 0 after Cancel or a failure that has been reported.
INT_PTR runOptionsSheet(OkAction onOk);
INT_PTR CALLBACK pageDialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
void pageCommand(HWND page, int controlId);
void loadPageControls(HWND page);
// False when the page keeps the user on it: a path that no form fits, which the error box named.
bool storePageControls(HWND page);
// Names the page's inputs that no label names (once the page has painted) and lets the dialog
// keys leave its read-only text; onNamesTimer takes the page's timers.
void prepareForAssistance(HWND page);
void onNamesTimer(HWND page, UINT_PTR timer);
// Makes the sheet take files dropped on it: the first DVI file among them becomes the DVI file.
void acceptDroppedFiles(HWND sheet);
void takeDroppedFiles(HWND sheet, HDROP drop);

// Lets the user pick a file for the edit paired with the button (its id + 1); a name that no
// field can hold leaves the edit as it was and shows why.
void browseForFile(HWND page, int buttonId, const wchar_t* filters,
                   const wchar_t* defaultExtension);
// Stores a number of at least lowerBound, or lowerBound - 1 for anything else.
void readPageNumber(HWND page, int controlId, std::int32_t* destination, std::int32_t lowerBound);

// Each page's halves of the protocol; a store is false when the page must not be left.
void loadFilesPage(HWND page);
bool storeFilesPage(HWND page);
void loadRangePage(HWND page);
bool storeRangePage(HWND page);
void loadStylePage(HWND page);
bool storeStylePage(HWND page);
void loadDvipsPage(HWND page);
bool storeDvipsPage(HWND page);
void loadPdfPage(HWND page);
bool storePdfPage(HWND page);
// Says on the PDF page which dvips and which Ghostscript a run would start, or where Corvane
// looked for them, and the switches that the page's choices add to Ghostscript's command; while
// the lookup runs, that it is looking.
void showProgramsThatWillRun(HWND page);
// Shows the switches of the purpose and transparency as the page's controls stand, above the
// programs' lines of the last showProgramsThatWillRun.
void showPdfSwitches(HWND page);
// Posted to the PDF page when its lookup has ended; takeProgramsFound shows the answer.
constexpr UINT WM_PROGRAMS_FOUND = WM_APP + 1;
void takeProgramsFound(HWND page);
// Waits for a lookup that the PDF page started, before a command is composed with the same
// lookups.
void endProgramLookup();

// Moving single fields between the record and the controls.
void showNumber(HWND page, int controlId, std::int32_t value);
void showChoice(HWND page, int firstId, int buttonCount, std::int8_t value);
std::int8_t checkedChoice(HWND page, int firstId, int buttonCount);
// Fills a combo box's list with the string table's texts from firstString to the first empty one.
void fillList(HWND page, int comboId, int firstString);
// Sets a control's text from a field of the record.
void showText(HWND page, int controlId, const char* text);
void showChecked(HWND page, int controlId, std::int32_t flag);
std::int32_t isChecked(HWND page, int controlId);
void storeText(HWND page, int controlId, char* field, std::size_t fieldSize);
// A path edit, read in wide characters, goes in as a chosen path does (pathForField), without the
// quotes of a path copied from a file manager; false, once the error box has named it and the
// edit has the focus, when no form of it fits.
bool storePathText(HWND page, int controlId, char* field, std::size_t fieldSize);
// A chosen or dropped path in the form that a path field can hold; false, once the error box has
// said why, when it has none.
bool pathForField(const wchar_t* path, char (&field)[PATH_FIELD_SIZE]);

template <std::size_t N>
void storeText(HWND page, int controlId, char (&field)[N]) {
  storeText(page, controlId, field, N);
}
template <std::size_t N>
bool storePathText(HWND page, int controlId, char (&field)[N]) {
  return storePathText(page, controlId, field, N);
}
