// Start-up rules that do not depend on the platform: the argument and the help file's path.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t HELP_PATH_SIZE = 260;

extern char helpFilePath[HELP_PATH_SIZE];

// Everything after the program's own name in a process command line, blanks and quotes kept.
const char* argumentOfCommandLine(const char* processCommandLine);

// Puts a non-empty argument into dviFile: a path that a file manager quoted loses its quotes,
// anything else is copied as it stands, cut to the field.
void takeDviFileArgument(const char* argument);

// helpFilePath holds the module path whose length the platform reported; the last three
// characters become "chm". A truncated, missing or too short path leaves it empty.
void makeHelpFilePath(std::uint32_t reportedLength);
