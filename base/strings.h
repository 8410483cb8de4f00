// The string table of the program's resources.
#pragma once

// Returns one shared 256-byte buffer that every call overwrites; empty for a missing entry.
const char* loadResourceString(int id);
