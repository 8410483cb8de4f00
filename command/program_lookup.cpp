// Where TeX Live, MiKTeX and Ghostscript put their programs on Windows, and the order in which
// Corvane looks there.
//
// What the installers record:
// - TeX Live (tlpkg/TeXLive/TLWinGoo.pm): the uninstall entry
//   Software\Microsoft\Windows\CurrentVersion\Uninstall\TeXLive<year>, under HKEY_LOCAL_MACHINE
//   for an installation for all users and HKEY_CURRENT_USER otherwise, whose UninstallString is
//   "<root>\tlpkg\installer\uninst.bat"; and its bin folder on the Path in the user's or the
//   system's Environment key. Its default root is %SystemDrive%\texlive\<year>,
//   whoever installs; the programs are in bin\windows (bin\win32 before 2023).
// - MiKTeX: its configuration under Software\MiKTeX.org\MiKTeX\<series>\Core, whose values
//   UserInstall and CommonInstall name the per-user and the all-users root; the programs are in
//   miktex\bin\x64 (miktex\bin for 32-bit MiKTeX). It also puts that folder on the Path.
// - Ghostscript: Software\<edition>\<version>, edition "GPL Ghostscript" (and "Artifex" and "AFPL"
//   Ghostscript for the commercial and the older free one), under HKEY_LOCAL_MACHINE (or HKCU),
//   whose value GS_DLL names the DLL in the bin folder beside gswin64c.exe or gswin32c.exe. Its
//   default folder is Program Files\gs\gs<version>\bin.
//
// Each place is a row of a table, and one walk goes through the rows in order.
#include "command/program_lookup.h"

#include <cwchar>
#include <span>

#include "command/command_words.h"
#include "command/lookup_system.h"
#include "paths/path_system.h"

