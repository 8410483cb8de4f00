// Files dropped on the sheet: the first DVI file among them, or the first file, becomes the DVI
// file. The sheet takes drops through its window style; the shell's drop functions are bound on
// the first drop, so that starting the program never loads the shell.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "base/library_search.h"
#include "base/text.h"
#include "options/options.h"
#include "paths/path_rules.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

namespace {

using DragQueryFileFunction = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
using DragFinishFunction = void(WINAPI*)(HDROP);

DragQueryFileFunction dragQueryFile = nullptr;
DragFinishFunction dragFinish = nullptr;
// Dropped names come in wide characters and at any length; widePathToField finds the form of
// the name that the DVI field can hold.
ZERO_FILLED wchar_t droppedName[WIDE_PATH_SIZE];

bool bindDropFunctions() {
  if (dragQueryFile != nullptr) return true;
  dragQueryFile = systemFunction<DragQueryFileFunction>("shell32.dll", "DragQueryFileW");
  dragFinish = systemFunction<DragFinishFunction>("shell32.dll", "DragFinish");
  if (dragQueryFile != nullptr && dragFinish != nullptr) return true;
  dragQueryFile = nullptr;
  return false;
}

bool hasDviExtension(const wchar_t* name) {
  const int length = lstrlenW(name);
  if (length < 4) return false;
  return equalsIgnoringAsciiCase(name + length - 4, L".dvi");
}

// The one point where a dropped name enters the sheet, in the form that the field can hold; a
// name with no such form changes nothing and the error box says why. The active Files page shows
// it at once and the record takes it when the page is stored, so that what the user typed in the
// page's other controls stays; on any other page the record takes it now, and the Files page
// shows it when it next becomes active.
void takeDroppedDviFile(HWND sheet, const wchar_t* name) {
  char field[PATH_FIELD_SIZE];
  if (!pathForField(name, field)) return;
  const HWND page = PropSheet_GetCurrentPageHwnd(sheet);
  if (page != nullptr && GetDlgItem(page, IDC_DVI_FILE) != nullptr)
    SetDlgItemTextA(page, IDC_DVI_FILE, field);
  else
    copyText(options.dviFile, field);
}

}  // namespace

void takeDroppedFiles(HWND sheet, HDROP drop) {
  if (!bindDropFunctions()) return;
  const UINT count = dragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
  bool named = false;
  for (UINT index = 0; index < count && !named; ++index)
    named =
        dragQueryFile(drop, index, droppedName, WIDE_PATH_SIZE) > 0 && hasDviExtension(droppedName);
  if (!named) named = count > 0 && dragQueryFile(drop, 0, droppedName, WIDE_PATH_SIZE) > 0;
  // The block is released before a possible error box, which would hold it while it waits.
  dragFinish(drop);
  if (named) takeDroppedDviFile(sheet, droppedName);
}

// Drops over the pages and their controls reach the sheet too: the system gives them to the
// nearest window up the parent chain that accepts files.
void acceptDroppedFiles(HWND sheet) {
  SetWindowLongPtrA(sheet, GWL_EXSTYLE, GetWindowLongPtrA(sheet, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}
