// Composition of the converter's command line from the settings record.
#pragma once

#include <cstddef>
#include <cstdint>

// The command in a heap block of commandCapacity bytes; null until the first composition.
extern char* commandLine;
extern std::int32_t commandCapacity;
// Set by a composition whose program, named without a folder, was found nowhere.
extern bool programLookupFailed;

constexpr std::int32_t COMMAND_GROWTH = 1024;

// 1 when commandLine holds the complete command, 0 when memory could not be had.
int composeCommandLine();

// "-L =V " with withEquals, else "-L V ", in one shared buffer that every call overwrites.
const char* formatSwitch(int letter, std::int32_t value, int withEquals);

// Grows the block by one step when the piece would not fit with its NUL, then appends it.
int appendToCommandLine(const char* piece);

// Size of the two buffers of dviFolder: a path field's.
constexpr std::size_t DVI_FOLDER_SIZE = 260;

// With "Use DVI directory" on and the DVI file found, the converter starts in the file's folder:
// fullPath receives the file's full path, which the command names since a relative name would
// miss the file from there, and folder the short form of the folder. False in every other case,
// and the converter starts in Corvane's own current folder, where dviFile is right as it stands.
bool dviFolder(char (&fullPath)[DVI_FOLDER_SIZE], char (&folder)[DVI_FOLDER_SIZE]);