namespace {

constexpr std::size_t PATH_SIZE = PATH_FIELD_SIZE;

// True when text starts with start (up to a "*" in it), ASCII case ignored, as Windows compares
// names.
bool startsWithFolded(const wchar_t* text, const wchar_t* start) {
  const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
  while (*start != L'\0' && *start != L'*' && lower(*text) == lower(*start)) ++text, ++start;
  return *start == L'\0' || *start == L'*';
}

// The pieces one after another in path; false when they do not fit.
bool join(WidePathText& path, std::initializer_list<const wchar_t*> pieces) {
  std::size_t length = 0;
  for (const wchar_t* piece : pieces) {
    const std::size_t pieceLength = std::wcslen(piece);
    if (length + pieceLength >= PATH_SIZE) return false;
    std::wmemcpy(path + length, piece, pieceLength + 1);
    length += pieceLength;
  }
  return true;
}

bool environment(const wchar_t* name, WidePathText& value) {
  const std::uint32_t length = environmentText(name, value, PATH_SIZE);
  return length != 0 && length < PATH_SIZE;
}

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// How a place ranks the installations it finds: the first that holds the program ends the search;
// or the newest wins (the first among equals), over the rows that rank together.
enum class Rank : unsigned char { First, Year, Version };

// A subkey's or a subfolder's name as a rank: a year is four digits and nothing else; a version
// such as "10.02.1" or "9.56" its numbers in one, each part below 1000 after the first. 0 ranks
// nothing.
long long rankOf(Rank rank, const wchar_t* name) {
  if (rank == Rank::First) return 1;
  for (int at = 0; rank == Rank::Year && at < 5; ++at)
    if (at < 4 ? !isDigit(name[at]) : name[at] != L'\0') return 0;
  long long number = 0;
  for (int part = 0; part < 4; ++part) {
    long long partNumber = 0;
    while (isDigit(*name) && partNumber < 100000) partNumber = partNumber * 10 + (*name++ - L'0');
    number = number * 1000 + partNumber;
    if (*name == L'.') ++name;
  }
  return number;
}

enum class From : unsigned char {
  SearchPath,     // process creation's search
  RegistryList,   // each folder of a ';'-separated registry text, a Path
  RegistryRoots,  // under each subkey of the keys, a registry text that names a root
  Folders,        // the default folders
  Subfolders,     // each subfolder of the default folders
  DvipsFolder,    // the folder of the dvips that runs
};

// What a registry text names beyond the root: nothing, TeX Live's uninstaller, or a file in it.
enum class Cut : unsigned char { None, Uninstaller, File };

// Lists of texts end with a null.
using Texts = const wchar_t* const*;

struct Place {
  From from;
  Rank rank;
  Cut cut;
  unsigned char registries;  // the registry places looked at, a bit each
  bool ranksWithNext;
  Texts keys;                    // registry keys, in each registry place
  const DefaultFolder* folders;  // ended by an empty one
  // A subkey's or subfolder's name, "*" for the part that ranks, then what follows it in the path.
  const wchar_t* pattern;
  Texts values;  // registry texts, tried in order
  Texts bins;    // where a root keeps the programs, in order; none: the root
  Texts files;   // the programs, in order; none: the name asked for
};

// The places that the installers write to, in order: the user's registry, the machine's 64-bit
// view, then its 32-bit view.
constexpr struct {
  RegistryRoot root;
  RegistryView view;
} REGISTRY_PLACES[] = {{REGISTRY_CURRENT_USER, REGISTRY_64},
                       {REGISTRY_LOCAL_MACHINE, REGISTRY_64},
                       {REGISTRY_LOCAL_MACHINE, REGISTRY_32}};
enum : unsigned char { USER = 1, MACHINE = 2, MACHINE_32 = 4, INSTALLERS = 7 };

constexpr const wchar_t* USER_ENVIRONMENT[] = {L"Environment", nullptr};
constexpr const wchar_t* SYSTEM_ENVIRONMENT[] = {
    L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", nullptr};
constexpr const wchar_t* UNINSTALL[] = {L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                                        nullptr};
constexpr const wchar_t* MIKTEX[] = {L"Software\\MiKTeX.org\\MiKTeX", nullptr};
constexpr const wchar_t* GHOSTSCRIPT[] = {L"Software\\GPL Ghostscript",
                                          L"Software\\Artifex Ghostscript",
                                          L"Software\\AFPL Ghostscript", nullptr};
constexpr const wchar_t* TEX_LIVE_BIN[] = {L"bin\\windows\\", L"bin\\win32\\", nullptr};
constexpr const wchar_t* MIKTEX_BIN[] = {L"miktex\\bin\\x64\\", L"miktex\\bin\\", nullptr};
constexpr const wchar_t* PATH[] = {L"Path", nullptr};
constexpr const wchar_t* UNINSTALL_STRING[] = {L"UninstallString", nullptr};
constexpr const wchar_t* MIKTEX_ROOTS[] = {L"UserInstall", L"CommonInstall", nullptr};
constexpr const wchar_t* GS_DLL[] = {L"GS_DLL", nullptr};
constexpr const wchar_t* GS_PROGRAMS[] = {L"gswin64c.exe", L"gswin32c.exe", nullptr};
constexpr const wchar_t* GS_ON_PATH[] = {L"gswin64c.exe", L"gswin32c.exe", L"gs.exe", nullptr};
constexpr const wchar_t* BESIDE_DVIPS[] = {L"rungs.exe", L"mgs.exe", nullptr};

using enum From;
using enum Rank;
using enum Cut;

// The Path that the registry gives new processes finds what a Corvane started before TeX was
// installed misses. For one year, TeX Live's registry entry comes before its default folder.
// clang-format off
constexpr Place DVIPS_PLACES[] = {
//  from           rank   cut          registries  ranks with the next
//    registry keys       default folders      pattern     values            bins          files
    {SearchPath,    First, None,        0,          false,
      nullptr,            nullptr,             L"*",       nullptr,          nullptr,      nullptr},
    {RegistryList,  First, None,        USER,       false,
      USER_ENVIRONMENT,   nullptr,             L"*",       PATH,             nullptr,      nullptr},
    {RegistryList,  First, None,        MACHINE,    false,
      SYSTEM_ENVIRONMENT, nullptr,             L"*",       PATH,             nullptr,      nullptr},
    {RegistryRoots, Year,  Uninstaller, INSTALLERS, true,
      UNINSTALL,          nullptr,             L"TeXLive*", UNINSTALL_STRING, TEX_LIVE_BIN, nullptr},
    {Subfolders,    Year,  None,        0,          false,
      nullptr,            TEX_LIVE_FOLDERS,    L"*",       nullptr,          TEX_LIVE_BIN, nullptr},
    {RegistryRoots, First, None,        INSTALLERS, false,
      MIKTEX,             nullptr,             L"*\\Core", MIKTEX_ROOTS,     MIKTEX_BIN,   nullptr},
    {Folders,       First, None,        0,          false,
      nullptr,            MIKTEX_FOLDERS,      L"*",       nullptr,          MIKTEX_BIN,   nullptr},
};

// The newest Ghostscript of any edition in the first registry place that has one, the machine's
// 64-bit view first; then the newest in any Program Files.
constexpr Place GHOSTSCRIPT_PLACES[] = {
    {RegistryRoots, Version, File,      MACHINE,    false,
      GHOSTSCRIPT,        nullptr,             L"*",       GS_DLL,           nullptr,      GS_PROGRAMS},
    {RegistryRoots, Version, File,      USER,       false,
      GHOSTSCRIPT,        nullptr,             L"*",       GS_DLL,           nullptr,      GS_PROGRAMS},
    {RegistryRoots, Version, File,      MACHINE_32, false,
      GHOSTSCRIPT,        nullptr,             L"*",       GS_DLL,           nullptr,      GS_PROGRAMS},
    {Subfolders,    Version, None,      0,          false,
      nullptr,            GHOSTSCRIPT_FOLDERS, L"gs*\\bin", nullptr,          nullptr,      GS_PROGRAMS},
    {SearchPath,    First, None,        0,          false,
      nullptr,            nullptr,             L"*",       nullptr,          nullptr,      GS_ON_PATH},
    {DvipsFolder,   First, None,        0,          false,
      nullptr,            nullptr,             L"*",       nullptr,          nullptr,      BESIDE_DVIPS},
};
// clang-format on

// The rank of a subkey's or subfolder's name that the place's pattern matches; 0 for any other.
long long rankOfName(const Place& place, const wchar_t* name) {
  const wchar_t* star = std::wcschr(place.pattern, L'*');
  return startsWithFolded(name, place.pattern) ? rankOf(place.rank, name + (star - place.pattern))
                                               : 0;
}

// One search for one program: the best rank so far and what holds it.
struct Search {
  const wchar_t* file;
  long long best;
  WidePathText& found;
};

// The program under the root, in the first of the bins that holds it, when it ranks above the
// best.
void offer(Search& search, const Place& place, long long rank, const wchar_t* root) {
  if (rank <= search.best || root[0] == L'\0') return;
  constexpr const wchar_t* ROOT[] = {L"", nullptr};
  for (Texts bin = place.bins != nullptr ? place.bins : ROOT; *bin != nullptr; ++bin) {
    WidePathText candidate;
    if (join(candidate, {root, separatorAfter(root), *bin, search.file}) &&
        isExistingFile(candidate)) {
      std::wmemcpy(search.found, candidate, PATH_SIZE);
      search.best = rank;
      return;
    }
  }
}

// The root that a registry text names; false when it names none.
bool cutToRoot(Cut cut, wchar_t*& text) {
  if (cut == Cut::None) return true;
  if (cut == Cut::File) {
    wchar_t* separator = const_cast<wchar_t*>(lastSeparator(text));
    if (separator != nullptr) *separator = L'\0';
    return separator != nullptr;
  }
  // The uninstaller is a command: "C:\texlive\2024\tlpkg\installer\uninst.bat", in quotes.
  constexpr wchar_t UNINSTALLER[] = L"\\tlpkg\\installer\\uninst.bat";
  constexpr std::size_t UNINSTALLER_LENGTH = sizeof UNINSTALLER / sizeof UNINSTALLER[0] - 1;
  wchar_t* end = text + std::wcslen(text);
  if (end - text >= 2 && text[0] == L'"' && end[-1] == L'"') *--end = L'\0', ++text;
  if (static_cast<std::size_t>(end - text) < UNINSTALLER_LENGTH ||
      !startsWithFolded(end - UNINSTALLER_LENGTH, UNINSTALLER))
    return false;
  end[-static_cast<std::ptrdiff_t>(UNINSTALLER_LENGTH)] = L'\0';
  return true;
}

// Each folder of a Path, quotes removed.
void offerEachFolder(Search& search, const Place& place, const wchar_t* list) {
  for (const wchar_t* at = list; *at != L'\0' && search.best == 0;) {
    const wchar_t* end = at;
    while (*end != L'\0' && *end != L';') ++end;
    WidePathText folder;
    std::size_t length = 0;
    for (const wchar_t* c = at; c < end && length + 1 < PATH_SIZE; ++c)
      if (*c != L'"') folder[length++] = *c;
    folder[length] = L'\0';
    if (static_cast<std::size_t>(end - at) < PATH_SIZE) offer(search, place, 1, folder);
    at = *end == L';' ? end + 1 : end;
  }
}

bool isDone(const Place& place, const Search& search) {
  return place.rank == First && search.best != 0;
}

void lookInRegistry(const Place& place, Search& search) {
  WidePathText name, key, text;
  // On the stack: the PDF page looks on a thread of its own while the composer may look too.
  wchar_t registryList[WIDE_PATH_SIZE];
  for (unsigned bit = 0; bit < 3; ++bit)
    for (Texts parent = place.keys; (place.registries & 1u << bit) != 0 && *parent != nullptr;
         ++parent) {
      const auto [root, view] = REGISTRY_PLACES[bit];
      for (Texts value = place.values; place.from == RegistryList && *value != nullptr; ++value)
        if (!isDone(place, search) &&
            registryText(root, view, *parent, *value, registryList, WIDE_PATH_SIZE))
          offerEachFolder(search, place, registryList);
      for (std::uint32_t index = 0; place.from == RegistryRoots && !isDone(place, search) &&
                                    registrySubkey(root, view, *parent, index, name, PATH_SIZE);
           ++index) {
        const long long rank = rankOfName(place, name);
        if (rank == 0 || !join(key, {*parent, L"\\", name, std::wcschr(place.pattern, L'*') + 1}))
          continue;
        for (Texts value = place.values; *value != nullptr; ++value) {
          wchar_t* named = text;
          if (!isDone(place, search) && registryText(root, view, key, *value, text, PATH_SIZE) &&
              cutToRoot(place.cut, named))
            offer(search, place, rank, named);
        }
      }
    }
}

void lookInFolders(const Place& place, Search& search) {
  WidePathText variable, folder, name, subfolderPath;
  for (const DefaultFolder* base = place.folders; base->variable != nullptr; ++base) {
    if (isDone(place, search) || !environment(base->variable, variable) ||
        !join(folder, {variable, base->below}))
      continue;
    if (place.from == Folders) offer(search, place, 1, folder);
    for (std::uint32_t index = 0;
         place.from == Subfolders && subfolder(folder, index, name, PATH_SIZE); ++index)
      if (join(subfolderPath, {folder, L"\\", name, std::wcschr(place.pattern, L'*') + 1}))
        offer(search, place, rankOfName(place, name), subfolderPath);
  }
}

void look(const Place& place, Search& search, const wchar_t* dvipsPath) {
  WidePathText found;
  switch (place.from) {
    case SearchPath: {
      const std::uint32_t length = searchPathFor(search.file, found, PATH_SIZE);
      if (length == 0 || length >= PATH_SIZE) return;
      std::wmemcpy(search.found, found, PATH_SIZE);
      search.best = 1;
      return;
    }
    case RegistryList:
    case RegistryRoots: return lookInRegistry(place, search);
    case Folders:
    case Subfolders: return lookInFolders(place, search);
    case DvipsFolder: {
      const wchar_t* separator = lastSeparator(dvipsPath);
      if (separator == nullptr) return;
      const auto length = static_cast<std::size_t>(separator - dvipsPath) + 1;
      if (length >= PATH_SIZE) return;
      std::wmemcpy(found, dvipsPath, length);
      found[length] = L'\0';
      return offer(search, place, 1, found);
    }
  }
}

// The places in order; rows that rank together give the newest of what any of them finds, for
// each of their programs in turn.
bool walk(std::span<const Place> places, Texts asked, const wchar_t* dvipsPath,
          WidePathText& found) {
  for (std::size_t first = 0, end = 0; first < places.size(); first = end) {
    for (end = first; places[end].ranksWithNext;) ++end;
    ++end;
    for (Texts file = places[first].files != nullptr ? places[first].files : asked;
         *file != nullptr; ++file) {
      Search search{*file, 0, found};
      for (std::size_t row = first; row < end; ++row) look(places[row], search, dvipsPath);
      if (search.best != 0) return true;
    }
  }
  return false;
}

}  // namespace

bool namesNoFolder(const char* program) { return fileNameOf(program) == program; }

bool findDvips(const char* name, WidePathText& found) {
  WidePathText wideName, withExtension;
  if (widePathName(name, wideName, PATH_SIZE) == 0) return false;
  // As process creation adds it.
  const bool hasExtension = lastCharacterOf(fileNameOf(wideName), L".") != nullptr;
  const wchar_t* const file[] = {
      hasExtension || !join(withExtension, {wideName, L".exe"}) ? wideName : withExtension,
      nullptr};
  return walk(DVIPS_PLACES, file, L"", found);
}

bool dvipsThatWillRun(const char* field, DvipsToRun& dvips) {
  programOfField(field, dvips.typed, sizeof dvips.typed);
  dvips.path[0] = L'\0';
  dvips.lookedUpInVain = false;
  const std::uint32_t length = shortPathName(dvips.typed, dvips.shortForm, sizeof dvips.shortForm);
  if (length != 0 && length < sizeof dvips.shortForm)
    return widePathName(dvips.typed, dvips.path, PATH_SIZE) != 0;
  dvips.shortForm[0] = '\0';
  if (!namesNoFolder(dvips.typed) || dvips.typed[0] == '\0') return false;
  dvips.lookedUpInVain = !findDvips(dvips.typed, dvips.path);
  if (dvips.lookedUpInVain) dvips.path[0] = L'\0';
  return !dvips.lookedUpInVain;
}

bool findGhostscript(const wchar_t* dvipsPath, WidePathText& found) {
  return walk(GHOSTSCRIPT_PLACES, nullptr, dvipsPath, found);
}

void programForCommand(const wchar_t* found, PathText& program) {
  if (widePathToField(found, program) != 0 && widePathToField(fileNameOf(found), program) != 0)
    program[0] = '\0';
}

std::size_t defaultFolders(const DefaultFolder* places,
                           WidePathText (&folders)[MOST_DEFAULT_FOLDERS]) {
  std::size_t count = 0;
  for (const DefaultFolder* place = places; place->variable != nullptr; ++place) {
    WidePathText variable;
    if (count == MOST_DEFAULT_FOLDERS || !environment(place->variable, variable) ||
        !join(folders[count], {variable, place->below}))
      continue;
    std::size_t earlier = 0;
    while (earlier < count && !(std::wcslen(folders[earlier]) == std::wcslen(folders[count]) &&
                                startsWithFolded(folders[earlier], folders[count])))
      ++earlier;
    if (earlier == count) ++count;
  }
  return count;
}
