// The registry, read and written in one place for the settings store and the program lookups.
// Names are wide: a folder named outside the ANSI code page comes back whole.
#pragma once

#include <windows.h>

// Opens a key under root with the access asked for (KEY_WOW64_64KEY or KEY_WOW64_32KEY among it
// chooses a view of HKEY_LOCAL_MACHINE\Software); with create, the keys missing on the way are
// made. ERROR_SUCCESS, or the system's error code with *key null.
LONG openRegistryKey(HKEY root, const wchar_t* path, REGSAM access, bool create, HKEY* key);
void closeRegistryKey(HKEY key);

// A value's bytes, of any type: on entry *size is the buffer's size, on success the number of
// bytes copied. A value larger than the buffer is a failure (ERROR_MORE_DATA).
LONG readRegistryValue(HKEY key, const wchar_t* name, void* buffer, DWORD* size);
LONG writeRegistryBinary(HKEY key, const wchar_t* name, const void* data, DWORD size);

// A text value (REG_SZ, or REG_EXPAND_SZ with its environment variables expanded), always ended
// with a NUL: the registry keeps what a program stored, with or without one. False when the value
// is missing, is no text, or does not fit in size characters.
bool readRegistryText(HKEY key, const wchar_t* name, wchar_t* buffer, DWORD size);

// The name of the key's subkey at index, in memory of its own that the caller frees with
// std::free; null past the last subkey or when the key cannot be read. The buffer grows for a
// name longer than most.
wchar_t* registrySubkeyName(HKEY key, DWORD index);
