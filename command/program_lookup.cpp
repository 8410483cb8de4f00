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
#include "command/program_lookup.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "app/text_format.h"
#include "command/command_words.h"
#include "command/lookup_system.h"
#include "paths/path_rules.h"
#include "paths/path_system.h"
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
  if (!join(candidate, {folder, separatorAfter(folder), subfolder, file})) return false;
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

// --- Ranked candidates -----------------------------------------------------------------------

// The newest of several installations that hold the program: the one with the highest rank (a
// year, or a version as one number), the first found among equals.
struct Newest {
  const char* file;
  std::initializer_list<const char*> subfolders;
  RegistryPlace place;
  const char* key;
  long long rank;
  PathText* found;
};

void offer(Newest& newest, long long rank, const char* root) {
  PathText candidate;
  if (rank > newest.rank && programIn(root, newest.subfolders, newest.file, candidate)) {
    newest.rank = rank;
    std::memcpy(*newest.found, candidate, PATH_SIZE);
  }
}

// "2024", "10.02.1", "9.56": the numbers of a version in one, each part below 1000 after the
// first; 0 for a text that does not start with a digit.
long long rankOf(const char* text) {
  long long rank = 0;
  for (int part = 0; part < 4; ++part) {
    long long number = 0;
    while (isDigit(*text) && number < 100000) number = number * 10 + (*text++ - '0');
    rank = rank * 1000 + number;
    if (*text == '.') ++text;
  }
  return rank;
}

// --- TeX Live ------------------------------------------------------------------------------

constexpr std::initializer_list<const char*> TEX_LIVE_BIN = {"bin\\windows\\", "bin\\win32\\"};

int yearOf(const char* text) {
  if (std::strlen(text) != 4 || !std::all_of(text, text + 4, isDigit)) return 0;
  return std::atoi(text);
}

// "TeXLive2024" with UninstallString "C:\texlive\2024\tlpkg\installer\uninst.bat", quoted.
void visitUninstallEntry(const char* name, void* context) {
  constexpr char PREFIX[] = "TeXLive";
  constexpr char UNINSTALLER[] = "\\tlpkg\\installer\\uninst.bat";
  auto& newest = *static_cast<Newest*>(context);
  const int year = startsWithIgnoringCase(name, PREFIX) ? yearOf(name + sizeof PREFIX - 1) : 0;
  PathText key, command;
  if (year == 0 || !join(key, {newest.key, "\\", name}) ||
      !registryText(newest.place.root, newest.place.view, key, "UninstallString", command,
                    PATH_SIZE))
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
  offer(newest, year, text);
}

void visitTexLiveFolder(const char* name, void* context) {
  auto& newest = *static_cast<Newest*>(context);
  PathText root;
  if (join(root, {newest.key, "\\", name})) offer(newest, yearOf(name), root);
}

// The newest TeX Live that the registry or the default folder knows; for one year the
// registry's comes first.
bool findTexLive(const char* file, PathText& found) {
  Newest newest{file, TEX_LIVE_BIN, {}, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                0,    &found};
  for (const RegistryPlace& place : registryPlaces) {
    newest.place = place;
    forEachRegistrySubkey(place.root, place.view, newest.key, visitUninstallEntry, &newest);
  }
  PathText drive, parent;
  if (environment("SystemDrive", drive) && join(parent, {drive, "\\texlive"})) {
    newest.key = parent;
    forEachSubfolder(parent, visitTexLiveFolder, &newest);
  }
  return newest.rank != 0;
}

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
                                                "AFPL Ghostscript"};
constexpr std::initializer_list<const char*> GHOSTSCRIPT_BIN = {""};

// "10.02.1" with GS_DLL "C:\Program Files\gs\gs10.02.1\bin\gsdll64.dll": the DLL's folder.
void visitGhostscriptVersion(const char* name, void* context) {
  auto& newest = *static_cast<Newest*>(context);
  PathText key, library;
  if (!join(key, {newest.key, "\\", name}) ||
      !registryText(newest.place.root, newest.place.view, key, "GS_DLL", library, PATH_SIZE))
    return;
  char* separator = const_cast<char*>(lastSeparator(library));
  if (separator == nullptr) return;
  *separator = '\0';
  offer(newest, rankOf(name), library);
}

void visitGhostscriptFolder(const char* name, void* context) {
  auto& newest = *static_cast<Newest*>(context);
  PathText folder;
  if (lowerAscii(name[0]) == 'g' && lowerAscii(name[1]) == 's' &&
      join(folder, {newest.key, "\\", name, "\\bin"}))
    offer(newest, rankOf(name + 2), folder);
}

// The newest Ghostscript of any edition in the first registry place that has one, 64-bit first;
// then the newest in any Program Files.
bool findGhostscriptInstalled(PathText& found) {
  constexpr RegistryPlace places[] = {
      {REGISTRY_LOCAL_MACHINE, REGISTRY_64},
      {REGISTRY_CURRENT_USER, REGISTRY_64},
      {REGISTRY_LOCAL_MACHINE, REGISTRY_32},
  };
  constexpr const char* PROGRAMS[] = {"gswin64c.exe", "gswin32c.exe"};
  Newest newest{nullptr, GHOSTSCRIPT_BIN, {}, nullptr, 0, &found};
  PathText key;
  for (const RegistryPlace& place : places)
    for (const char* program : PROGRAMS) {
      newest.file = program;
      newest.place = place;
      for (const char* edition : GHOSTSCRIPT_EDITIONS)
        if (join(key, {"Software\\", edition})) {
          newest.key = key;
          forEachRegistrySubkey(place.root, place.view, key, visitGhostscriptVersion, &newest);
        }
      if (newest.rank != 0) return true;
    }
  std::array<PathText, 3> folders;
  const std::size_t count = programFolders(folders);
  for (const char* program : PROGRAMS) {
    newest.file = program;
    for (std::size_t index = 0; index < count; ++index)
      if (join(key, {folders[index], "\\gs"})) {
        newest.key = key;
        forEachSubfolder(key, visitGhostscriptFolder, &newest);
      }
    if (newest.rank != 0) return true;
  }
  return false;
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
  appendStringText(placesText, "", placesId, texts);
  appendStringText(placesText, "\r\n\r\n", adviceId);
  return placesText;
}

}  // namespace

bool namesNoFolder(const char* program) { return fileNameOf(program) == program; }

bool findDvips(const char* name, PathText& found) {
  PathText withExtension;
  const char* file = programFileName(name, withExtension);
  const std::uint32_t length = searchPathFor(name, found, PATH_SIZE);
  if (length != 0 && length < PATH_SIZE) return true;
  return fileOnRegistryPath(file, found) || findTexLive(file, found) || findMiktex(file, found);
}

bool dvipsThatWillRun(PathText& path) {
  PathText program;
  programOfField(options.programFile, program, sizeof program);
  if (isExistingFile(program)) return join(path, {program});
  return namesNoFolder(program) && program[0] != '\0' && findDvips(program, path);
}

bool findGhostscript(const char* dvipsPath, PathText& found) {
  if (findGhostscriptInstalled(found)) return true;
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
