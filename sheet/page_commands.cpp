// Commands from page controls: the four browse buttons, "Save options now!", and the PDF page's
// choices, whose switches its text shows.
#include "options/options.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

namespace {

// Lists of description and pattern pairs, each terminated, ended by an empty text.
constexpr wchar_t DVI_FILTERS[] = L"DVI files (*.dvi)\0*.dvi\0All files (*.*)\0*.*\0";
constexpr wchar_t POSTSCRIPT_FILTERS[] =
    L"PostScript files (*.ps;*.eps)\0*.ps;*.eps\0All files (*.*)\0*.*\0";
constexpr wchar_t PROGRAM_FILTERS[] = L"Program files (*.exe)\0*.exe\0All files (*.*)\0*.*\0";

}  // namespace

void pageCommand(HWND page, int controlId) {
  switch (controlId) {
    case IDC_DVI_BROWSE: browseForFile(page, IDC_DVI_BROWSE, DVI_FILTERS, L"dvi"); break;
    case IDC_PS_BROWSE: browseForFile(page, IDC_PS_BROWSE, POSTSCRIPT_FILTERS, L"ps"); break;
    case IDC_PROGRAM_BROWSE:
      browseForFile(page, IDC_PROGRAM_BROWSE, PROGRAM_FILTERS, L"exe");
      break;
    case IDC_GHOSTSCRIPT_BROWSE:
      browseForFile(page, IDC_GHOSTSCRIPT_BROWSE, PROGRAM_FILTERS, L"exe");
      showProgramsThatWillRun(page);
      break;
    case IDC_GHOSTSCRIPT_FILE: showProgramsThatWillRun(page); break;
    case IDC_PDF_PURPOSE:
    case IDC_ALLOW_TRANSPARENCY: showPdfSwitches(page); break;
    case IDC_SAVE_OPTIONS:
      if (storeDvipsPage(page)) saveOptions();
      break;
    default: break;
  }
}
