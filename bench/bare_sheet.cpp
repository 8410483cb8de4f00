// The yardstick for start-up time: a property sheet with four empty pages and nothing else.
#include <windows.h>

#include <commctrl.h>

namespace {

INT_PTR CALLBACK emptyPage(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitCommonControls();
  static const char* const titles[] = {"One", "Two", "Three", "Four"};
  PROPSHEETPAGEA pages[4] = {};
  for (int i = 0; i < 4; ++i) {
    pages[i].dwSize = sizeof pages[i];
    pages[i].dwFlags = PSP_USETITLE;
    pages[i].hInstance = instance;
    pages[i].pszTemplate = MAKEINTRESOURCEA(100 + i);
    pages[i].pszTitle = titles[i];
    pages[i].pfnDlgProc = emptyPage;
  }
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
  header.hInstance = instance;
  header.pszCaption = "Bare sheet";
  header.nPages = 4;
  header.ppsp = pages;
  PropertySheetA(&header);
  return 0;
}
