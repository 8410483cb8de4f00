// The places where Windows users' TeX distributions and Ghostscript keep their programs, as rows
// of a table that the lookups walk in order: adding a distribution's new folder is one row.
#pragma once

#include "command/lookup_system.h"
#include "command/program_lookup.h"

// How a place ranks the installations it finds: the first that holds the program wins; or the
// newest (the first among equals), over the rows that rank together.
enum class Rank : unsigned char { First, Year, Version };

// Where a place looks: in the registry places that the installers write to, a bit each in the
// order looked at (the user's registry, the machine's 64-bit view, then its 32-bit view); in the
// default folders; by process creation's search; or in the folder of the dvips that runs.
enum : unsigned char { USER = 1, MACHINE = 2, MACHINE_32 = 4, INSTALLERS = 7 };
enum : unsigned char { FOLDERS = 8, SEARCH_PATH = 16, DVIPS_FOLDER = 32 };
inline constexpr struct {
  RegistryRoot root;
  RegistryView view;
} REGISTRY_PLACES[] = {{REGISTRY_CURRENT_USER, REGISTRY_64},
                       {REGISTRY_LOCAL_MACHINE, REGISTRY_64},
                       {REGISTRY_LOCAL_MACHINE, REGISTRY_32}};

// What a registry text names: the folders of a Path; or a root, alone, with TeX Live's
// uninstaller in it, or with a file in it.
enum class Cut : unsigned char { Path, None, Uninstaller, File };

// A row of the table; its lists are written as a Path is, with ';' between texts.
struct Place {
  unsigned char from;
  Rank rank = Rank::First;
  const wchar_t* bins = L"";   // where a root keeps the programs, in order; empty: the root
  const wchar_t* files = L"";  // the programs, in order; empty: the name asked for
  const DefaultFolder* folders = nullptr;  // ended by an empty one
  const wchar_t* keys = L"";               // registry keys, in each registry place
  // Empty for the key or folder itself; else a subkey's or subfolder's name, "*" for the part that
  // ranks, then what follows it in the path.
  const wchar_t* pattern = L"";
  const wchar_t* values = L"";  // registry texts, tried in order
  Cut cut = Cut::None;
  bool ranksWithNext = false;
};

using enum Rank;
using enum Cut;

inline constexpr const wchar_t* SYSTEM_ENVIRONMENT =
    L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
inline constexpr const wchar_t* UNINSTALL =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const wchar_t* GHOSTSCRIPT =
    L"Software\\GPL Ghostscript;Software\\Artifex Ghostscript;Software\\AFPL Ghostscript";
inline constexpr const wchar_t* TEX_LIVE_BIN = L"bin\\windows\\;bin\\win32\\";
inline constexpr const wchar_t* MIKTEX_BIN = L"miktex\\bin\\x64\\;miktex\\bin\\";
inline constexpr const wchar_t* GS_PROGRAMS = L"gswin64c.exe;gswin32c.exe";

// The Path that the registry gives new processes finds what a Corvane started before TeX was
// installed misses. For one year, TeX Live's registry entry comes before its default folder.
inline constexpr Place DVIPS_PLACES[] = {
    {SEARCH_PATH},
    {USER, First, L"", L"", nullptr, L"Environment", L"", L"Path", Path},
    {MACHINE, First, L"", L"", nullptr, SYSTEM_ENVIRONMENT, L"", L"Path", Path},
    {INSTALLERS, Year, TEX_LIVE_BIN, L"", nullptr, UNINSTALL, L"TeXLive*", L"UninstallString",
     Uninstaller, true},
    {FOLDERS, Year, TEX_LIVE_BIN, L"", TEX_LIVE_FOLDERS, L"", L"*"},
    {INSTALLERS, First, MIKTEX_BIN, L"", nullptr, L"Software\\MiKTeX.org\\MiKTeX", L"*\\Core",
     L"UserInstall;CommonInstall"},
    {FOLDERS, First, MIKTEX_BIN, L"", MIKTEX_FOLDERS},
};

// The newest Ghostscript of any edition in the first registry place that has one, the machine's
// 64-bit view first; then the newest in any Program Files.
inline constexpr Place GHOSTSCRIPT_PLACES[] = {
    {MACHINE, Version, L"", GS_PROGRAMS, nullptr, GHOSTSCRIPT, L"*", L"GS_DLL", File},
    {USER, Version, L"", GS_PROGRAMS, nullptr, GHOSTSCRIPT, L"*", L"GS_DLL", File},
    {MACHINE_32, Version, L"", GS_PROGRAMS, nullptr, GHOSTSCRIPT, L"*", L"GS_DLL", File},
    {FOLDERS, Version, L"", GS_PROGRAMS, GHOSTSCRIPT_FOLDERS, L"", L"gs*\\bin"},
    {SEARCH_PATH, First, L"", L"gswin64c.exe;gswin32c.exe;gs.exe"},
    {DVIPS_FOLDER, First, L"", L"rungs.exe;mgs.exe"},
};
