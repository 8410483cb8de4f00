// The program lookups' questions, answered by Win32.
#include <windows.h>

#include <cstdlib>

#include "base/registry.h"
#include "base/text.h"
#include "command/lookup_system.h"

namespace {

HKEY openForReading(RegistryRoot root, RegistryView view, const wchar_t* key) {
  HKEY opened = nullptr;
  openRegistryKey(root == REGISTRY_CURRENT_USER ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, key,
                  KEY_READ | (view == REGISTRY_64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY), false,
                  &opened);
  return opened;
}

// The name into the caller's buffer, or an empty one when it does not fit.
void copyName(const wchar_t* found, wchar_t* name, std::uint32_t size) {
  if (!joinWide(name, size, {found})) name[0] = L'\0';
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
  const HKEY opened = openForReading(root, view, key);
  if (opened == nullptr) return false;
  const bool read = readRegistryText(opened, value, buffer, bufferSize);
  closeRegistryKey(opened);
  return read;
}

bool registrySubkey(RegistryRoot root, RegistryView view, const wchar_t* key, std::uint32_t index,
                    wchar_t* name, std::uint32_t size) {
  const HKEY opened = openForReading(root, view, key);
  if (opened == nullptr) return false;
  wchar_t* found = registrySubkeyName(opened, index);
  closeRegistryKey(opened);
  if (found == nullptr) return false;
  copyName(found, name, size);
  std::free(found);
  return true;
}

bool subfolder(const wchar_t* folder, std::uint32_t index, wchar_t* name, std::uint32_t size) {
  wchar_t pattern[MAX_PATH];
  if (!joinWide(pattern, {folder, L"\\*"})) return false;
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  do {
    const wchar_t* entryName = entry.cFileName;
    const bool dots = entryName[0] == L'.' &&
                      (entryName[1] == L'\0' || (entryName[1] == L'.' && entryName[2] == L'\0'));
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !dots && index-- == 0) {
      copyName(entryName, name, size);
      found = true;
    }
  } while (!found && FindNextFileW(search, &entry));
  FindClose(search);
  return found;
}
