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
#include <string_view>

#include "command/lookup_places.h"
#include "command/lookup_system.h"
#include "paths/path_system.h"

namespace {

constexpr std::size_t PATH_SIZE = PATH_FIELD_SIZE;

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A subkey's or a subfolder's name as a rank: a year is four digits and nothing else; a version
// such as "10.02.1" or "9.56" its numbers in one, each part below 1000 after the first. 0 ranks
// nothing.
long long rankOf(Rank rank, const wchar_t* name) {
  if (rank == Rank::First) return 1;
  if (rank == Rank::Year && (std::wcsspn(name, L"0123456789") != 4 || name[4] != L'\0')) return 0;
  long long number = 0;
  for (int part = 0; part < 4; ++part) {
    long long partNumber = 0;
    while (isDigit(*name) && partNumber < 100000) partNumber = partNumber * 10 + (*name++ - L'0');
    number = number * 1000 + partNumber;
    if (*name == L'.') ++name;
  }
  return number;
}

// The next text of a list written as a Path is, without its quotes, or empty when it does not
// fit; null after the last. An empty list holds one empty text.
const wchar_t* nextText(const wchar_t* list, WidePathText& text) {
  const wchar_t* end = list;
  while (*end != L'\0' && *end != L';') ++end;
  std::size_t length = 0;
  for (const wchar_t* c = list; c < end && static_cast<std::size_t>(end - list) < PATH_SIZE; ++c)
    if (*c != L'"') text[length++] = *c;
  text[length] = L'\0';
  return *end == L';' ? end + 1 : nullptr;
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
  WidePathText bin, candidate;
  for (const wchar_t* bins = place.bins; bins != nullptr && rank > search.best && *root != L'\0';) {
    bins = nextText(bins, bin);
    if (joinWide(candidate, {root, separatorAfter(root), bin, search.file}) &&
        isExistingFile(candidate) && joinWide(search.found, {candidate}))
      search.best = rank;
  }
}

// The root that a registry text names; false when it names none.
bool cutToRoot(Cut cut, wchar_t*& text) {
  if (cut == File) {
    wchar_t* separator = const_cast<wchar_t*>(lastSeparator(text));
    if (separator != nullptr) *separator = L'\0';
    return separator != nullptr;
  }
  if (cut == None) return true;
  // The uninstaller is a command: "C:\texlive\2024\tlpkg\installer\uninst.bat", in quotes.
  constexpr std::wstring_view UNINSTALLER = L"\\tlpkg\\installer\\uninst.bat";
  wchar_t* end = text + std::wcslen(text);
  if (end - text >= 2 && text[0] == L'"' && end[-1] == L'"') *--end = L'\0', ++text;
  if (end - text < std::ssize(UNINSTALLER)) return false;
  end -= UNINSTALLER.size();
  if (!equalsIgnoringAsciiCase(end, UNINSTALLER.data(), UNINSTALLER.size())) return false;
  *end = L'\0';
  return true;
}

// What the place names at a key or folder: the folder itself, or what the key's values name.
void offerAt(const Place& place, Search& search, unsigned registry, const wchar_t* at,
             long long rank) {
  if (place.from == FOLDERS) return offer(search, place, rank, at);
  const auto [root, view] = REGISTRY_PLACES[registry];
  // On the stack: the PDF page looks on a thread of its own while the composer may look too.
  wchar_t text[WIDE_PATH_SIZE];
  WidePathText value, folder;
  for (const wchar_t* values = place.values; values != nullptr;) {
    values = nextText(values, value);
    wchar_t* named = text;
    if (!registryText(root, view, at, value, text, place.cut == Path ? WIDE_PATH_SIZE : PATH_SIZE))
      continue;
    for (const wchar_t* list = text; place.cut == Path && list != nullptr;) {
      list = nextText(list, folder);
      offer(search, place, rank, folder);
    }
    if (place.cut != Path && cutToRoot(place.cut, named)) offer(search, place, rank, named);
  }
}

// The key or folder itself, or each subkey or subfolder whose name the pattern matches, ranked by
// the name.
void lookUnder(const Place& place, Search& search, unsigned registry, const wchar_t* parent) {
  const wchar_t* star = std::wcschr(place.pattern, L'*');
  if (star == nullptr) return offerAt(place, search, registry, parent, 1);
  const auto [root, view] = REGISTRY_PLACES[registry];
  const auto start = static_cast<std::size_t>(star - place.pattern);
  WidePathText name, path;
  for (std::uint32_t index = 0;
       place.from == FOLDERS ? subfolder(parent, index, name, PATH_SIZE)
                             : registrySubkey(root, view, parent, index, name, PATH_SIZE);
       ++index) {
    const bool matches = equalsIgnoringAsciiCase(name, place.pattern, start);
    const long long rank = matches ? rankOf(place.rank, name + start) : 0;
    if (rank != 0 && joinWide(path, {parent, L"\\", name, star + 1}))
      offerAt(place, search, registry, path, rank);
  }
}

void look(const Place& place, Search& search, const wchar_t* dvipsPath) {
  WidePathText found;
  const std::uint32_t length =
      place.from == SEARCH_PATH ? searchPathFor(search.file, found, PATH_SIZE) : 0;
  if (length != 0 && length < PATH_SIZE && joinWide(search.found, {found})) search.best = 1;
  if (place.from == DVIPS_FOLDER && joinWide(found, {dvipsPath}) &&
      lastSeparator(found) != nullptr) {
    found[lastSeparator(found) - found + 1] = L'\0';  // the folder, with its separator
    offer(search, place, 1, found);
  }
  for (const DefaultFolder* base = place.folders; base && base->variable != nullptr; ++base)
    if (defaultFolder(*base, found)) lookUnder(place, search, 0, found);
  for (unsigned registry = 0; registry < 3; ++registry)
    for (const wchar_t* keys = place.keys; (place.from >> registry & 1) != 0 && keys;) {
      keys = nextText(keys, found);
      lookUnder(place, search, registry, found);
    }
}

// The places in order; rows that rank together give the newest of what any of them finds, for
// each of their programs in turn.
bool walk(std::span<const Place> places, const wchar_t* asked, const wchar_t* dvipsPath,
          WidePathText& found) {
  WidePathText file;
  for (std::size_t first = 0, end = 0; first < places.size(); first = end) {
    for (end = first + 1; places[end - 1].ranksWithNext;) ++end;
    for (const wchar_t* files = places[first].files; files != nullptr;) {
      files = nextText(files, file);
      Search search{file[0] != L'\0' ? file : asked, 0, found};
      for (std::size_t row = first; row < end; ++row) look(places[row], search, dvipsPath);
      if (search.best != 0) return true;
    }
  }
  return false;
}

}  // namespace

bool defaultFolder(const DefaultFolder& place, WidePathText& folder) {
  WidePathText variable;
  const std::uint32_t length = environmentText(place.variable, variable, PATH_SIZE);
  return length != 0 && length < PATH_SIZE && joinWide(folder, {variable, place.below});
}

bool namesNoFolder(const char* program) { return fileNameOf(program) == program; }

bool findDvips(const char* name, WidePathText& found) {
  WidePathText wideName, withExtension;
  if (widePathName(name, wideName, PATH_SIZE) == 0) return false;
  // Process creation adds ".exe" to a name without an extension.
  const bool addExtension = lastCharacterOf(fileNameOf(wideName), L".") == nullptr &&
                            joinWide(withExtension, {wideName, L".exe"});
  return walk(DVIPS_PLACES, addExtension ? withExtension : wideName, L"", found);
}

bool findGhostscript(const wchar_t* dvipsPath, WidePathText& found) {
  return walk(GHOSTSCRIPT_PLACES, nullptr, dvipsPath, found);
}
