// Stands in for hhctrl.ocx: every HtmlHelpA call appends one line to the file named by
// CORVANE_HELP_LOG, with the caller window, the path, the command and what the data names.
#include <windows.h>

#include <cstdio>

#include "tests/wine/help_record_line.h"

namespace {

HMODULE thisModule = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    thisModule = module;
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    char line[MAX_PATH + 32];
    std::snprintf(line, sizeof line, "loaded\tmodule=%.*s\n", static_cast<int>(length), path);
    appendHelpRecordLine(line);
  }
  return TRUE;
}

extern "C" HWND WINAPI HtmlHelpA(HWND caller, LPCSTR path, UINT command, DWORD_PTR data) {
  char className[128] = "";
  int id = 0;
  if (caller != nullptr) {
    GetClassNameA(caller, className, sizeof className);
    id = GetDlgCtrlID(caller);
  }
  char detail[96] = "";
  if (command == 0x0F) {
    std::snprintf(detail, sizeof detail, "\ttopic=%lu", static_cast<unsigned long>(data));
  } else if ((command == 0x10 || command == 0x11) && data != 0) {
    const auto* words = reinterpret_cast<const DWORD*>(data);
    std::snprintf(detail, sizeof detail, "\tdata=%lu,%lu,%lu,%lu",
                  static_cast<unsigned long>(words[0]), static_cast<unsigned long>(words[1]),
                  static_cast<unsigned long>(words[2]), static_cast<unsigned long>(words[3]));
  }
  char module[MAX_PATH];
  const DWORD moduleLength = GetModuleFileNameA(thisModule, module, sizeof module);
  char line[3 * MAX_PATH + 256];
  std::snprintf(line, sizeof line,
                "HtmlHelpA\tmodule=%.*s\twindow=%lu\tclass=%s\tid=%d\tpath=%s\tcommand=%u%s\n",
                static_cast<int>(moduleLength), module,
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(caller)), className, id,
                path != nullptr ? path : "(null)", command, detail);
  appendHelpRecordLine(line);
  return nullptr;
}
