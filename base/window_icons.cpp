// The icons of the program's windows: the large one for the taskbar and Alt+Tab, the small one
// for the title bar.
#include "base/window_icons.h"

#include "resources/resource.h"

static_assert(sizeof(OSVERSIONINFOA) == 148);

void setWindowIcons(HWND window) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  const HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
    SendMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(module, MAKEINTRESOURCEA(IDI_LARGE))));
    const HANDLE small =
        LoadImageA(module, MAKEINTRESOURCEA(IDI_SMALL), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  } else if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion <= 3 &&
             version.dwMinorVersion <= 51) {
    SetClassLongPtrA(window, GCLP_HICON,
                     reinterpret_cast<LONG_PTR>(LoadIconA(module, MAKEINTRESOURCEA(IDI_LARGE))));
  } else {
    SendMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(module, MAKEINTRESOURCEA(IDI_LARGE))));
    SendMessageA(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconA(module, MAKEINTRESOURCEA(IDI_SMALL))));
  }
}
