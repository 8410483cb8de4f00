// The common open and save dialogs behind the browse buttons.
#include <windows.h>

#include <commdlg.h>

#include "base/library_search.h"
#include "options/options.h"
#include "paths/path_rules.h"
#include "paths/start_folder.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

static_assert(sizeof(OPENFILENAMEW) == 88);

namespace {

using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);

// The common dialogs library and what it loads with it are bound on the first browse, not at
// start-up, so that the sheet opens as fast as a bare one; most runs never browse.
FileDialogFunction fileDialog(const char* name) {
  return systemFunction<FileDialogFunction>("comdlg32.dll", name);
}

// The wide dialogs give back a name outside the ANSI code page, or longer than a field, as it
// is, and widePathToField finds the form of it that a field can hold.
ZERO_FILLED wchar_t chosenPath[WIDE_PATH_SIZE];

}  // namespace

void browseForFile(HWND page, int buttonId, const wchar_t* filters,
                   const wchar_t* defaultExtension) {
  const int editId = buttonId + 1;
  // The edit's text is the initial name, so the dialog opens in that file's folder.
  if (GetDlgItemTextW(page, editId, chosenPath, MAX_PATH) == 0) chosenPath[0] = L'\0';
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = page;
  dialog.lpstrFilter = filters;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = chosenPath;
  dialog.nMaxFile = WIDE_PATH_SIZE;
  dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  dialog.lpstrDefExt = defaultExtension;
  const bool saving = editId == IDC_PS_FILE;
  if (saving) dialog.Flags |= OFN_OVERWRITEPROMPT;
  const FileDialogFunction show = fileDialog(saving ? "GetSaveFileNameW" : "GetOpenFileNameW");
  const bool chosen = show != nullptr && show(&dialog);
  returnToStartFolder();
  if (!chosen) return;
  char field[PATH_FIELD_SIZE];
  if (pathForField(chosenPath, field)) SetDlgItemTextA(page, editId, field);
}
