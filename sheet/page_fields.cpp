// Moving one field between the settings record and a page control, and reading numbers.
#include "exec/exec.h"
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

void showChecked(HWND page, int controlId, std::int32_t flag) {
  CheckDlgButton(page, controlId, flag != 0 ? BST_CHECKED : BST_UNCHECKED);
}

std::int32_t isChecked(HWND page, int controlId) {
  return IsDlgButtonChecked(page, controlId) == BST_CHECKED ? 1 : 0;
}

void storeText(HWND page, int controlId, char* field, std::size_t fieldSize) {
  if (GetDlgItemTextA(page, controlId, field, static_cast<int>(fieldSize)) == 0) field[0] = '\0';
}

namespace {

// Room for the longest path the system handles; a longer text names no file and is cut anyway.
ZERO_FILLED char longText[WIDE_PATH_SIZE];

}  // namespace

void storePathText(HWND page, int controlId, char* field, std::size_t fieldSize) {
  if (GetDlgItemTextA(page, controlId, longText, sizeof longText) == 0) longText[0] = '\0';
  ansiPathToField(longText, field, fieldSize);
}

bool pathForField(const wchar_t* path, char (&field)[PATH_FIELD_SIZE]) {
  const std::uint32_t error = widePathToField(path, field);
  if (error != 0) reportSystemError(error);
  return error == 0;
}

void readPageNumber(HWND page, int controlId, std::int32_t* destination, std::int32_t lowerBound) {
  BOOL converted = FALSE;
  *destination = static_cast<std::int32_t>(GetDlgItemInt(page, controlId, &converted, TRUE));
  if (!converted || *destination < lowerBound) *destination = lowerBound - 1;
}
