// A message hook that the icon test places in corvane.exe. Wine does not carry WM_GETICON across
// processes, so the question is asked here, inside corvane.exe: a posted request to a window,
// with a global atom in wParam, is answered by replacing that atom with one that names the
// window's icons ("Corvane icons:" followed by " big" and " small" for those it has).
#include <windows.h>

#include <cstring>

extern "C" __declspec(dllexport) LRESULT CALLBACK
    iconQueryHook(int code, WPARAM removal, LPARAM lParam) {
  static const UINT request = RegisterWindowMessageA("Corvane test icons");
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && removal == PM_REMOVE && message->message == request) {
    char answer[64] = "Corvane icons:";
    if (SendMessageA(message->hwnd, WM_GETICON, ICON_BIG, 0) != 0) std::strcat(answer, " big");
    if (SendMessageA(message->hwnd, WM_GETICON, ICON_SMALL, 0) != 0) std::strcat(answer, " small");
    GlobalAddAtomA(answer);
    GlobalDeleteAtom(static_cast<ATOM>(message->wParam));
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}
