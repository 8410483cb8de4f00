// The argument rule of start-up, which does not depend on the platform.
#pragma once

#include <cstddef>
#include <cstdint>

// The file that the argument names: a path that a file manager quoted is read as the one word
// it is by Windows' rule; anything else stands as it is. In one shared buffer, or argument itself.
const wchar_t* dviFileOfArgument(const wchar_t* argument);

// Puts a non-empty argument into dviFile: dviFileOfArgument, by widePathToField. Returns 0, or the
// system's error code to report when no form of it fits the field, which then keeps what it held.
std::uint32_t takeDviFileArgument(const wchar_t* argument);
