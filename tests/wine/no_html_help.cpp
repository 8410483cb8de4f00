// A library named hhctrl.ocx that lacks HtmlHelpA: help cannot be bound from it. Each load is
// noted in the file named by CORVANE_HELP_LOG, so that the tests see every attempt to bind.
#include <windows.h>

#include <cstdio>

#include "tests/wine/help_record_line.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    char line[MAX_PATH + 32];
    std::snprintf(line, sizeof line, "loaded\tmodule=%.*s\n", static_cast<int>(length), path);
    appendHelpRecordLine(line);
  }
  return TRUE;
}

// Something to export, under a name that is not the one asked for.
extern "C" int WINAPI NotHtmlHelp() { return 0; }
