// What the program lookups ask the platform: files, folders, the search path, the environment and
// the registry. On Windows these are the Win32 calls (command/lookup_win32.cpp); tests serve them
// from memory. Names are wide: a folder named outside the ANSI code page (a TeX under a Cyrillic
// or Greek user name on a Western Windows) would come back with its characters as '?'.
#pragma once

#include <cstdint>

enum RegistryRoot : int { REGISTRY_CURRENT_USER, REGISTRY_LOCAL_MACHINE };
// A 32-bit program sees the 32-bit view of HKEY_LOCAL_MACHINE\Software unless it asks for the
// 64-bit one; on a 32-bit system both name the one registry.
enum RegistryView : int { REGISTRY_64, REGISTRY_32 };

// True when path names a file (not a folder).
bool isExistingFile(const wchar_t* path);

// Looks for name as process creation does (SearchPath with ".exe"); the full path's length, 0 when
// not found, or a size of at least bufferSize, with the buffer untouched, when it does not fit.
// Sizes count characters.
std::uint32_t searchPathFor(const wchar_t* name, wchar_t* buffer, std::uint32_t bufferSize);

// An environment variable of this process; results as above.
std::uint32_t environmentText(const wchar_t* name, wchar_t* buffer, std::uint32_t bufferSize);

// A text value of a registry key, with environment variables in it expanded; false when the key
// or value is missing, is not text, or does not fit.
bool registryText(RegistryRoot root, RegistryView view, const wchar_t* key, const wchar_t* value,
                  wchar_t* buffer, std::uint32_t bufferSize);

// The name of the subkey of a registry key, or of the subfolder of a folder, at index (from 0, in
// the order the system gives them); false past the last one or when the key or folder is missing.
// A name longer than size - 1 characters comes back empty.
bool registrySubkey(RegistryRoot root, RegistryView view, const wchar_t* key, std::uint32_t index,
                    wchar_t* name, std::uint32_t size);
bool subfolder(const wchar_t* folder, std::uint32_t index, wchar_t* name, std::uint32_t size);
