// Finding Ghostscript's sRGB profile and writing the PDF/A definition file for one run.
#include "exec/pdfa_files.h"

#include <windows.h>

#include "base/text.h"
#include "base/text_format.h"
#include "command/pdfa_definition.h"
#include "command/program_lookup.h"
#include "paths/path_rules.h"

namespace {

ZERO_FILLED PathText definitionFile;
ZERO_FILLED PathText readableProfile;
ZERO_FILLED char profilePlaces[2 * PATH_FIELD_SIZE];
ZERO_FILLED char definition[PDFA_DEFINITION_SIZE];

// Where srgb.icc lies, from the folder of the Ghostscript program: Ghostscript's installer puts
// bin\gswin64c.exe beside iccprofiles\srgb.icc in gs\gs<version>, as TeX Live's own Ghostscript
// has them in tlpkg\tlgs; TeX Live's rungs.exe in bin\windows runs that one.
constexpr const char* PROFILE_PLACES[] = {
    "..\\iccprofiles\\srgb.icc",
    "..\\..\\tlpkg\\tlgs\\iccprofiles\\srgb.icc",
};

bool isAscii(const char* text) {
  for (; *text != '\0'; ++text)
    if (static_cast<unsigned char>(*text) > 0x7E) return false;
  return true;
}

// The profile beside the program, as a full path with forward slashes in ASCII (Ghostscript reads
// a name in its PostScript as UTF-8, in its command line as wide text: the short form is the same
// in both). The places looked are kept for the message when there is none.
void findProfile(const char* ghostscript) {
  readableProfile[0] = '\0';
  copyText(profilePlaces, ghostscript);
  PathText folder;
  const DWORD length = GetFullPathNameA(ghostscript, sizeof folder, folder, nullptr);
  if (length == 0 || length >= sizeof folder || !cutToFolder(folder)) return;
  profilePlaces[0] = '\0';
  for (const char* place : PROFILE_PLACES) {
    char joined[2 * PATH_FIELD_SIZE] = "";
    appendFormatted(joined, "%s%s%s", {folder, separatorAfter(folder), place});
    PathText full;
    const DWORD fullLength = GetFullPathNameA(joined, sizeof full, full, nullptr);
    if (fullLength == 0 || fullLength >= sizeof full) continue;
    appendFormatted(profilePlaces, profilePlaces[0] != '\0' ? " or %s" : "%s", {full});
    const DWORD attributes = GetFileAttributesA(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      continue;
    if (!isAscii(full)) {
      const DWORD shortLength = GetShortPathNameA(full, full, sizeof full);
      if (shortLength == 0 || shortLength >= sizeof full || !isAscii(full)) continue;
    }
    for (char* at = full; *at != '\0'; ++at)
      if (*at == '\\') *at = '/';
    copyText(readableProfile, full);
    return;
  }
}

// The title from the header of the PostScript file, where dvips writes its comments.
const char* titleOf(const char* postScript, char (&title)[PDFA_TITLE_SIZE]) {
  title[0] = '\0';
  const HANDLE file = CreateFileA(postScript, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return title;
  ZERO_FILLED static char header[8192];
  DWORD read = 0;
  if (!ReadFile(file, header, sizeof header - 1, &read, nullptr)) read = 0;
  CloseHandle(file);
  header[read] = '\0';
  return postScriptTitle(header, title);
}

// Ghostscript's own Windows programs have the profile built in; other builds do not.
bool hasBuiltInProfile(const char* ghostscript) {
  return equalsIgnoringAsciiCase(fileNameOf(ghostscript), "gswin", 5);
}

}  // namespace

bool writePdfaDefinition(const char* ghostscript, const char* postScript) {
  removePdfaDefinition();
  findProfile(ghostscript);
  if (readableProfile[0] == '\0' && !hasBuiltInProfile(ghostscript)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  profilePlaces[0] = '\0';
  char title[PDFA_TITLE_SIZE];
  if (!composePdfaDefinition(titleOf(postScript, title),
                             readableProfile[0] != '\0' ? readableProfile : BUILT_IN_SRGB_PROFILE,
                             definition)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  // One file for each Corvane that runs, named by its process. Once named it is removed after
  // the run, whatever became of it, and a failure names it.
  PathText folder;
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return false;
  char process[12];
  appendFormatted(definitionFile, "%s%scorvane-pdfa-%s.ps",
                  {folder, separatorAfter(folder), decimalText(GetCurrentProcessId(), process)});
  const HANDLE file = CreateFileA(definitionFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = static_cast<DWORD>(lstrlenA(definition));
  DWORD written = 0;
  const bool complete = WriteFile(file, definition, size, &written, nullptr) && written == size;
  const DWORD error = complete ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  SetLastError(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
  return complete;
}

const char* pdfaDefinitionFile() { return definitionFile; }

const char* pdfaReadableProfile() { return readableProfile; }

const char* missingProfilePlaces() { return profilePlaces; }

void removePdfaDefinition() {
  if (definitionFile[0] != '\0') DeleteFileA(definitionFile);
  definitionFile[0] = '\0';
}
