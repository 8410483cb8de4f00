// The registry reader: every text it gives is ended, and no name is cut to a fixed buffer.
#include "base/registry.h"

#include <cstdlib>
#include <cwchar>

namespace {

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// The whole stored text in memory of its own, with the NUL that its writer may have left out;
// null when the value is missing or is no text.
wchar_t* storedText(HKEY key, const wchar_t* name, DWORD* type) {
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, type, nullptr, &size) != ERROR_SUCCESS || !isText(*type))
    return nullptr;
  auto* text = static_cast<wchar_t*>(std::malloc(size + sizeof(wchar_t)));
  if (text == nullptr) return nullptr;
  if (RegQueryValueExW(key, name, nullptr, type, reinterpret_cast<BYTE*>(text), &size) !=
          ERROR_SUCCESS ||
      !isText(*type)) {
    std::free(text);
    return nullptr;
  }
  // A stray odd byte is dropped with the NUL.
  text[size / sizeof(wchar_t)] = L'\0';
  return text;
}

}  // namespace

LONG openRegistryKey(HKEY root, const wchar_t* path, REGSAM access, bool create, HKEY* key) {
  *key = nullptr;
  if (!create) return RegOpenKeyExW(root, path, 0, access, key);
  return RegCreateKeyExW(root, path, 0, nullptr, 0, access, nullptr, key, nullptr);
}

void closeRegistryKey(HKEY key) { RegCloseKey(key); }

LONG readRegistryValue(HKEY key, const wchar_t* name, void* buffer, DWORD* size) {
  return RegQueryValueExW(key, name, nullptr, nullptr, static_cast<BYTE*>(buffer), size);
}

LONG writeRegistryBinary(HKEY key, const wchar_t* name, const void* data, DWORD size) {
  return RegSetValueExW(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

bool readRegistryText(HKEY key, const wchar_t* name, wchar_t* buffer, DWORD size) {
  DWORD type = 0;
  wchar_t* text = storedText(key, name, &type);
  if (text == nullptr) return false;
  bool fits = false;
  if (type == REG_SZ) {
    const std::size_t length = std::wcslen(text);
    fits = length < size;
    if (fits) std::wmemcpy(buffer, text, length + 1);
  } else {
    const DWORD expanded = ExpandEnvironmentStringsW(text, buffer, size);
    fits = expanded != 0 && expanded <= size;
  }
  std::free(text);
  return fits;
}

wchar_t* registrySubkeyName(HKEY key, DWORD index) {
  // Most names fit the first buffer; the registry allows 255 characters.
  for (DWORD capacity = 64; capacity <= 32768; capacity *= 2) {
    auto* name = static_cast<wchar_t*>(std::malloc(capacity * sizeof(wchar_t)));
    if (name == nullptr) return nullptr;
    DWORD length = capacity;
    const LONG result =
        RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) return name;
    std::free(name);
    if (result != ERROR_MORE_DATA) return nullptr;
  }
  return nullptr;
}
