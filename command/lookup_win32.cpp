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

bool isExistingFile(const wchar_t* path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::uint32_t searchPathFor(const wchar_t* name, wchar_t* buffer, std::uint32_t bufferSize) {
  return SearchPathW(nullptr, name, L".exe", bufferSize, buffer, nullptr);
}

std::uint32_t environmentText(const wchar_t* name, wchar_t* buffer, std::uint32_t bufferSize) {
  return GetEnvironmentVariableW(name, buffer, bufferSize);
}

bool registryText(RegistryRoot root, RegistryView view, const wchar_t* key, const wchar_t* value,
                  wchar_t* buffer, std::uint32_t bufferSize) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(rootKey(root), key, 0, viewAccess(view), &opened) != ERROR_SUCCESS)
    return false;
  // Room for a NUL that the stored text may lack; the size is in bytes.
  DWORD type = 0, size = (bufferSize - 1) * sizeof(wchar_t);
  const LONG result =
      RegQueryValueExW(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  buffer[size / sizeof(wchar_t)] = L'\0';
  if (type == REG_SZ) return true;
  // Expanded in place through a copy: the expansion may be longer than the stored text.
  ZERO_FILLED static wchar_t stored[WIDE_PATH_SIZE];
  lstrcpynW(stored, buffer, WIDE_PATH_SIZE);
  const DWORD expanded = ExpandEnvironmentStringsW(stored, buffer, bufferSize);
  return expanded != 0 && expanded <= bufferSize;
}

void forEachRegistrySubkey(RegistryRoot root, RegistryView view, const wchar_t* key,
                           NameVisitor visit, void* context) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(rootKey(root), key, 0, viewAccess(view), &opened) != ERROR_SUCCESS) return;
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    const LONG result =
        RegEnumKeyExW(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    // A name too long for any place looked for is passed over; any other failure would come
    // back at every index, so it ends the walk as the end of the list does.
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) break;
    visit(name, context);
  }
  RegCloseKey(opened);
}

void forEachSubfolder(const wchar_t* folder, NameVisitor visit, void* context) {
  wchar_t pattern[MAX_PATH];
  if (lstrlenW(folder) + 3 > MAX_PATH) return;
  lstrcpyW(pattern, folder);
  lstrcatW(pattern, L"\\*");
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const bool dots =
        entry.cFileName[0] == L'.' && (entry.cFileName[1] == L'\0' ||
                                       (entry.cFileName[1] == L'.' && entry.cFileName[2] == L'\0'));
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !dots)
      visit(entry.cFileName, context);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
}
