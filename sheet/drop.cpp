// Files dropped on the sheet: the first DVI file among them, or the first file, becomes the DVI
// file. The sheet takes drops through its window style; the shell's drop functions are bound on
// the first drop, so that starting the program never loads the shell.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "options/options.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

namespace {

using DragQueryFileFunction = UINT(WINAPI*)(HDROP, UINT, LPSTR, UINT);
using DragFinishFunction = void(WINAPI*)(HDROP);

DragQueryFileFunction dragQueryFile = nullptr;
DragFinishFunction dragFinish = nullptr;
char droppedName[MAX_PATH];

bool bindDropFunctions() {
  if (dragQueryFile != nullptr) return true;
  const HMODULE shell = LoadLibraryA("shell32.dll");
  if (shell == nullptr) return false;
  dragQueryFile = reinterpret_cast<DragQueryFileFunction>(
      reinterpret_cast<void*>(GetProcAddress(shell, "DragQueryFileA")));
  dragFinish = reinterpret_cast<DragFinishFunction>(
      reinterpret_cast<void*>(GetProcAddress(shell, "DragFinish")));
  if (dragQueryFile != nullptr && dragFinish != nullptr) return true;
  dragQueryFile = nullptr;
  FreeLibrary(shell);
  return false;
}

bool hasDviExtension(const char* name) {
  const int length = lstrlenA(name);
  if (length < 4) return false;
  const char* extension = name + length - 4;
  // Letters only are folded, so that no code page can make another character match.
  return extension[0] == '.' && (extension[1] | 0x20) == 'd' && (extension[2] | 0x20) == 'v' &&
         (extension[3] | 0x20) == 'i';
}

// The one point where a dropped name enters the sheet. The active Files page shows it at once and
// the record takes it when the page is stored, so that what the user typed in the page's other
// controls stays; on any other page the record takes it now, and the Files page shows it when it
// next becomes active.
void takeDroppedDviFile(HWND sheet, const char* name) {
  const HWND page = PropSheet_GetCurrentPageHwnd(sheet);
  if (page != nullptr && GetDlgItem(page, IDC_DVI_FILE) != nullptr)
    SetDlgItemTextA(page, IDC_DVI_FILE, name);
  else
    copyText(options.dviFile, name);
}

void onDropFiles(HWND sheet, HDROP drop) {
  if (!bindDropFunctions()) return;
  const UINT count = dragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
  UINT chosen = 0;
  for (UINT index = 0; index < count; ++index) {
    dragQueryFile(drop, index, droppedName, sizeof droppedName);
    if (hasDviExtension(droppedName)) {
      chosen = index;
      break;
    }
  }
  if (count > 0 && dragQueryFile(drop, chosen, droppedName, sizeof droppedName) > 0)
    takeDroppedDviFile(sheet, droppedName);
  dragFinish(drop);
}

LRESULT CALLBACK sheetSubclassProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR subclassId, DWORD_PTR) {
  switch (message) {
    case WM_DROPFILES: onDropFiles(sheet, reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_NCDESTROY: RemoveWindowSubclass(sheet, sheetSubclassProc, subclassId); break;
    default: break;
  }
  return DefSubclassProc(sheet, message, wParam, lParam);
}

}  // namespace

// Drops over the pages and their controls reach the sheet too: the system gives them to the
// nearest window up the parent chain that accepts files.
void acceptDroppedFiles(HWND sheet) {
  SetWindowLongPtrA(sheet, GWL_EXSTYLE, GetWindowLongPtrA(sheet, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
  SetWindowSubclass(sheet, sheetSubclassProc, 0, 0);
}
