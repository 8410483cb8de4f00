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
#include <cstring>
#include <cwchar>

#include "base/text_format.h"
#include "command/command_words.h"
#include "command/lookup_system.h"
#include "paths/path_rules.h"
#include "paths/path_system.h"
#include "resources/resource.h"

namespace {

constexpr std::size_t PATH_SIZE = PATH_FIELD_SIZE;

// --- Texts ---------------------------------------------------------------------------------

wchar_t lowerAscii(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool equalIgnoringCase(const wchar_t* a, const wchar_t* b) {
  while (*a != L'\0' && lowerAscii(*a) == lowerAscii(*b)) ++a, ++b;
  return lowerAscii(*a) == lowerAscii(*b);
}

bool startsWithIgnoringCase(const wchar_t* text, const wchar_t* start) {
  while (*start != L'\0' && lowerAscii(*text) == lowerAscii(*start)) ++text, ++start;
  return *start == L'\0';
}

bool endsWithIgnoringCase(const wchar_t* text, const wchar_t* end) {
  const std::size_t length = std::wcslen(text), endLength = std::wcslen(end);
  return length >= endLength && equalIgnoringCase(text + length - endLength, end);
}

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Appends the texts to path; false, with path cut back to what it held, when they do not fit.
bool append(WidePathText& path, std::initializer_list<const wchar_t*> pieces) {
  const std::size_t start = std::wcslen(path);
  std::size_t length = start;
  for (const wchar_t* piece : pieces) {
    const std::size_t pieceLength = std::wcslen(piece);
    if (length + pieceLength >= PATH_SIZE) {
      path[start] = L'\0';
      return false;
    }
    std::wmemcpy(path + length, piece, pieceLength + 1);
    length += pieceLength;
  }
  return true;
}

bool join(WidePathText& path, std::initializer_list<const wchar_t*> pieces) {
  path[0] = L'\0';
  return append(path, pieces);
}

// The program's file name: as typed, with ".exe" when it has no extension, as process creation
// adds it.
const wchar_t* programFileName(const wchar_t* name, WidePathText& buffer) {
  if (lastCharacterOf(fileNameOf(name), L".") != nullptr) return name;
  return join(buffer, {name, L".exe"}) ? buffer : name;
}

// The environment variable's text, or an empty text.
bool environment(const wchar_t* name, WidePathText& value) {
  const std::uint32_t length = environmentText(name, value, PATH_SIZE);
  if (length == 0 || length >= PATH_SIZE) {
    value[0] = L'\0';
    return false;
  }
  return true;
}

// --- Candidates ----------------------------------------------------------------------------

// folder\file when it exists.
bool fileIn(const wchar_t* folder, const wchar_t* subfolder, const wchar_t* file,
            WidePathText& found) {
  if (folder[0] == L'\0') return false;
  WidePathText candidate;
  if (!join(candidate, {folder, separatorAfter(folder), subfolder, file})) return false;
  if (!isExistingFile(candidate)) return false;
  std::wmemcpy(found, candidate, PATH_SIZE);
  return true;
}

// The program folders a distribution root holds, in the order they are tried.
bool programIn(const wchar_t* root, std::initializer_list<const wchar_t*> subfolders,
               const wchar_t* file, WidePathText& found) {
  for (const wchar_t* subfolder : subfolders)
    if (fileIn(root, subfolder, file, found)) return true;
  return false;
}

// Each folder of a ';'-separated list, quotes removed, that holds the file.
bool fileOnList(const wchar_t* list, const wchar_t* file, WidePathText& found) {
  const wchar_t* at = list;
  while (*at != L'\0') {
    const wchar_t* end = at;
    while (*end != L'\0' && *end != L';') ++end;
    WidePathText folder;
    std::size_t length = 0;
    for (const wchar_t* c = at; c < end && length + 1 < PATH_SIZE; ++c)
      if (*c != L'"') folder[length++] = *c;
    folder[length] = L'\0';
    if (static_cast<std::size_t>(end - at) < PATH_SIZE && fileIn(folder, L"", file, found))
      return true;
    at = *end == L';' ? end + 1 : end;
  }
  return false;
}

// The Path that the registry holds for processes started from now on: the user's, then the
// system's. A Corvane started before TeX was installed has the older one in its environment.
ZERO_FILLED wchar_t registryPath[WIDE_PATH_SIZE];

bool fileOnRegistryPath(const wchar_t* file, WidePathText& found) {
  struct Source {
    RegistryRoot root;
    const wchar_t* key;
  };
  constexpr Source sources[] = {
      {REGISTRY_CURRENT_USER, L"Environment"},
      {REGISTRY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment"},
  };
  for (const Source& source : sources)
    if (registryText(source.root, REGISTRY_64, source.key, L"Path", registryPath, WIDE_PATH_SIZE) &&
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
  const wchar_t* file;
  std::initializer_list<const wchar_t*> subfolders;
  RegistryPlace place;
  const wchar_t* key;
  long long rank;
  WidePathText* found;
};

void offer(Newest& newest, long long rank, const wchar_t* root) {
  WidePathText candidate;
  if (rank > newest.rank && programIn(root, newest.subfolders, newest.file, candidate)) {
    newest.rank = rank;
    std::wmemcpy(*newest.found, candidate, PATH_SIZE);
  }
}

// "2024", "10.02.1", "9.56": the numbers of a version in one, each part below 1000 after the
// first; 0 for a text that does not start with a digit.
long long rankOf(const wchar_t* text) {
  long long rank = 0;
  for (int part = 0; part < 4; ++part) {
    long long number = 0;
    while (isDigit(*text) && number < 100000) number = number * 10 + (*text++ - L'0');
    rank = rank * 1000 + number;
    if (*text == L'.') ++text;
  }
  return rank;
}

// --- TeX Live ------------------------------------------------------------------------------

constexpr std::initializer_list<const wchar_t*> TEX_LIVE_BIN = {L"bin\\windows\\", L"bin\\win32\\"};

int yearOf(const wchar_t* text) {
  if (std::wcslen(text) != 4 || !std::all_of(text, text + 4, isDigit)) return 0;
  int year = 0;
  for (const wchar_t* digit = text; digit < text + 4; ++digit) year = year * 10 + (*digit - L'0');
  return year;
}

// "TeXLive2024" with UninstallString "C:\texlive\2024\tlpkg\installer\uninst.bat", quoted.
void visitUninstallEntry(const wchar_t* name, void* context) {
  constexpr wchar_t PREFIX[] = L"TeXLive";
  constexpr wchar_t UNINSTALLER[] = L"\\tlpkg\\installer\\uninst.bat";
  constexpr std::size_t PREFIX_LENGTH = sizeof PREFIX / sizeof PREFIX[0] - 1;
  constexpr std::size_t UNINSTALLER_LENGTH = sizeof UNINSTALLER / sizeof UNINSTALLER[0] - 1;
  auto& newest = *static_cast<Newest*>(context);
  const int year = startsWithIgnoringCase(name, PREFIX) ? yearOf(name + PREFIX_LENGTH) : 0;
  WidePathText key, command;
  if (year == 0 || !join(key, {newest.key, L"\\", name}) ||
      !registryText(newest.place.root, newest.place.view, key, L"UninstallString", command,
                    PATH_SIZE))
    return;
  wchar_t* text = command;
  std::size_t length = std::wcslen(text);
  if (length >= 2 && text[0] == L'"' && text[length - 1] == L'"') {
    text[--length] = L'\0';
    ++text;
    --length;
  }
  if (!endsWithIgnoringCase(text, UNINSTALLER)) return;
  text[length - UNINSTALLER_LENGTH] = L'\0';
  offer(newest, year, text);
}

void visitTexLiveFolder(const wchar_t* name, void* context) {
  auto& newest = *static_cast<Newest*>(context);
  WidePathText root;
  if (join(root, {newest.key, L"\\", name})) offer(newest, yearOf(name), root);
}

// The newest TeX Live that the registry or the default folder knows; for one year the
// registry's comes first.
bool findTexLive(const wchar_t* file, WidePathText& found) {
  Newest newest{file, TEX_LIVE_BIN, {}, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                0,    &found};
  for (const RegistryPlace& place : registryPlaces) {
    newest.place = place;
    forEachRegistrySubkey(place.root, place.view, newest.key, visitUninstallEntry, &newest);
  }
  WidePathText drive, parent;
  if (environment(L"SystemDrive", drive) && join(parent, {drive, L"\\texlive"})) {
    newest.key = parent;
    forEachSubfolder(parent, visitTexLiveFolder, &newest);
  }
  return newest.rank != 0;
}

// --- MiKTeX --------------------------------------------------------------------------------

constexpr std::initializer_list<const wchar_t*> MIKTEX_BIN = {L"miktex\\bin\\x64\\",
                                                              L"miktex\\bin\\"};
constexpr wchar_t MIKTEX_KEY[] = L"Software\\MiKTeX.org\\MiKTeX";

struct MiktexVisit {
  RegistryPlace place;
  const wchar_t* file;
  WidePathText* found;
  bool done;
};

void visitMiktexSeries(const wchar_t* series, void* context) {
  auto* visit = static_cast<MiktexVisit*>(context);
  if (visit->done) return;
  WidePathText key, root;
  if (!join(key, {MIKTEX_KEY, L"\\", series, L"\\Core"})) return;
  for (const wchar_t* value : {L"UserInstall", L"CommonInstall"})
    if (registryText(visit->place.root, visit->place.view, key, value, root, PATH_SIZE) &&
        programIn(root, MIKTEX_BIN, visit->file, *visit->found)) {
      visit->done = true;
      return;
    }
}

// Where MiKTeX installs by default: for the user, then under the 64-bit and 32-bit Program Files
// (a 32-bit program finds the 64-bit one only through ProgramW6432).
constexpr const wchar_t* PROGRAM_FOLDERS[] = {L"ProgramW6432", L"ProgramFiles",
                                              L"ProgramFiles(x86)"};

std::size_t programFolders(std::array<WidePathText, 3>& folders) {
  std::size_t count = 0;
  for (const wchar_t* variable : PROGRAM_FOLDERS) {
    if (!environment(variable, folders[count])) continue;
    bool seen = false;
    for (std::size_t earlier = 0; earlier < count; ++earlier)
      seen = seen || equalIgnoringCase(folders[earlier], folders[count]);
    if (!seen) ++count;
  }
  return count;
}

std::size_t miktexDefaultRoots(std::array<WidePathText, 4>& roots) {
  std::size_t count = 0;
  WidePathText local;
  if (environment(L"LOCALAPPDATA", local) && join(roots[count], {local, L"\\Programs\\MiKTeX"}))
    ++count;
  std::array<WidePathText, 3> folders;
  const std::size_t folderCount = programFolders(folders);
  for (std::size_t index = 0; index < folderCount; ++index)
    if (join(roots[count], {folders[index], L"\\MiKTeX"})) ++count;
  return count;
}

bool findMiktex(const wchar_t* file, WidePathText& found) {
  for (const RegistryPlace& place : registryPlaces) {
    MiktexVisit visit{place, file, &found, false};
    forEachRegistrySubkey(place.root, place.view, MIKTEX_KEY, visitMiktexSeries, &visit);
    if (visit.done) return true;
  }
  std::array<WidePathText, 4> roots;
  const std::size_t count = miktexDefaultRoots(roots);
  for (std::size_t index = 0; index < count; ++index)
    if (programIn(roots[index], MIKTEX_BIN, file, found)) return true;
  return false;
}

// --- Ghostscript ---------------------------------------------------------------------------

// Each followed by " Ghostscript".
constexpr const wchar_t* GHOSTSCRIPT_EDITIONS[] = {L"GPL", L"Artifex", L"AFPL"};
constexpr std::initializer_list<const wchar_t*> GHOSTSCRIPT_BIN = {L""};

// "10.02.1" with GS_DLL "C:\Program Files\gs\gs10.02.1\bin\gsdll64.dll": the DLL's folder.
void visitGhostscriptVersion(const wchar_t* name, void* context) {
  auto& newest = *static_cast<Newest*>(context);
  WidePathText key, library;
  if (!join(key, {newest.key, L"\\", name}) ||
      !registryText(newest.place.root, newest.place.view, key, L"GS_DLL", library, PATH_SIZE))
    return;
  const wchar_t* separator = lastSeparator(library);
  if (separator == nullptr) return;
  library[separator - library] = L'\0';
  offer(newest, rankOf(name), library);
}

void visitGhostscriptFolder(const wchar_t* name, void* context) {
  auto& newest = *static_cast<Newest*>(context);
  WidePathText folder;
  if (lowerAscii(name[0]) == L'g' && lowerAscii(name[1]) == L's' &&
      join(folder, {newest.key, L"\\", name, L"\\bin"}))
    offer(newest, rankOf(name + 2), folder);
}

// The newest Ghostscript of any edition in the first registry place that has one, 64-bit first;
// then the newest in any Program Files.
bool findGhostscriptInstalled(WidePathText& found) {
  constexpr RegistryPlace places[] = {
      {REGISTRY_LOCAL_MACHINE, REGISTRY_64},
      {REGISTRY_CURRENT_USER, REGISTRY_64},
      {REGISTRY_LOCAL_MACHINE, REGISTRY_32},
  };
  constexpr const wchar_t* PROGRAMS[] = {L"gswin64c.exe", L"gswin32c.exe"};
  Newest newest{nullptr, GHOSTSCRIPT_BIN, {}, nullptr, 0, &found};
  WidePathText key;
  for (const RegistryPlace& place : places)
    for (const wchar_t* program : PROGRAMS) {
      newest.file = program;
      newest.place = place;
      for (const wchar_t* edition : GHOSTSCRIPT_EDITIONS)
        if (join(key, {L"Software\\", edition, L" Ghostscript"})) {
          newest.key = key;
          forEachRegistrySubkey(place.root, place.view, key, visitGhostscriptVersion, &newest);
        }
      if (newest.rank != 0) return true;
    }
  std::array<WidePathText, 3> folders;
  const std::size_t count = programFolders(folders);
  for (const wchar_t* program : PROGRAMS) {
    newest.file = program;
    for (std::size_t index = 0; index < count; ++index)
      if (join(key, {folders[index], L"\\gs"})) {
        newest.key = key;
        forEachSubfolder(key, visitGhostscriptFolder, &newest);
      }
    if (newest.rank != 0) return true;
  }
  return false;
}

// --- The places text -----------------------------------------------------------------------

ZERO_FILLED char placesText[PLACES_TEXT_SIZE];

// The folders, each followed by the suffix, separated by commas; each as a path field holds it,
// and left out when it has no such form.
void listFolders(char* list, std::size_t size, const WidePathText* folders, std::size_t count,
                 const char* suffix) {
  list[0] = '\0';
  for (std::size_t index = 0; index < count; ++index) {
    PathText folder;
    if (widePathToField(folders[index], folder) == 0)
      appendFormatted(list, size, "%s%s%s", {list[0] == '\0' ? "" : ", ", folder, suffix});
  }
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

bool findDvips(const char* name, WidePathText& found) {
  WidePathText wideName, withExtension;
  if (widePathName(name, wideName, PATH_SIZE) == 0) return false;
  const wchar_t* file = programFileName(wideName, withExtension);
  const std::uint32_t length = searchPathFor(wideName, found, PATH_SIZE);
  if (length != 0 && length < PATH_SIZE) return true;
  return fileOnRegistryPath(file, found) || findTexLive(file, found) || findMiktex(file, found);
}

bool dvipsThatWillRun(const char* field, WidePathText& path) {
  PathText program;
  programOfField(field, program, sizeof program);
  if (widePathName(program, path, PATH_SIZE) != 0 && isExistingFile(path)) return true;
  path[0] = L'\0';
  return namesNoFolder(program) && program[0] != '\0' && findDvips(program, path);
}

bool findGhostscript(const wchar_t* dvipsPath, WidePathText& found) {
  if (findGhostscriptInstalled(found)) return true;
  for (const wchar_t* program : {L"gswin64c.exe", L"gswin32c.exe", L"gs.exe"}) {
    const std::uint32_t length = searchPathFor(program, found, PATH_SIZE);
    if (length != 0 && length < PATH_SIZE) return true;
  }
  const wchar_t* separator = lastSeparator(dvipsPath);
  if (separator == nullptr) return false;
  WidePathText folder;
  const auto folderLength = static_cast<std::size_t>(separator - dvipsPath) + 1;
  if (folderLength >= PATH_SIZE) return false;
  std::wmemcpy(folder, dvipsPath, folderLength);
  folder[folderLength] = L'\0';
  return programIn(folder, {L""}, L"rungs.exe", found) ||
         programIn(folder, {L""}, L"mgs.exe", found);
}

void programForCommand(const wchar_t* found, PathText& program) {
  if (widePathToField(found, program) != 0 && widePathToField(fileNameOf(found), program) != 0)
    program[0] = '\0';
}

const char* dvipsPlacesLooked(const char* name) {
  WidePathText texLiveRoot;
  if (!environment(L"SystemDrive", texLiveRoot)) join(texLiveRoot, {L"C:"});
  append(texLiveRoot, {L"\\texlive"});
  std::array<WidePathText, 4> roots;
  const std::size_t count = miktexDefaultRoots(roots);
  char texLive[PATH_FIELD_SIZE + 32], miktex[4 * PATH_FIELD_SIZE];
  listFolders(texLive, sizeof texLive, &texLiveRoot, 1, "\\<year>\\bin\\windows");
  listFolders(miktex, sizeof miktex, roots.data(), count, "");
  return placesAndAdvice(IDS_DVIPS_PLACES, {name, texLive, miktex}, IDS_DVIPS_ADVICE);
}

const char* ghostscriptPlacesLooked() {
  std::array<WidePathText, 3> programs;
  char folders[3 * PATH_FIELD_SIZE];
  listFolders(folders, sizeof folders, programs.data(), programFolders(programs), "\\gs");
  return placesAndAdvice(IDS_GHOSTSCRIPT_PLACES, {folders}, IDS_GHOSTSCRIPT_ADVICE);
}
