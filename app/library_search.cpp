// The current directory (for a downloaded program, often Downloads) must not supply libraries.
#include "app/library_search.h"

#include <windows.h>

namespace {

constexpr DWORD SEARCH_APPLICATION_DIR = 0x00000200;  // LOAD_LIBRARY_SEARCH_APPLICATION_DIR
constexpr DWORD SEARCH_SYSTEM32 = 0x00000800;         // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

}  // namespace

void restrictLibrarySearch() {
  SetDllDirectoryA("");
  // Windows 8 and later, and Vista and 7 with KB2533623; looked up so that older systems start.
  const auto setDefaultDirectories =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefaultDirectories != nullptr)
    setDefaultDirectories(SEARCH_SYSTEM32 | SEARCH_APPLICATION_DIR);
}
