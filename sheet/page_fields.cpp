// Moving one field between the settings record and a page control, and reading numbers.
#include "base/error_box.h"
#include "base/strings.h"
#include "options/options.h"
#include "paths/path_rules.h"
#include "sheet/sheet.h"

void showNumber(HWND page, int controlId, std::int32_t value) {
  // 0 means "not given" and is never written back, so an invalid entry stays visible.
  if (value >= 1) SetDlgItemInt(page, controlId, static_cast<UINT>(value), TRUE);
}

void showChoice(HWND page, int firstId, int buttonCount, std::int8_t value) {
  CheckRadioButton(page, firstId, firstId + buttonCount - 1, firstId + value);
}

std::int8_t checkedChoice(HWND page, int firstId, int buttonCount) {
  std::int8_t value = 0;
  while (value < buttonCount && IsDlgButtonChecked(page, firstId + value) != BST_CHECKED) ++value;
  return value;
}

// An edit redraws itself whenever its text is set, even to the same text, and a page that becomes
// active again mostly finds its edits as it left them: only a text that differs is set. A field's
// text is shorter than PATH_FIELD_SIZE, so an edit of the same length is read whole.
void showText(HWND page, int controlId, const char* text) {
  const HWND control = GetDlgItem(page, controlId);
  const int length = lstrlenA(text);
  char shown[PATH_FIELD_SIZE];
  if (GetWindowTextLengthA(control) == length &&
      GetWindowTextA(control, shown, static_cast<int>(PATH_FIELD_SIZE)) == length &&
      lstrcmpA(shown, text) == 0)
    return;
  SetWindowTextA(control, text);
}

// The lists are rebuilt at every activation from a run of strings that ends at the first
// empty one, so they never accumulate.
void fillList(HWND page, int comboId, int firstString) {
  const HWND combo = GetDlgItem(page, comboId);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (int id = firstString;; ++id) {
    const char* item = loadResourceString(id);
    if (item[0] == '\0') break;
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
}

void showChecked(HWND page, int controlId, std::int32_t flag) {
  CheckDlgButton(page, controlId, flag != 0 ? BST_CHECKED : BST_UNCHECKED);
}

std::int32_t isChecked(HWND page, int controlId) {
  return IsDlgButtonChecked(page, controlId) == BST_CHECKED ? 1 : 0;
}

namespace {

// Room for the longest text the system handles; a longer one is cut anyway.
ZERO_FILLED char longText[WIDE_PATH_SIZE];
ZERO_FILLED wchar_t longPath[WIDE_PATH_SIZE];

}  // namespace

// The edit's own cut would stop inside a two-byte character; copyText stops before it.
void storeText(HWND page, int controlId, char* field, std::size_t fieldSize) {
  if (GetDlgItemTextA(page, controlId, longText, sizeof longText) == 0) longText[0] = '\0';
  copyText(field, fieldSize, longText);
}

bool storePathText(HWND page, int controlId, char* field, std::size_t fieldSize) {
  if (GetDlgItemTextW(page, controlId, longPath, WIDE_PATH_SIZE) == 0) longPath[0] = L'\0';
  const wchar_t* const name = unquotedPath(longPath);
  const std::uint32_t error = widePathToField(name, field, fieldSize);
  if (error == 0) return true;
  reportPathError(error, name);
  // The page stays, with the name ready to be corrected.
  const HWND edit = GetDlgItem(page, controlId);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  return false;
}

bool pathForField(const wchar_t* path, char (&field)[PATH_FIELD_SIZE]) {
  const std::uint32_t error = widePathToField(path, field);
  if (error != 0) reportPathError(error, path);
  return error == 0;
}

void readPageNumber(HWND page, int controlId, std::int32_t* destination, std::int32_t lowerBound) {
  BOOL converted = FALSE;
  *destination = static_cast<std::int32_t>(GetDlgItemInt(page, controlId, &converted, TRUE));
  if (!converted || *destination < lowerBound) *destination = lowerBound - 1;
}
