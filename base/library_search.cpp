// Neither the current directory nor the program's own folder (for a downloaded program, often
// Downloads) may supply libraries: the program loads nothing of its own.
#include "base/library_search.h"

#include <delayimp.h>
#include <objbase.h>

#include <cstring>

extern "C" IMAGE_DOS_HEADER __ImageBase;

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

namespace {

BYTE* imageAt(RVA address) { return reinterpret_cast<BYTE*>(&__ImageBase) + address; }

// By name, so that the manifest's version of the common controls is the one loaded, from the
// side-by-side store; anything else comes from the system folder alone.
HMODULE loadSystemLibraryByName(const char* name) {
  const HMODULE module = LoadLibraryExA(name, nullptr, SEARCH_SYSTEM32);
  // Vista and 7 without KB2533623 refuse the flag: there the search that restrictLibrarySearch
  // left applies, and user32 is a known DLL.
  if (module == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) return LoadLibraryA(name);
  return module;
}

// As a library missing at start-up would, a late one ends the program, with the code that
// Windows' own delay-load helper raises.
FARPROC failLateImport(DWORD error) {
  RaiseException(VcppException(ERROR_SEVERITY_ERROR, error), EXCEPTION_NONCONTINUABLE, 0, nullptr);
  return nullptr;
}

}  // namespace

// The toolchain's delay-load thunks call this on the first call of each function of a library
// linked to load late (the window libraries): it loads the library, finds the function and puts
// it in the thunk's slot, so that later calls go straight to it.
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr library, FARPROC* slot) {
  auto* const module = reinterpret_cast<HMODULE*>(imageAt(library->rvaHmod));
  if (*module == nullptr) {
    const HMODULE loaded =
        loadSystemLibraryByName(reinterpret_cast<const char*>(imageAt(library->rvaDLLName)));
    if (loaded == nullptr) return failLateImport(ERROR_MOD_NOT_FOUND);
    *module = loaded;
  }
  const auto* const wanted = reinterpret_cast<const IMAGE_THUNK_DATA*>(imageAt(library->rvaINT)) +
                             (slot - reinterpret_cast<FARPROC*>(imageAt(library->rvaIAT)));
  const char* const name =
      IMAGE_SNAP_BY_ORDINAL(wanted->u1.Ordinal)
          ? MAKEINTRESOURCEA(IMAGE_ORDINAL(wanted->u1.Ordinal))
          : reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(imageAt(wanted->u1.AddressOfData))->Name;
  const FARPROC function = GetProcAddress(*module, name);
  if (function == nullptr) return failLateImport(ERROR_PROC_NOT_FOUND);
  *slot = function;
  return function;
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
