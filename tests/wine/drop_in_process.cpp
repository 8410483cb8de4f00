// A message hook that the drop tests place in corvane.exe. A drop block is an HGLOBAL of the
// process that receives it, and Wine does not carry one across processes, so the block is made
// here, inside corvane.exe, as the system makes it for a drop from the desktop (names in wide
// characters): the posted request becomes a WM_DROPFILES to the same window, its names taken
// from the global atom in wParam ("name|name|..."), which is deleted once the block is made.
#include <windows.h>

#include <shlobj.h>

#include <cstring>

extern "C" __declspec(dllexport) LRESULT CALLBACK
    dropRequestHook(int code, WPARAM removal, LPARAM lParam) {
  static const UINT request = RegisterWindowMessageA("Corvane test drop");
  MSG* message = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && removal == PM_REMOVE && message->message == request) {
    const ATOM atom = static_cast<ATOM>(message->wParam);
    wchar_t names[256] = {};
    const UINT length = GlobalGetAtomNameW(atom, names, 256);
    // Each name ends in a NUL and the list in one more.
    const SIZE_T size = sizeof(DROPFILES) + (length + 2) * sizeof(wchar_t);
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = {10, 10};
    drop->fWide = TRUE;
    wchar_t* list = reinterpret_cast<wchar_t*>(drop + 1);
    std::memcpy(list, names, length * sizeof(wchar_t));
    for (UINT at = 0; at < length; ++at)
      if (list[at] == L'|') list[at] = L'\0';
    GlobalUnlock(block);
    GlobalDeleteAtom(atom);
    message->message = WM_DROPFILES;
    message->wParam = reinterpret_cast<WPARAM>(block);
    message->lParam = 0;
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}
