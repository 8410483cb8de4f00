// Where the process starts. The program takes almost nothing from the C runtime's start-up: it
// splits its own command line, keeps no state in stdio, has no exceptions and no thread-local
// data, so the runtime's start-up code, its handlers and their tables stay out of the file.
#include <windows.h>

extern "C" {
// The linker's list of the constructors of global objects: a -1, the constructors, a 0.
extern void (*__CTOR_LIST__[])();
// The runtime's fix-up of data that the linker imported from a DLL by address (auto-import).
void _pei386_runtime_relocator();
}

extern "C" void corvaneStart() {
  _pei386_runtime_relocator();
  for (int index = 1; __CTOR_LIST__[index] != nullptr; ++index) __CTOR_LIST__[index]();
  ExitProcess(
      static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT)));
}
