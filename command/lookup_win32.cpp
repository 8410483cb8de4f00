// The program lookups' questions, answered by Win32.
#include <windows.h>

#include "command/lookup_system.h"
#include "paths/path_rules.h"

namespace {

HKEY rootKey(RegistryRoot root) {
  return root == REGISTRY_CURRENT_USER ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

REGSAM viewAccess(RegistryView view) {
  return KEY_READ | (view == REGISTRY_64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY);
}

}  // namespace

bool isExistingFile(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::uint32_t searchPathFor(const char* name, char* buffer, std::uint32_t bufferSize) {
  return SearchPathA(nullptr, name, ".exe", bufferSize, buffer, nullptr);
}

std::uint32_t environmentText(const char* name, char* buffer, std::uint32_t bufferSize) {
  return GetEnvironmentVariableA(name, buffer, bufferSize);
}

bool registryText(RegistryRoot root, RegistryView view, const char* key, const char* value,
                  char* buffer, std::uint32_t bufferSize) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(rootKey(root), key, 0, viewAccess(view), &opened) != ERROR_SUCCESS)
    return false;
  // Room for a NUL that the stored text may lack.
  DWORD type = 0, size = bufferSize - 1;
  const LONG result =
      RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  buffer[size] = '\0';
  if (type == REG_SZ) return true;
  // Expanded in place through a copy: the expansion may be longer than the stored text.
  ZERO_FILLED static char stored[32768];
  lstrcpynA(stored, buffer, sizeof stored);
  const DWORD expanded = ExpandEnvironmentStringsA(stored, buffer, bufferSize);
  return expanded != 0 && expanded <= bufferSize;
}

void forEachRegistrySubkey(RegistryRoot root, RegistryView view, const char* key, NameVisitor visit,
                           void* context) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(rootKey(root), key, 0, viewAccess(view), &opened) != ERROR_SUCCESS) return;
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    const LONG result =
        RegEnumKeyExA(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    // A name too long for any place looked for is passed over; any other failure would come
    // back at every index, so it ends the walk as the end of the list does.
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) break;
    visit(name, context);
  }
  RegCloseKey(opened);
}

void forEachSubfolder(const char* folder, NameVisitor visit, void* context) {
  char pattern[MAX_PATH];
  if (lstrlenA(folder) + 3 > MAX_PATH) return;
  lstrcpyA(pattern, folder);
  lstrcatA(pattern, "\\*");
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const bool dots =
        entry.cFileName[0] == '.' &&
        (entry.cFileName[1] == '\0' || (entry.cFileName[1] == '.' && entry.cFileName[2] == '\0'));
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !dots)
      visit(entry.cFileName, context);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}
