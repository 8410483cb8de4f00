// A message hook that the icon tests place in corvane.exe. Wine does not carry WM_GETICON across
// processes, so the question is asked here, inside corvane.exe: a posted request to a window,
// with a global atom in wParam, is answered by replacing that atom with one that names the
// window's icons ("Corvane icons:" followed by " big" and " small" for those it has).
// A second request asks whether each icon's image is as wide as the system draws that icon
// ("Corvane icon sizes: big right small wrong", and so on), by the metrics of corvane.exe itself.
#include <windows.h>

#include <cstring>

namespace {

int widthOf(HICON icon) {
  ICONINFO parts;
  if (icon == nullptr || !GetIconInfo(icon, &parts)) return 0;
  BITMAP image = {};
  GetObjectA(parts.hbmColor != nullptr ? parts.hbmColor : parts.hbmMask, sizeof image, &image);
  if (parts.hbmColor != nullptr) DeleteObject(parts.hbmColor);
  DeleteObject(parts.hbmMask);
  return image.bmWidth;
}

const char* sizeWord(HWND window, WPARAM which, int metric) {
  const auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, which, 0));
  if (icon == nullptr) return "none";
  return widthOf(icon) == GetSystemMetrics(metric) ? "right" : "wrong";
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    iconQueryHook(int code, WPARAM removal, LPARAM lParam) {
  static const UINT request = RegisterWindowMessageA("Corvane test icons");
  static const UINT sizeRequest = RegisterWindowMessageA("Corvane test icon sizes");
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && removal == PM_REMOVE && message->message == request) {
    char answer[64] = "Corvane icons:";
    if (SendMessageA(message->hwnd, WM_GETICON, ICON_BIG, 0) != 0) std::strcat(answer, " big");
    if (SendMessageA(message->hwnd, WM_GETICON, ICON_SMALL, 0) != 0) std::strcat(answer, " small");
    GlobalAddAtomA(answer);
    GlobalDeleteAtom(static_cast<ATOM>(message->wParam));
  } else if (code == HC_ACTION && removal == PM_REMOVE && message->message == sizeRequest) {
    char answer[64] = "Corvane icon sizes: big ";
    std::strcat(answer, sizeWord(message->hwnd, ICON_BIG, SM_CXICON));
    std::strcat(answer, " small ");
    std::strcat(answer, sizeWord(message->hwnd, ICON_SMALL, SM_CXSMICON));
    GlobalAddAtomA(answer);
    GlobalDeleteAtom(static_cast<ATOM>(message->wParam));
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}
