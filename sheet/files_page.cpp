// The Files page: the DVI file, the PostScript file and the two output switches.
#include "options/options.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

void loadFilesPage(HWND page) {
  showText(page, IDC_DVI_FILE, options.dviFile);
  showText(page, IDC_PS_FILE, options.psFile);
  showChecked(page, IDC_ENCAPSULATED, options.encapsulated);
  showChecked(page, IDC_USE_DVI_DIRECTORY, options.useDviDirectory);
}

bool storeFilesPage(HWND page) {
  if (!storePathText(page, IDC_DVI_FILE, options.dviFile)) return false;
  if (!storePathText(page, IDC_PS_FILE, options.psFile)) return false;
  options.encapsulated = isChecked(page, IDC_ENCAPSULATED);
  options.useDviDirectory = isChecked(page, IDC_USE_DVI_DIRECTORY);
  return true;
}
