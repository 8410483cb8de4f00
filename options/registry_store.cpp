// The settings store on Windows: binary values under HKEY_CURRENT_USER.
#include <windows.h>

#include "options/value_store.h"

long storeOpenKey(const char* path, StoreKey* key) {
  HKEY opened = nullptr;
  const LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &opened);
  *key = opened;
  return result;
}

long storeCreateKey(const char* path, StoreKey* key) {
  HKEY created = nullptr;
  DWORD disposition = 0;
  char noClass[] = "";
  const LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, noClass, 0, KEY_ALL_ACCESS,
                                      nullptr, &created, &disposition);
  *key = created;
  return result;
}

long storeQueryValue(StoreKey key, const char* name, unsigned char* buffer, std::uint32_t* count) {
  DWORD size = *count;
  const LONG result =
      RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, nullptr, buffer, &size);
  *count = size;
  return result;
}

long storeSetBinaryValue(StoreKey key, const char* name, const unsigned char* data,
                         std::uint32_t size) {
  return RegSetValueExA(static_cast<HKEY>(key), name, 0, REG_BINARY, data, size);
}

void storeCloseKey(StoreKey key) { RegCloseKey(static_cast<HKEY>(key)); }
