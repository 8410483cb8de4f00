// The Page Style page: paper, magnification, orientation, offset and resolutions.
#include "options/options.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

void loadStylePage(HWND page) {
  fillList(page, IDC_PAPER_TYPE, IDS_FIRST_PAPER_TYPE);
  showText(page, IDC_PAPER_TYPE, options.paperType);
  fillList(page, IDC_MAGNIFICATION, IDS_FIRST_MAGNIFICATION);
  showNumber(page, IDC_MAGNIFICATION, options.magnification);
  showChecked(page, IDC_LANDSCAPE, options.landscape);
  showChecked(page, IDC_MULTIPLY_DVI_MAG, options.multiplyDviMag);
  showChecked(page, IDC_MANUAL_FEED, options.manualFeed);
  showText(page, IDC_OFFSET, options.offset);
  showText(page, IDC_PAPER_SIZE, options.paperSize);
  showNumber(page, IDC_RESOLUTION, options.resolution);
  showNumber(page, IDC_HORIZONTAL_RESOLUTION, options.horizontalResolution);
  showNumber(page, IDC_VERTICAL_RESOLUTION, options.verticalResolution);
}

bool storeStylePage(HWND page) {
  storeText(page, IDC_PAPER_TYPE, options.paperType);
  readPageNumber(page, IDC_MAGNIFICATION, &options.magnification, 1);
  options.landscape = isChecked(page, IDC_LANDSCAPE);
  options.multiplyDviMag = isChecked(page, IDC_MULTIPLY_DVI_MAG);
  options.manualFeed = isChecked(page, IDC_MANUAL_FEED);
  storeText(page, IDC_OFFSET, options.offset);
  storeText(page, IDC_PAPER_SIZE, options.paperSize);
  readPageNumber(page, IDC_RESOLUTION, &options.resolution, 1);
  readPageNumber(page, IDC_HORIZONTAL_RESOLUTION, &options.horizontalResolution, 1);
  readPageNumber(page, IDC_VERTICAL_RESOLUTION, &options.verticalResolution, 1);
  return true;
}
