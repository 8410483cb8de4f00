// The confirmation dialog: the composed command, editable, run on OK.
#include <windows.h>

#include <cstdlib>

#include "base/error_box.h"
#include "base/instance.h"
#include "base/window_icons.h"
#include "command/command_line.h"
#include "exec/exec.h"
#include "help/help.h"
#include "options/options.h"
#include "resources/resource.h"

namespace {

BOOL answer(HWND dialog, LRESULT result) {
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

BOOL onInitDialog(HWND dialog) {
  setWindowIcons(dialog);
  SetDlgItemTextA(dialog, IDC_COMMAND_EDIT, commandLine);
  return FALSE;
}

// The edited text replaces the command; the block grows when the text would not fit.
INT_PTR takeEditedCommand(HWND dialog) {
  const int needed = GetWindowTextLengthA(GetDlgItem(dialog, IDC_COMMAND_EDIT)) + 1;
  if (needed > commandCapacity) {
    void* grown = std::realloc(commandLine, static_cast<std::size_t>(needed));
    if (grown == nullptr) return 0;
    commandLine = static_cast<char*>(grown);
    commandCapacity = needed;
  }
  if (GetDlgItemTextA(dialog, IDC_COMMAND_EDIT, commandLine, needed) == 0) commandLine[0] = '\0';
  return 1;
}

void onCommand(HWND dialog, int controlId) {
  switch (controlId) {
    case IDOK: EndDialog(dialog, takeEditedCommand(dialog)); break;
    case IDCANCEL: EndDialog(dialog, 0); break;
    case IDC_CONFIRM_HELP: showHelpTopic(HELP_TOPIC_CONFIRM); break;
    default: break;
  }
}

INT_PTR CALLBACK confirmDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return onInitDialog(dialog);
    case WM_COMMAND: onCommand(dialog, LOWORD(wParam)); return answer(dialog, 0);
    case WM_HELP:
    case WM_CONTEXTMENU:
      showHelpForMessage(dialog, message, wParam, lParam);
      return answer(dialog, 0);
    default: return FALSE;
  }
}

}  // namespace

int confirmCommandLine() {
  if (!options.showCommandLine) return 1;
  const INT_PTR result =
      DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_CONFIRM), nullptr, confirmDialogProc, 0);
  // The user asked to review the command: a dialog that cannot open must not run it unseen.
  if (result == -1) {
    reportSystemError(0);
    return 0;
  }
  return static_cast<int>(result);
}
