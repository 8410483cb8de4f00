// The icons of the program's windows.
#pragma once

#include <windows.h>

// Gives window the large icon 101 and the small icon 102 of its own module, by the rule of the
// system's version: the class icon on Windows NT 3.51 and older, the window's icons elsewhere.
void setWindowIcons(HWND window);
