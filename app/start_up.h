// Start-up rules that do not depend on the platform: the argument and the help file's path.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t HELP_PATH_SIZE = 260;

extern char helpFilePath[HELP_PATH_SIZE];

// Everything after the program's own name in a process command line, blanks and quotes kept.
const wchar_t* argumentOfCommandLine(const wchar_t* processCommandLine);

// Puts a non-empty argument into dviFile: a path that a file manager quoted loses its quotes,
// anything else stands as it is; either goes in by widePathToField. Returns 0, or the system's
// error code to report when no form of it fits the field, which then keeps what it held.
std::uint32_t takeDviFileArgument(const wchar_t* argument);

// helpFilePath holds the module path whose length the platform reported; the last three
// characters become "chm". A truncated, missing or too short path leaves it empty.
void makeHelpFilePath(std::uint32_t reportedLength);
