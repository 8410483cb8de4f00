// The common open and save dialogs behind the browse buttons.
#include <windows.h>

#include <commdlg.h>

#include "resources/resource.h"
#include "sheet/sheet.h"

static_assert(sizeof(OPENFILENAMEA) == 88);

namespace {

using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);

// The common dialogs library and what it loads with it are bound on the first browse, not at
// start-up, so that the sheet opens as fast as a bare one; most runs never browse.
FileDialogFunction fileDialog(const char* name) {
  static HMODULE library = nullptr;
  if (library == nullptr) library = LoadLibraryA("comdlg32.dll");
  if (library == nullptr) return nullptr;
  return reinterpret_cast<FileDialogFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

void browseForFile(HWND page, int buttonId, const char* filters, const char* defaultExtension) {
  const int editId = buttonId + 1;
  // The edit's text is the initial name, so the dialog opens in that file's folder.
  char path[MAX_PATH];
  if (GetDlgItemTextA(page, editId, path, sizeof path) == 0) path[0] = '\0';
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = page;
  dialog.lpstrFilter = filters;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  dialog.lpstrDefExt = defaultExtension;
  const bool saving = editId == IDC_PS_FILE;
  if (saving) dialog.Flags |= OFN_OVERWRITEPROMPT;
  const FileDialogFunction show = fileDialog(saving ? "GetSaveFileNameA" : "GetOpenFileNameA");
  if (show != nullptr && show(&dialog)) SetDlgItemTextA(page, editId, path);
}
