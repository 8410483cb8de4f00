// The sheet's window: its icons, given once it has painted, and its place on the screen.
#include <windows.h>

#include <commctrl.h>

#include "base/instance.h"
#include "base/window_icons.h"
#include "resources/resource.h"
#include "sheet/sheet.h"

HWND iconWindow = nullptr;

namespace {

// The page that is given the icons, and the sheet, get them once the sheet has painted: nothing
// on the screen shows a page's icons (a page is a child window; the sheet's title bar has the
// header's icon until then), and loading them, with the small copy of the large one that the system
// makes when the large one comes first, was among the largest costs of opening the sheet. A timer's
// message comes only when no window of the thread is left to paint.
constexpr UINT_PTR ICON_TIMER = 1;

// The taskbar and Alt+Tab show the sheet's large icon, which the sheet itself never sets (it sets
// only the small one, from the header), and would show a blank window without it. The small one
// is loaded again at the size that the title bar draws, so that no larger image is shrunk into it
// at a resolution above 96 DPI.
void giveSheetItsIcons(HWND sheet) {
  const auto load = [](int width, int height) {
    return reinterpret_cast<LPARAM>(LoadImageA(appInstance, MAKEINTRESOURCEA(IDI_LARGE), IMAGE_ICON,
                                               GetSystemMetrics(width), GetSystemMetrics(height),
                                               LR_DEFAULTCOLOR));
  };
  SendMessageA(sheet, WM_SETICON, ICON_BIG, load(SM_CXICON, SM_CYICON));
  SendMessageA(sheet, WM_SETICON, ICON_SMALL, load(SM_CXSMICON, SM_CYSMICON));
}

void giveIcons(HWND page) {
  setWindowIcons(page);
  giveSheetItsIcons(GetParent(page));
}

}  // namespace

void onInitDialog(HWND page) {
  prepareForAssistance(page);
  if (iconWindow != nullptr && IsWindow(iconWindow)) return;
  iconWindow = page;
  if (SetTimer(page, ICON_TIMER, USER_TIMER_MINIMUM, nullptr) == 0) giveIcons(page);
}

void onTimer(HWND page, UINT_PTR timer) {
  onNamesTimer(page, timer);
  if (timer != ICON_TIMER) return;
  KillTimer(page, ICON_TIMER);
  giveIcons(page);
}

namespace {

// With no owner to be centred on, the sheet would open in the screen's corner every time. It opens
// in the middle of the work area of the monitor that holds the mouse pointer, where the user has
// just started it; one larger than the work area keeps its title bar inside. The place is put
// into the move that shows the sheet, so that opening it costs no move of its own.
void centreOnPointersMonitor(HWND sheet, WINDOWPOS* show) {
  POINT pointer = {0, 0};
  GetCursorPos(&pointer);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  RECT frame;
  if (!GetMonitorInfoA(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor) ||
      !GetWindowRect(sheet, &frame))
    return;
  const int width = (show->flags & SWP_NOSIZE) ? frame.right - frame.left : show->cx;
  const int height = (show->flags & SWP_NOSIZE) ? frame.bottom - frame.top : show->cy;
  const RECT& work = monitor.rcWork;
  const int left = work.left + (work.right - work.left - width) / 2;
  const int top = work.top + (work.bottom - work.top - height) / 2;
  show->x = left > work.left ? left : work.left;
  show->y = top > work.top ? top : work.top;
  show->flags &= ~static_cast<UINT>(SWP_NOMOVE);
}

// The sheet's own window procedure, which every message goes on to.
WNDPROC sheetProcedure = nullptr;

// The sheet's procedure is replaced rather than subclassed with SetWindowSubclass, which looks up
// a window property for every message that the sheet receives: under Wine each lookup is a call
// to the server, some fifty of them before the sheet is first shown. The program is the sheet's
// only subclasser, and the sheet is made by PropertySheetA, so an ANSI procedure takes its place.
LRESULT CALLBACK sheetFrameProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WINDOWPOSCHANGING) {
    auto* const position = reinterpret_cast<WINDOWPOS*>(lParam);
    if ((position->flags & SWP_SHOWWINDOW) != 0 && !IsWindowVisible(sheet))
      centreOnPointersMonitor(sheet, position);
  } else if (message == WM_DROPFILES) {
    takeDroppedFiles(sheet, reinterpret_cast<HDROP>(wParam));
    return 0;
  }
  return CallWindowProcA(sheetProcedure, sheet, message, wParam, lParam);
}

}  // namespace

int CALLBACK sheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED) {
    sheetProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(sheet, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sheetFrameProc)));
    acceptDroppedFiles(sheet);
  }
  return 0;
}
