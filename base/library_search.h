// Where the program's libraries may come from, and the one way it binds a system library. The
// window libraries (user32, comctl32) are linked to load on their first call: the toolchain's
// thunks call __delayLoadHelper2 in library_search.cpp, which loads them from the system alone.
#pragma once

#include <windows.h>

// Takes the current directory out of the library search and, where the system can, limits the
// default search to the system directory alone. Called first at start-up, before anything loads
// a library by name.
void restrictLibrarySearch();

// The system's copy of a library, named by its full path in the system directory: a library that
// is not a known DLL would otherwise be looked for beside the program first. Null when missing.
HMODULE loadSystemLibrary(const char* name);

// A function of a system library, bound on first use by the caller; null when the library or the
// function is missing.
template <typename Function>
Function systemFunction(const char* library, const char* name) {
  const HMODULE module = loadSystemLibrary(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// COM on this thread, single-threaded, for the shell's handlers and the accessibility runtime;
// false when it cannot be had.
bool initializeCom();
