// Neither the current directory nor the program's own folder (for a downloaded program, often
// Downloads) may supply libraries: the program loads nothing of its own.
#include "base/library_search.h"

#include <objbase.h>

#include <cstring>

namespace {

constexpr DWORD SEARCH_SYSTEM32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

}  // namespace

void restrictLibrarySearch() {
  SetDllDirectoryA("");
  // Windows 8 and later, and Vista and 7 with KB2533623; looked up so that older systems start.
  const auto setDefaultDirectories =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
          GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  // The system's folder alone: the application folder's flag, or the default set that holds it,
  // would put the program's folder first.
  if (setDefaultDirectories != nullptr) setDefaultDirectories(SEARCH_SYSTEM32);
}

HMODULE loadSystemLibrary(const char* name) {
  char path[MAX_PATH];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  const std::size_t nameLength = std::strlen(name);
  if (length == 0 || length + 1 + nameLength >= MAX_PATH) return nullptr;
  path[length] = '\\';
  std::memcpy(path + length + 1, name, nameLength + 1);
  return LoadLibraryA(path);
}

bool initializeCom() {
  using InitializeFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
  const auto initialize = systemFunction<InitializeFunction>("ole32.dll", "CoInitializeEx");
  // S_FALSE when this thread has it already, which is as good.
  return initialize != nullptr &&
         SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}
