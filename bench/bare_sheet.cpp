// The yardstick for start-up time: a property sheet with one page for each page template that
// the program carries (ids from 100 on), and nothing else: the bare sheet's four empty ones, or
// Corvane's own.
#include <windows.h>

#include <commctrl.h>

namespace {

INT_PTR CALLBACK emptyPage(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

constexpr int MAX_PAGES = 8;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitCommonControls();
  static const char* const titles[MAX_PAGES] = {"One",  "Two", "Three", "Four",
                                                "Five", "Six", "Seven", "Eight"};
  PROPSHEETPAGEA pages[MAX_PAGES] = {};
  int count = 0;
  while (count < MAX_PAGES &&
         FindResourceA(instance, MAKEINTRESOURCEA(100 + count), RT_DIALOG) != nullptr) {
    pages[count].dwSize = sizeof pages[count];
    pages[count].dwFlags = PSP_USETITLE;
    pages[count].hInstance = instance;
    pages[count].pszTemplate = MAKEINTRESOURCEA(100 + count);
    pages[count].pszTitle = titles[count];
    pages[count].pfnDlgProc = emptyPage;
    ++count;
  }
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
  header.hInstance = instance;
  header.pszCaption = "Bare sheet";
  header.nPages = static_cast<UINT>(count);
  header.ppsp = pages;
  PropertySheetA(&header);
  return 0;
}
