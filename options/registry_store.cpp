// The settings store on Windows: binary values under HKEY_CURRENT_USER.
#include <windows.h>

#include "base/registry.h"
#include "options/value_store.h"

namespace {

// The store's names come from the string table, in the ANSI code page; the registry is asked in
// wide characters. A name that does not convert is empty, which no caller gives.
struct WideName {
  wchar_t text[256];
};

WideName wide(const char* name) {
  WideName result{};
  if (MultiByteToWideChar(CP_ACP, 0, name, -1, result.text, 256) == 0) result.text[0] = L'\0';
  return result;
}

long openKey(const char* path, bool create, StoreKey* key) {
  const WideName widePath = wide(path);
  HKEY opened = nullptr;
  // An empty path would open HKEY_CURRENT_USER itself.
  const LONG result = widePath.text[0] == L'\0' ? ERROR_INVALID_NAME
                                                : openRegistryKey(HKEY_CURRENT_USER, widePath.text,
                                                                  KEY_ALL_ACCESS, create, &opened);
  *key = opened;
  return result;
}

}  // namespace

long storeOpenKey(const char* path, StoreKey* key) { return openKey(path, false, key); }

long storeCreateKey(const char* path, StoreKey* key) { return openKey(path, true, key); }

long storeQueryValue(StoreKey key, const char* name, unsigned char* buffer, std::uint32_t* count) {
  DWORD size = *count;
  const LONG result = readRegistryValue(static_cast<HKEY>(key), wide(name).text, buffer, &size);
  *count = size;
  return result;
}

long storeSetBinaryValue(StoreKey key, const char* name, const unsigned char* data,
                         std::uint32_t size) {
  return writeRegistryBinary(static_cast<HKEY>(key), wide(name).text, data, size);
}

void storeCloseKey(StoreKey key) { closeRegistryKey(static_cast<HKEY>(key)); }
