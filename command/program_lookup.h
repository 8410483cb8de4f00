// Finding dvips and Ghostscript where Windows users' TeX distributions and Ghostscript put them,
// when the settings name no folder for them. Runs when a command is composed or the PDF page is
// first shown, never at start-up. What is found is a wide path, whatever the code page; it goes
// into a command through programForCommand.
#pragma once

#include <cstddef>

#include "options/options.h"
#include "paths/path_rules.h"

using PathText = char[PATH_FIELD_SIZE];
using WidePathText = wchar_t[PATH_FIELD_SIZE];

// The sentences that say where a failed lookup looked and what the user can do, for the error
// box and the PDF page.
constexpr std::size_t PLACES_TEXT_SIZE = 2048;

// True when the program text names no folder: no backslash, slash or drive colon in it.
bool namesNoFolder(const char* program);

// dvips named without a folder: on PATH as process creation searches it; on the Path that the
// registry gives new processes (for a Corvane started before TeX was installed); TeX Live, newest
// year first, where its installer records it and in %SystemDrive%\texlive\<year>; MiKTeX where it
// records itself and in its per-user and all-users folders. False when it is nowhere.
bool findDvips(const char* name, WidePathText& found);

// The dvips that a run with this program field starts: the field's program (read as a command's
// first word, so a file manager's quotes go) when it names a file that exists (a bare name is
// looked for in the current folder first), else what findDvips finds. False when none exists.
bool dvipsThatWillRun(const char* field, WidePathText& path);

// Ghostscript's console program: where its installer records it in the registry (64-bit view
// first), in Program Files\gs, on PATH as gswin64c, gswin32c or gs, then TeX Live's rungs.exe and
// MiKTeX's mgs.exe beside the dvips given (empty when none). False when it is nowhere.
bool findGhostscript(const wchar_t* dvipsPath, WidePathText& found);

// A program found, as a command names it: as a path field holds it (as it stands where the code
// page represents it, else by its short form); when it has neither, by its bare name, which
// process creation looks for on PATH.
void programForCommand(const wchar_t* found, PathText& program);

// Where findDvips looks for the name, then what to do; in one shared buffer.
const char* dvipsPlacesLooked(const char* name);
// Where findGhostscript looks, then what to do; in one shared buffer.
const char* ghostscriptPlacesLooked();
