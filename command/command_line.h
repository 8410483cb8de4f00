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
