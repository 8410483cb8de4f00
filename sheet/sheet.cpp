// The modal property sheet: its pages, the dialog procedure they share and the page protocol.
#include <windows.h>

#include <commctrl.h>

#include <array>

#include "base/error_box.h"
#include "base/instance.h"
#include "base/strings.h"
#include "help/help.h"
#include "options/options.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

namespace {

int currentPageIndex = 0;
OkAction okAction = nullptr;

// The sheet is given the full structures, header bitmap and watermark fields included. These
// headers stop at the third version of the page structure; the fourth adds the header bitmap.
struct PageDescriptor {
  PROPSHEETPAGEA page;
  HBITMAP headerBitmap;
};
static_assert(sizeof(PageDescriptor) == 56);
static_assert(sizeof(PROPSHEETHEADERA) == 52);

constexpr int MAX_PAGES = 6;
constexpr std::size_t TITLE_SIZE = 32;

ZERO_FILLED std::array<PageDescriptor, MAX_PAGES> pageDescriptors;
ZERO_FILLED char pageTitles[MAX_PAGES][TITLE_SIZE];
ZERO_FILLED PROPSHEETHEADERA sheetHeader;

// The page is known by a control that only it has; the order of the tests is the page order.
struct PageHalves {
  int identifyingControl;
  void (*load)(HWND);
  bool (*store)(HWND);
};
constexpr std::array<PageHalves, 5> pageHalves = {{
    {IDC_DVI_FILE, loadFilesPage, storeFilesPage},
    {IDC_FIRST_PAGE, loadRangePage, storeRangePage},
    {IDC_PAPER_TYPE, loadStylePage, storeStylePage},
    {IDC_PROGRAM_FILE, loadDvipsPage, storeDvipsPage},
    {IDC_MAKE_PDF, loadPdfPage, storePdfPage},
}};

const PageHalves* halvesOf(HWND page) {
  for (const PageHalves& halves : pageHalves)
    if (GetDlgItem(page, halves.identifyingControl) != nullptr) return &halves;
  return nullptr;
}

// OK is applied to every page that has been shown; the action runs once, for the page in front.
// When it finds something to mend, the sheet stays open on the page of the control that it names
// (control ids count the pages in thousands), with the focus there.
LRESULT onApply(HWND page) {
  const HWND sheet = GetParent(page);
  if (okAction == nullptr || page != PropSheet_GetCurrentPageHwnd(sheet)) return PSNRET_NOERROR;
  endProgramLookup();
  const int mendAt = okAction();
  if (mendAt == 0) return PSNRET_NOERROR;
  PropSheet_SetCurSel(sheet, nullptr, mendAt / 1000 - 1);
  const HWND control = GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), mendAt);
  if (control != nullptr)
    PostMessageA(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  return PSNRET_INVALID_NOCHANGEPAGE;
}

// TRUE to PSN_KILLACTIVE keeps the page, and with it the sheet on OK.
LRESULT onNotify(HWND page, const NMHDR* header) {
  switch (header->code) {
    case PSN_SETACTIVE: loadPageControls(page); break;
    case PSN_KILLACTIVE: return storePageControls(page) ? FALSE : TRUE;
    case PSN_APPLY: return onApply(page);
    case PSN_HELP:
      showHelpTopic(HELP_TOPIC_FIRST_PAGE + static_cast<DWORD>(currentPageIndex));
      break;
    default: break;
  }
  return 0;
}

BOOL answer(HWND page, LRESULT result) {
  SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace

// The page shown last is the one that Help asks about.
void loadPageControls(HWND page) {
  const PageHalves* halves = halvesOf(page);
  if (halves == nullptr) return;
  currentPageIndex = static_cast<int>(halves - pageHalves.data());
  halves->load(page);
}

bool storePageControls(HWND page) {
  const PageHalves* halves = halvesOf(page);
  return halves == nullptr || halves->store(page);
}

INT_PTR CALLBACK pageDialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: onInitDialog(page); return FALSE;
    case WM_NOTIFY: return answer(page, onNotify(page, reinterpret_cast<const NMHDR*>(lParam)));
    case WM_COMMAND: pageCommand(page, LOWORD(wParam)); return answer(page, 0);
    case WM_TIMER: onTimer(page, wParam); return answer(page, 0);
    case WM_PROGRAMS_FOUND: takeProgramsFound(page); return answer(page, 0);
    case WM_HELP:
    case WM_CONTEXTMENU: showHelpForMessage(page, message, wParam, lParam); return answer(page, 0);
    default: return FALSE;
  }
}

INT_PTR runOptionsSheet(OkAction onOk) {
  okAction = onOk;
  sheetHeader = {};
  int pageCount = 0;
  for (;; ++pageCount) {
    const char* title = loadResourceString(IDS_FIRST_PAGE_TITLE + pageCount);
    if (title[0] == '\0' || pageCount == MAX_PAGES) break;
    pageDescriptors[static_cast<std::size_t>(pageCount)] = {};
    PROPSHEETPAGEA& descriptor = pageDescriptors[static_cast<std::size_t>(pageCount)].page;
    descriptor.dwSize = sizeof(PageDescriptor);
    descriptor.dwFlags = PSP_USETITLE | PSP_HASHELP;
    descriptor.hInstance = appInstance;
    descriptor.pszTemplate = MAKEINTRESOURCEA(IDD_FILES_PAGE + pageCount);
    copyText(pageTitles[pageCount], title);
    descriptor.pszTitle = pageTitles[pageCount];
    descriptor.pfnDlgProc = pageDialogProc;
  }
  sheetHeader.dwSize = sizeof(PROPSHEETHEADERA);
  sheetHeader.dwFlags = PSH_PROPSHEETPAGE | PSH_USEICONID | PSH_NOAPPLYNOW | PSH_USECALLBACK;
  sheetHeader.hwndParent = nullptr;
  sheetHeader.hInstance = appInstance;
  sheetHeader.pszIcon = MAKEINTRESOURCEA(IDI_LARGE);
  sheetHeader.pszCaption = loadResourceString(IDS_SHEET_CAPTION);
  sheetHeader.nPages = static_cast<UINT>(pageCount);
  sheetHeader.nStartPage = 0;
  sheetHeader.ppsp = &pageDescriptors[0].page;
  sheetHeader.pfnCallback = sheetCallback;
  const INT_PTR result = PropertySheetA(&sheetHeader);
  if (result < 0) {
    reportSystemError(0);
    return 0;
  }
  if (result > 0) endProgramLookup();
  okAction = nullptr;
  return result;
}
