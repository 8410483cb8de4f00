// Every help request goes through HtmlHelpA, bound from the system's hhctrl.ocx on the first
// request.
#include "help/help.h"

#include "base/library_search.h"
#include "help/help_path.h"

DWORD helpIdPairs[4];

namespace {

constexpr UINT HH_HELP_CONTEXT = 0x0F;
constexpr UINT HH_TP_HELP_CONTEXTMENU = 0x10;
constexpr UINT HH_TP_HELP_WM_HELP = 0x11;

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// A missing library or entry leaves help unavailable for this request only; the next request
// tries again, in case the library has been put back.
HtmlHelpFunction htmlHelp() {
  static HtmlHelpFunction bound = nullptr;
  if (bound != nullptr) return bound;
  // hhctrl.ocx is no known DLL: only the system's copy is taken. A copy without the entry is let
  // go, so that the next request loads it afresh.
  const HMODULE library = loadSystemLibrary("hhctrl.ocx");
  if (library == nullptr) return nullptr;
  bound = reinterpret_cast<HtmlHelpFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpA")));
  if (bound == nullptr) FreeLibrary(library);
  return bound;
}

bool isUnnamedControl(int id) { return id == -1 || id == 0xFFFF; }

}  // namespace

void showHelpTopic(DWORD topic) {
  if (HtmlHelpFunction call = htmlHelp()) call(nullptr, helpFilePath, HH_HELP_CONTEXT, topic);
}

void showContextHelp(HWND control, HWND dialog, UINT kind) {
  HtmlHelpFunction call = htmlHelp();
  if (call == nullptr) return;
  // A label or group box without an id stands for the next tab-stop control; a dialog with
  // none would lead the search round in a circle, which ends where it began.
  const HWND start = control;
  int id = GetDlgCtrlID(control);
  while (isUnnamedControl(id)) {
    const HWND next = GetNextDlgTabItem(dialog, control, FALSE);
    if (next == nullptr || next == start) {
      control = start;
      id = GetDlgCtrlID(start);
      break;
    }
    control = next;
    id = GetDlgCtrlID(control);
  }
  helpIdPairs[0] = static_cast<DWORD>(id);
  helpIdPairs[1] = static_cast<DWORD>(id);
  const UINT command = kind == HELP_WM_HELP ? HH_TP_HELP_WM_HELP : HH_TP_HELP_CONTEXTMENU;
  call(control, helpFilePath, command, reinterpret_cast<DWORD_PTR>(helpIdPairs));
}

void showHelpForMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HELP) {
    const auto control = static_cast<HWND>(reinterpret_cast<const HELPINFO*>(lParam)->hItemHandle);
    showContextHelp(control, GetParent(control), HELP_WM_HELP);
  } else {
    showContextHelp(reinterpret_cast<HWND>(wParam), dialog, HELP_CONTEXTMENU);
  }
}
