// The per-user store of named binary values that the settings are kept in.
// On Windows it is the registry under HKEY_CURRENT_USER; tests serve it from memory.
#pragma once

#include <cstdint>

using StoreKey = void*;

// Each returns 0 on success and a non-zero code on failure, as the registry does.
long storeOpenKey(const char* path, StoreKey* key);    // existing key, full access
long storeCreateKey(const char* path, StoreKey* key);  // creates missing keys on the way
// On entry *count is the buffer's size; on success it is the number of bytes copied. A value
// larger than the buffer is a failure.
long storeQueryValue(StoreKey key, const char* name, unsigned char* buffer, std::uint32_t* count);
long storeSetBinaryValue(StoreKey key, const char* name, const unsigned char* data,
                         std::uint32_t size);
void storeCloseKey(StoreKey key);
