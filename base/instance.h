// The program's module: its resources, string table and templates come from it.
#pragma once

#include <windows.h>

// Stored first at start-up.
extern HINSTANCE appInstance;
