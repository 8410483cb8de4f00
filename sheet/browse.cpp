// The common open and save dialogs behind the browse buttons.
#include <windows.h>

#include <commdlg.h>

#include "resources/resource.h"
#include "sheet/sheet.h"

static_assert(sizeof(OPENFILENAMEA) == 88);

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
  BOOL chosen = FALSE;
  if (editId == IDC_PS_FILE) {
    dialog.Flags |= OFN_OVERWRITEPROMPT;
    chosen = GetSaveFileNameA(&dialog);
  } else {
    chosen = GetOpenFileNameA(&dialog);
  }
  if (chosen) SetDlgItemTextA(page, editId, path);
}
