// Finding dvips and Ghostscript where Windows users' TeX distributions and Ghostscript put them,
// when the settings name no folder for them. Runs when a command is composed or the PDF page is
// first shown, never at start-up. What is found is a wide path, whatever the code page; it goes
// into a command through programForCommand (command/dvips_to_run.h).
#pragma once

#include <cstddef>

#include "options/options.h"
#include "paths/path_rules.h"

using PathText = char[PATH_FIELD_SIZE];
using WidePathText = wchar_t[PATH_FIELD_SIZE];

// True when the program text names no folder: no backslash, slash or drive colon in it.
bool namesNoFolder(const char* program);

// dvips named without a folder: on PATH as process creation searches it; on the Path that the
// registry gives new processes (for a Corvane started before TeX was installed); TeX Live, newest
// year first, where its installer records it and in %SystemDrive%\texlive\<year>; MiKTeX where it
// records itself and in its per-user and all-users folders. False when it is nowhere.
bool findDvips(const char* name, WidePathText& found);

// Ghostscript's console program: where its installer records it in the registry (64-bit view
// first), in Program Files\gs, on PATH as gswin64c, gswin32c or gs, then TeX Live's rungs.exe and
// MiKTeX's mgs.exe beside the dvips given (empty when none). False when it is nowhere.
bool findGhostscript(const wchar_t* dvipsPath, WidePathText& found);

// Where the TeX distributions and Ghostscript install by default: a folder under an environment
// variable. The lookups look there, and a failed lookup names them. Each list ends with an empty
// one.
struct DefaultFolder {
  const wchar_t* variable;
  const wchar_t* below;
};
// A 32-bit program finds the 64-bit Program Files only through ProgramW6432.
inline constexpr DefaultFolder TEX_LIVE_FOLDERS[] = {{L"SystemDrive", L"\\texlive"}, {}};
inline constexpr DefaultFolder MIKTEX_FOLDERS[] = {{L"LOCALAPPDATA", L"\\Programs\\MiKTeX"},
                                                   {L"ProgramW6432", L"\\MiKTeX"},
                                                   {L"ProgramFiles", L"\\MiKTeX"},
                                                   {L"ProgramFiles(x86)", L"\\MiKTeX"},
                                                   {}};
inline constexpr DefaultFolder GHOSTSCRIPT_FOLDERS[] = {
    {L"ProgramW6432", L"\\gs"}, {L"ProgramFiles", L"\\gs"}, {L"ProgramFiles(x86)", L"\\gs"}, {}};
constexpr std::size_t MOST_DEFAULT_FOLDERS = 4;

// The default folder on this machine: the variable's value followed by below. False when the
// variable is unset or the folder does not fit.
bool defaultFolder(const DefaultFolder& place, WidePathText& folder);
