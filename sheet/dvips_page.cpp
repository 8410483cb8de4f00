// The DVIPS Options page: the converter, its window, its switches, and saving the settings.
#include "options/options.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

void loadDvipsPage(HWND page) {
  showText(page, IDC_PROGRAM_FILE, options.programFile);
  showText(page, IDC_PRINTER, options.printer);
  showText(page, IDC_OTHER_OPTIONS, options.otherOptions);
  showChoice(page, IDC_CAPTURE, WINDOW_MODE_BUTTONS, options.windowMode);
  showChecked(page, IDC_QUIET, options.quiet);
  showChecked(page, IDC_CREATE_FONTS, options.createFonts);
  showChecked(page, IDC_SHOW_COMMAND_LINE, options.showCommandLine);
}

bool storeDvipsPage(HWND page) {
  if (!storePathText(page, IDC_PROGRAM_FILE, options.programFile)) return false;
  storeText(page, IDC_PRINTER, options.printer);
  storeText(page, IDC_OTHER_OPTIONS, options.otherOptions);
  options.windowMode = checkedChoice(page, IDC_CAPTURE, WINDOW_MODE_BUTTONS);
  options.createFonts = isChecked(page, IDC_CREATE_FONTS);
  options.quiet = isChecked(page, IDC_QUIET);
  options.showCommandLine = isChecked(page, IDC_SHOW_COMMAND_LINE);
  return true;
}
