// The Page Range page: which pages, how many copies, in which order.
#include "options/options.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

void loadRangePage(HWND page) {
  showText(page, IDC_PAGE_RANGES, options.pageRanges);
  showNumber(page, IDC_FIRST_PAGE, options.firstPage);
  showNumber(page, IDC_LAST_PAGE, options.lastPage);
  showChecked(page, IDC_USE_TEX_NUMBERS, options.useTexNumbers);
  showChoice(page, IDC_ALL_PAGES, PAGE_PARITY_BUTTONS, options.pageParity);
  showNumber(page, IDC_COPIES, options.copies);
  showChoice(page, IDC_COLLATED, COPY_MODE_BUTTONS, options.copyMode);
  showChecked(page, IDC_REVERSE_ORDER, options.reverseOrder);
}

bool storeRangePage(HWND page) {
  storeText(page, IDC_PAGE_RANGES, options.pageRanges);
  readPageNumber(page, IDC_FIRST_PAGE, &options.firstPage, 1);
  readPageNumber(page, IDC_LAST_PAGE, &options.lastPage, 1);
  options.useTexNumbers = isChecked(page, IDC_USE_TEX_NUMBERS);
  options.pageParity = checkedChoice(page, IDC_ALL_PAGES, PAGE_PARITY_BUTTONS);
  readPageNumber(page, IDC_COPIES, &options.copies, 1);
  options.copyMode = checkedChoice(page, IDC_COLLATED, COPY_MODE_BUTTONS);
  options.reverseOrder = isChecked(page, IDC_REVERSE_ORDER);
  return true;
}
