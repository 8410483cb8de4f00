// The code page's two-byte characters, as the system knows them.
#include <windows.h>

#include "base/text.h"

bool isLeadByte(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)) != 0; }
