// The settings store on Windows: binary values under HKEY_CURRENT_USER.
#include <windows.h>

#include "base/registry.h"
#include "options/value_store.h"

namespace {

using WideName = wchar_t[256];

// The store's names come from the string table, in the ANSI code page; the registry is asked in
// wide characters. A name that does not convert is refused, never asked for as an empty one, which
// would name HKEY_CURRENT_USER itself or its default value.
bool widen(const char* name, WideName& wide) {
  return MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 256) != 0;
}

long openKey(const char* path, bool create, StoreKey* key) {
  WideName widePath;
  HKEY opened = nullptr;
  const LONG result = widen(path, widePath) ? openRegistryKey(HKEY_CURRENT_USER, widePath,
                                                              KEY_ALL_ACCESS, create, &opened)
                                            : ERROR_INVALID_NAME;
  *key = opened;
  return result;
}

}  // namespace

long storeOpenKey(const char* path, StoreKey* key) { return openKey(path, false, key); }

long storeCreateKey(const char* path, StoreKey* key) { return openKey(path, true, key); }

long storeQueryValue(StoreKey key, const char* name, unsigned char* buffer, std::uint32_t* count) {
  WideName wideName;
  DWORD size = *count;
  if (!widen(name, wideName)) return ERROR_INVALID_NAME;
  const LONG result = readRegistryValue(static_cast<HKEY>(key), wideName, buffer, &size);
  *count = size;
  return result;
}

long storeSetBinaryValue(StoreKey key, const char* name, const unsigned char* data,
                         std::uint32_t size) {
  WideName wideName;
  if (!widen(name, wideName)) return ERROR_INVALID_NAME;
  return writeRegistryBinary(static_cast<HKEY>(key), wideName, data, size);
}

void storeCloseKey(StoreKey key) { closeRegistryKey(static_cast<HKEY>(key)); }
