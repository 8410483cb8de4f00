// The help file's path, derived at start-up; it does not depend on the platform.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t HELP_PATH_SIZE = 260;

extern char helpFilePath[HELP_PATH_SIZE];

// modulePath holds the program's path, of the length that the platform reported; its last three
// characters become "chm", and helpFilePath receives it by widePathToField. A truncated, missing
// or too short path, or one with no form that fits, leaves helpFilePath empty.
void makeHelpFilePath(wchar_t* modulePath, std::uint32_t reportedLength);
