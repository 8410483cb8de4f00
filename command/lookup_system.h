// What the program lookups ask the platform: files, folders, the search path, the environment and
// the registry. On Windows these are the Win32 calls (command/lookup_win32.cpp); tests serve them
// from memory.
#pragma once

#include <cstdint>

enum RegistryRoot : int { REGISTRY_CURRENT_USER, REGISTRY_LOCAL_MACHINE };
// A 32-bit program sees the 32-bit view of HKEY_LOCAL_MACHINE\Software unless it asks for the
// 64-bit one; on a 32-bit system both name the one registry.
enum RegistryView : int { REGISTRY_64, REGISTRY_32 };

// True when path names a file (not a folder).
bool isExistingFile(const char* path);

// Looks for name as process creation does (SearchPath with ".exe"); the full path's length, 0 when
// not found, or a size of at least bufferSize, with the buffer untouched, when it does not fit.
std::uint32_t searchPathFor(const char* name, char* buffer, std::uint32_t bufferSize);

// An environment variable of this process; results as above.
std::uint32_t environmentText(const char* name, char* buffer, std::uint32_t bufferSize);

// A text value of a registry key, with environment variables in it expanded; false when the key
// or value is missing, is not text, or does not fit.
bool registryText(RegistryRoot root, RegistryView view, const char* key, const char* value,
                  char* buffer, std::uint32_t bufferSize);

using NameVisitor = void (*)(const char* name, void* context);

// Calls visit with the name of each subkey of a registry key, or of each subfolder of a folder.
void forEachRegistrySubkey(RegistryRoot root, RegistryView view, const char* key, NameVisitor visit,
                           void* context);
void forEachSubfolder(const char* folder, NameVisitor visit, void* context);
