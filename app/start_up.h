// Start-up rules that do not depend on the platform: the argument and the help file's path.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t HELP_PATH_SIZE = 260;

extern char helpFilePath[HELP_PATH_SIZE];

// Everything after the program's own name in a process command line, blanks and quotes kept.
const wchar_t* argumentOfCommandLine(const wchar_t* processCommandLine);

// The file that the argument names: a path that a file manager quoted is read as the one word
// it is by Windows' rule; anything else stands as it is. In one shared buffer, or argument itself.
const wchar_t* dviFileOfArgument(const wchar_t* argument);

// Puts a non-empty argument into dviFile: dviFileOfArgument, by widePathToField. Returns 0, or the
// system's error code to report when no form of it fits the field, which then keeps what it held.
std::uint32_t takeDviFileArgument(const wchar_t* argument);

// modulePath holds the program's path, of the length that the platform reported; its last three
// characters become "chm", and helpFilePath receives it by widePathToField. A truncated, missing
// or too short path, or one with no form that fits, leaves helpFilePath empty.
void makeHelpFilePath(wchar_t* modulePath, std::uint32_t reportedLength);
