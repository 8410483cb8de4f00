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
// - Ghostscript: Software\<edition>\<version>, edition "GPL Ghostscript" (and "Artifex", "AFPL",
//   "GNU", "Aladdin" Ghostscript for the others), under HKEY_LOCAL_MACHINE (or HKEY_CURRENT_USER),
//   whose value GS_DLL names the DLL in the bin folder beside gswin64c.exe or gswin32c.exe. Its
//   default folder is Program Files\gs\gs<version>\bin.
#include "paths/program_lookup.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/strings.h"
#include "app/text_format.h"
#include "paths/lookup_system.h"
#include "paths/path_rules.h"
#include "resources/resource.h"

namespace {

constexpr std::size_t PATH_SIZE = PATH_FIELD_SIZE;

// --- Texts ---------------------------------------------------------------------------------

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(const char* a, const char* b) {
  while (*a != '\0' && lowerAscii(*a) == lowerAscii(*b)) ++a, ++b;
  return lowerAscii(*a) == lowerAscii(*b);
}

bool startsWithIgnoringCase(const char* text, const char* start) {
  while (*start != '\0' && lowerAscii(*text) == lowerAscii(*start)) ++text, ++start;
  return *start == '\0';
}

bool endsWithIgnoringCase(const char* text, const char* end) {
  const std::size_t length = std::strlen(text), endLength = std::strlen(end);
  return length >= endLength && equalIgnoringCase(text + length - endLength, end);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Sorts the first count entries so that earlier comes first, keeping the order of equal ones (the
// lists are a few entries long).
template <typename Entry, std::size_t N, typename Earlier>
void sortFirst(std::array<Entry, N>& entries, std::size_t count, Earlier earlier) {
  for (std::size_t next = 1; next < count; ++next)
    for (std::size_t at = next; at > 0 && earlier(entries[at], entries[at - 1]); --at)
      std::swap(entries[at], entries[at - 1]);
}

// Appends the texts to path; false, with path cut back to what it held, when they do not fit.
bool append(PathText& path, std::initializer_list<const char*> pieces) {
  const std::size_t start = std::strlen(path);
  std::size_t length = start;
  for (const char* piece : pieces) {
    const std::size_t pieceLength = std::strlen(piece);
    if (length + pieceLength >= PATH_SIZE) {
      path[start] = '\0';
      return false;
    }
    std::memcpy(path + length, piece, pieceLength + 1);
    length += pieceLength;
  }
  return true;
}

bool join(PathText& path, std::initializer_list<const char*> pieces) {
  path[0] = '\0';
  return append(path, pieces);
}

// The program's file name: as typed, with ".exe" when it has no extension, as process creation
// adds it.
const char* programFileName(const char* name, PathText& buffer) {
  if (lastCharacterOf(fileNameOf(name), ".") != nullptr) return name;
  return join(buffer, {name, ".exe"}) ? buffer : name;
}

// The environment variable's text, or an empty text.
bool environment(const char* name, PathText& value) {
  const std::uint32_t length = environmentText(name, value, PATH_SIZE);
  if (length == 0 || length >= PATH_SIZE) {
    value[0] = '\0';
    return false;
  }
  return true;
}

// --- Candidates ----------------------------------------------------------------------------

// folder\file when it exists.
bool fileIn(const char* folder, const char* subfolder, const char* file, PathText& found) {
  if (folder[0] == '\0') return false;
  PathText candidate;
  const char* separator = lastSeparator(folder);
  const bool separated = separator != nullptr && separator[1] == '\0';
  if (!join(candidate, {folder, separated ? "" : "\\", subfolder, file})) return false;
  if (!isExistingFile(candidate)) return false;
  std::memcpy(found, candidate, PATH_SIZE);
  return true;
}

// The program folders a distribution root holds, in the order they are tried.
bool programIn(const char* root, std::initializer_list<const char*> subfolders, const char* file,
               PathText& found) {
  for (const char* subfolder : subfolders)
    if (fileIn(root, subfolder, file, found)) return true;
  return false;
}

// Each folder of a ';'-separated list, quotes removed, that holds the file.
bool fileOnList(const char* list, const char* file, PathText& found) {
  const char* at = list;
  while (*at != '\0') {
    const char* end = at;
    while (*end != '\0' && *end != ';') ++end;
    PathText folder;
    std::size_t length = 0;
    for (const char* c = at; c < end && length + 1 < PATH_SIZE; ++c)
      if (*c != '"') folder[length++] = *c;
    folder[length] = '\0';
    if (static_cast<std::size_t>(end - at) < PATH_SIZE && fileIn(folder, "", file, found))
      return true;
    at = *end == ';' ? end + 1 : end;
  }
  return false;
}

// The Path that the registry holds for processes started from now on: the user's, then the
// system's. A Corvane started before TeX was installed has the older one in its environment.
ZERO_FILLED char registryPath[32768];

bool fileOnRegistryPath(const char* file, PathText& found) {
  struct Source {
    RegistryRoot root;
    const char* key;
  };
  constexpr Source sources[] = {
      {REGISTRY_CURRENT_USER, "Environment"},
      {REGISTRY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment"},
  };
  for (const Source& source : sources)
    if (registryText(source.root, REGISTRY_64, source.key, "Path", registryPath,
                     sizeof registryPath) &&
        fileOnList(registryPath, file, found))
      return true;
  return false;
}

// The registry places that the installers write to: the user's, then the machine's 64-bit view,
// then its 32-bit view.
struct RegistryPlace {
  RegistryRoot root;
  RegistryView view;
};
constexpr RegistryPlace registryPlaces[] = {
    {REGISTRY_CURRENT_USER, REGISTRY_64},
    {REGISTRY_LOCAL_MACHINE, REGISTRY_64},
    {REGISTRY_LOCAL_MACHINE, REGISTRY_32},
};

// --- TeX Live ------------------------------------------------------------------------------

struct YearRoot {
  int year;
  PathText root;
};
constexpr std::size_t MAX_ROOTS = 24;
ZERO_FILLED std::array<YearRoot, MAX_ROOTS> texLiveRoots;
std::size_t texLiveRootCount = 0;

int yearOf(const char* text) {
  if (std::strlen(text) != 4 || !std::all_of(text, text + 4, isDigit)) return 0;
  return std::atoi(text);
}

void addTexLiveRoot(int year, const char* root) {
  if (year == 0 || texLiveRootCount == MAX_ROOTS) return;
  YearRoot& entry = texLiveRoots[texLiveRootCount];
  if (!join(entry.root, {root})) return;
  entry.year = year;
  ++texLiveRootCount;
}

// "TeXLive2024" with UninstallString "C:\texlive\2024\tlpkg\installer\uninst.bat", quoted.
void visitUninstallEntry(const char* name, void* context) {
  constexpr char PREFIX[] = "TeXLive";
  constexpr char UNINSTALLER[] = "\\tlpkg\\installer\\uninst.bat";
  if (!startsWithIgnoringCase(name, PREFIX)) return;
  const int year = yearOf(name + sizeof PREFIX - 1);
  if (year == 0) return;
  const RegistryPlace& place = *static_cast<const RegistryPlace*>(context);
  PathText key, command;
  if (!join(key, {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\", name}) ||
      !registryText(place.root, place.view, key, "UninstallString", command, PATH_SIZE))
    return;
  char* text = command;
  std::size_t length = std::strlen(text);
  if (length >= 2 && text[0] == '"' && text[length - 1] == '"') {
    text[--length] = '\0';
    ++text;
    --length;
  }
  if (!endsWithIgnoringCase(text, UNINSTALLER)) return;
  text[length - (sizeof UNINSTALLER - 1)] = '\0';
  addTexLiveRoot(year, text);
}

void visitTexLiveFolder(const char* name, void* context) {
  const char* parent = static_cast<const char*>(context);
  PathText root;
  if (join(root, {parent, "\\", name})) addTexLiveRoot(yearOf(name), root);
}

// Every TeX Live root that the registry or the default folder knows, newest year first; for one
// year the registry's comes first.
void collectTexLiveRoots() {
  texLiveRootCount = 0;
  for (const RegistryPlace& place : registryPlaces)
    forEachRegistrySubkey(place.root, place.view,
                          "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                          visitUninstallEntry, const_cast<RegistryPlace*>(&place));
  PathText drive, parent;
  if (environment("SystemDrive", drive) && join(parent, {drive, "\\texlive"}))
    forEachSubfolder(parent, visitTexLiveFolder, parent);
  sortFirst(texLiveRoots, texLiveRootCount,
            [](const YearRoot& a, const YearRoot& b) { return a.year > b.year; });
}

constexpr std::initializer_list<const char*> TEX_LIVE_BIN = {"bin\\windows\\", "bin\\win32\\"};

// --- MiKTeX --------------------------------------------------------------------------------

constexpr std::initializer_list<const char*> MIKTEX_BIN = {"miktex\\bin\\x64\\", "miktex\\bin\\"};

struct MiktexVisit {
  RegistryPlace place;
  const char* file;
  PathText* found;
  bool done;
};

void visitMiktexSeries(const char* series, void* context) {
  auto* visit = static_cast<MiktexVisit*>(context);
  if (visit->done) return;
  PathText key, root;
  if (!join(key, {"Software\\MiKTeX.org\\MiKTeX\\", series, "\\Core"})) return;
  for (const char* value : {"UserInstall", "CommonInstall"})
    if (registryText(visit->place.root, visit->place.view, key, value, root, PATH_SIZE) &&
        programIn(root, MIKTEX_BIN, visit->file, *visit->found)) {
      visit->done = true;
      return;
    }
}

// Where MiKTeX installs by default: for the user, then under the 64-bit and 32-bit Program Files
// (a 32-bit program finds the 64-bit one only through ProgramW6432).
constexpr const char* PROGRAM_FOLDERS[] = {"ProgramW6432", "ProgramFiles", "ProgramFiles(x86)"};

std::size_t programFolders(std::array<PathText, 3>& folders) {
  std::size_t count = 0;
  for (const char* variable : PROGRAM_FOLDERS) {
    if (!environment(variable, folders[count])) continue;
    bool seen = false;
    for (std::size_t earlier = 0; earlier < count; ++earlier)
      seen = seen || equalIgnoringCase(folders[earlier], folders[count]);
    if (!seen) ++count;
  }
  return count;
}

std::size_t miktexDefaultRoots(std::array<PathText, 4>& roots) {
  std::size_t count = 0;
  PathText local;
  if (environment("LOCALAPPDATA", local) && join(roots[count], {local, "\\Programs\\MiKTeX"}))
    ++count;
  std::array<PathText, 3> folders;
  const std::size_t folderCount = programFolders(folders);
  for (std::size_t index = 0; index < folderCount; ++index)
    if (join(roots[count], {folders[index], "\\MiKTeX"})) ++count;
  return count;
}

bool findMiktex(const char* file, PathText& found) {
  for (const RegistryPlace& place : registryPlaces) {
    MiktexVisit visit{place, file, &found, false};
    forEachRegistrySubkey(place.root, place.view, "Software\\MiKTeX.org\\MiKTeX", visitMiktexSeries,
                          &visit);
    if (visit.done) return true;
  }
  std::array<PathText, 4> roots;
  const std::size_t count = miktexDefaultRoots(roots);
  for (std::size_t index = 0; index < count; ++index)
    if (programIn(roots[index], MIKTEX_BIN, file, found)) return true;
  return false;
}

// --- Ghostscript ---------------------------------------------------------------------------

constexpr const char* GHOSTSCRIPT_EDITIONS[] = {"GPL Ghostscript", "Artifex Ghostscript",
                                                "AFPL Ghostscript", "GNU Ghostscript",
                                                "Aladdin Ghostscript"};
constexpr std::initializer_list<const char*> GHOSTSCRIPT_PROGRAMS = {"gswin64c.exe",
                                                                     "gswin32c.exe"};

// Up to four numbers of a version such as "10.02.1"; a text that is no version gives none.
struct Version {
  std::array<int, 4> parts{};
  bool valid = false;
};

Version versionOf(const char* text) {
  Version version;
  std::size_t part = 0;
  while (isDigit(*text) && part < version.parts.size()) {
    int number = 0;
    while (isDigit(*text) && number < 100000) number = number * 10 + (*text++ - '0');
    version.parts[part++] = number;
    if (*text != '.') break;
    ++text;
  }
  version.valid = part > 0;
  return version;
}

struct VersionedFolder {
  Version version;
  PathText folder;
};
ZERO_FILLED std::array<VersionedFolder, MAX_ROOTS> ghostscriptFolders;
std::size_t ghostscriptFolderCount = 0;

void addGhostscriptFolder(const Version& version, const char* folder) {
  if (!version.valid || ghostscriptFolderCount == MAX_ROOTS) return;
  VersionedFolder& entry = ghostscriptFolders[ghostscriptFolderCount];
  if (!join(entry.folder, {folder})) return;
  entry.version = version;
  ++ghostscriptFolderCount;
}

bool newestGhostscriptFolder(PathText& found) {
  sortFirst(ghostscriptFolders, ghostscriptFolderCount,
            [](const VersionedFolder& a, const VersionedFolder& b) {
              return a.version.parts > b.version.parts;
            });
  for (std::size_t index = 0; index < ghostscriptFolderCount; ++index)
    for (const char* program : GHOSTSCRIPT_PROGRAMS)
      if (fileIn(ghostscriptFolders[index].folder, "", program, found)) return true;
  return false;
}

struct EditionVisit {
  RegistryPlace place;
  const char* edition;
};

// "10.02.1" with GS_DLL "C:\Program Files\gs\gs10.02.1\bin\gsdll64.dll": the DLL's folder.
void visitGhostscriptVersion(const char* name, void* context) {
  const auto* visit = static_cast<EditionVisit*>(context);
  PathText key, library;
  if (!join(key, {"Software\\", visit->edition, "\\", name}) ||
      !registryText(visit->place.root, visit->place.view, key, "GS_DLL", library, PATH_SIZE))
    return;
  char* separator = const_cast<char*>(lastSeparator(library));
  if (separator == nullptr) return;
  *separator = '\0';
  addGhostscriptFolder(versionOf(name), library);
}

bool findGhostscriptInRegistry(PathText& found) {
  constexpr RegistryPlace places[] = {
      {REGISTRY_LOCAL_MACHINE, REGISTRY_64},
      {REGISTRY_CURRENT_USER, REGISTRY_64},
      {REGISTRY_LOCAL_MACHINE, REGISTRY_32},
  };
  for (const RegistryPlace& place : places) {
    ghostscriptFolderCount = 0;
    for (const char* edition : GHOSTSCRIPT_EDITIONS) {
      EditionVisit visit{place, edition};
      PathText key;
      if (join(key, {"Software\\", edition}))
        forEachRegistrySubkey(place.root, place.view, key, visitGhostscriptVersion, &visit);
    }
    if (newestGhostscriptFolder(found)) return true;
  }
  return false;
}

void visitGhostscriptFolder(const char* name, void* context) {
  const char* parent = static_cast<const char*>(context);
  if (lowerAscii(name[0]) != 'g' || lowerAscii(name[1]) != 's' || !isDigit(name[2])) return;
  PathText folder;
  if (join(folder, {parent, "\\", name, "\\bin"}))
    addGhostscriptFolder(versionOf(name + 2), folder);
}

bool findGhostscriptInProgramFiles(PathText& found) {
  ghostscriptFolderCount = 0;
  std::array<PathText, 3> folders;
  const std::size_t count = programFolders(folders);
  for (std::size_t index = 0; index < count; ++index) {
    PathText parent;
    if (join(parent, {folders[index], "\\gs"}))
      forEachSubfolder(parent, visitGhostscriptFolder, parent);
  }
  return newestGhostscriptFolder(found);
}

// --- The places text -----------------------------------------------------------------------

ZERO_FILLED char placesText[PLACES_TEXT_SIZE];

// The folders, each followed by the suffix, separated by commas.
template <std::size_t N, std::size_t M>
void listFolders(char (&list)[N], const std::array<PathText, M>& folders, std::size_t count,
                 const char* suffix) {
  list[0] = '\0';
  for (std::size_t index = 0; index < count; ++index)
    appendFormatted(list, "%s%s%s", {index == 0 ? "" : ", ", folders[index], suffix});
}

// The string-table sentence of places with its texts filled, an empty line, and the advice.
const char* placesAndAdvice(int placesId, std::initializer_list<const char*> texts, int adviceId) {
  placesText[0] = '\0';
  appendFormatted(placesText, loadResourceString(placesId), texts);
  appendFormatted(placesText, "\r\n\r\n%s", {loadResourceString(adviceId)});
  return placesText;
}

}  // namespace

const char* lastCharacterOf(const char* text, const char* set) {
  const char* last = nullptr;
  for (const char* at = text; *at != '\0'; at += isLeadByte(*at) && at[1] != '\0' ? 2 : 1)
    if (!isLeadByte(*at) && std::strchr(set, *at) != nullptr) last = at;
  return last;
}

const char* fileNameOf(const char* path) {
  const char* end = lastCharacterOf(path, "\\/:");
  return end == nullptr ? path : end + 1;
}

bool namesNoFolder(const char* program) { return fileNameOf(program) == program; }

bool findDvips(const char* name, PathText& found) {
  PathText withExtension;
  const char* file = programFileName(name, withExtension);
  const std::uint32_t length = searchPathFor(name, found, PATH_SIZE);
  if (length != 0 && length < PATH_SIZE) return true;
  if (fileOnRegistryPath(file, found)) return true;
  collectTexLiveRoots();
  for (std::size_t index = 0; index < texLiveRootCount; ++index)
    if (programIn(texLiveRoots[index].root, TEX_LIVE_BIN, file, found)) return true;
  return findMiktex(file, found);
}

bool dvipsThatWillRun(PathText& path) {
  if (isExistingFile(options.programFile)) return join(path, {options.programFile});
  return namesNoFolder(options.programFile) && options.programFile[0] != '\0' &&
         findDvips(options.programFile, path);
}

bool findGhostscript(const char* dvipsPath, PathText& found) {
  if (findGhostscriptInRegistry(found) || findGhostscriptInProgramFiles(found)) return true;
  for (const char* program : {"gswin64c.exe", "gswin32c.exe", "gs.exe"}) {
    const std::uint32_t length = searchPathFor(program, found, PATH_SIZE);
    if (length != 0 && length < PATH_SIZE) return true;
  }
  const char* separator = lastSeparator(dvipsPath);
  if (separator == nullptr) return false;
  PathText folder;
  copyText(folder, static_cast<std::size_t>(separator - dvipsPath) + 1, dvipsPath);
  return programIn(folder, {""}, "rungs.exe", found) || programIn(folder, {""}, "mgs.exe", found);
}

const char* dvipsPlacesLooked(const char* name) {
  PathText drive, texLive;
  if (!environment("SystemDrive", drive)) copyText(drive, "C:");
  join(texLive, {drive, "\\texlive\\<year>\\bin\\windows"});
  std::array<PathText, 4> roots;
  char miktex[4 * PATH_FIELD_SIZE];
  listFolders(miktex, roots, miktexDefaultRoots(roots), "");
  return placesAndAdvice(IDS_DVIPS_PLACES, {name, texLive, miktex}, IDS_DVIPS_ADVICE);
}

const char* ghostscriptPlacesLooked() {
  std::array<PathText, 3> programs;
  char folders[3 * PATH_FIELD_SIZE];
  listFolders(folders, programs, programFolders(programs), "\\gs");
  return placesAndAdvice(IDS_GHOSTSCRIPT_PLACES, {folders}, IDS_GHOSTSCRIPT_ADVICE);
}
