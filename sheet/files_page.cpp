// The Files page: the DVI file, the PostScript file and the two output switches.
#include "options/options.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

void loadFilesPage(HWND page) {
  currentPageIndex = 0;
  SetDlgItemTextA(page, IDC_DVI_FILE, options.dviFile);
  SetDlgItemTextA(page, IDC_PS_FILE, options.psFile);
  CheckDlgButton(page, IDC_ENCAPSULATED, options.encapsulated ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(page, IDC_USE_DVI_DIRECTORY,
                 options.useDviDirectory ? BST_CHECKED : BST_UNCHECKED);
}

void storeFilesPage(HWND page) {
  storePathText(page, IDC_DVI_FILE, options.dviFile);
  storePathText(page, IDC_PS_FILE, options.psFile);
  options.encapsulated = isChecked(page, IDC_ENCAPSULATED);
  options.useDviDirectory = isChecked(page, IDC_USE_DVI_DIRECTORY);
}
