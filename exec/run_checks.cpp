// The checks before a run and the state of its files.
#include "exec/run_checks.h"

#include <cstring>

#include "base/strings.h"
#include "base/text_format.h"
#include "command/command_words.h"
#include "command/dvips_to_run.h"
#include "command/places_looked.h"
#include "exec/run_messages.h"
#include "options/pdf_options.h"
#include "paths/path_rules.h"
#include "resources/resource.h"

namespace {

FileState postScriptBefore;
ZERO_FILLED FileState sectionsBefore[MAX_SECTIONS];
ZERO_FILLED DvipsToRun dvips;
ZERO_FILLED char message[1024];

// Why a file that is there cannot be had with the access that the run needs, as the system tells
// it; 0 when it can. dvips writes the PostScript in place; a new PDF replaces the earlier one,
// which needs deleting it, and a viewer that holds it without sharing that stops the swap.
DWORD writeRefusal(const char* path, DWORD access) {
  if (!stateOf(path).exists) return 0;
  const HANDLE file = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(file);
  return 0;
}

// Why no file can be made in the folder: ERROR_PATH_NOT_FOUND when it does not exist, access
// denied by its rights or a medium that is read-only as a whole; 0 when one can.
DWORD folderRefusal(const char* folder) {
  const DWORD attributes = GetFileAttributesA(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return ERROR_PATH_NOT_FOUND;
  PathText probe = "";
  appendFormatted(probe, "%s%scorvane-write-check.tmp", {folder, separatorAfter(folder)});
  const HANDLE file = CreateFileA(probe, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return 0;
  }
  const DWORD error = GetLastError();
  return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ? error : 0;
}

// The PostScript or PDF at path: 0 when it can be written, else the control to mend it at, once
// the box has said why. Only a sharing or lock violation is another program's doing.
int checkFile(const char* path, DWORD access, const RunMessages& to) {
  for (;;) {
    const DWORD refusal = writeRefusal(path, access);
    if (refusal == 0) return 0;
    if (refusal == ERROR_SHARING_VIOLATION || refusal == ERROR_LOCK_VIOLATION) {
      if (to.finding(IDS_FILE_HELD_OPEN, path, true)) continue;
    } else if ((GetFileAttributesA(path) & FILE_ATTRIBUTE_READONLY) != 0) {
      to.finding(IDS_FILE_READ_ONLY, path, false);
    } else {
      PathText folder;
      copyText(folder, path);
      cutToFolder(folder);
      to.finding(IDS_FOLDER_NOT_WRITABLE, folder, false);
    }
    return IDC_PS_FILE;
  }
}

int checkFiles(const RunMessages& to) {
  if (plan.place != OutputPlace::Known && plan.place != OutputPlace::Printer) return 0;
  PathText folder;
  copyText(folder, plan.postScript);
  if (cutToFolder(folder)) {
    const DWORD refusal = folderRefusal(folder);
    if (refusal != 0) {
      to.finding(refusal == ERROR_PATH_NOT_FOUND ? IDS_FOLDER_MISSING : IDS_FOLDER_NOT_WRITABLE,
                 folder, false);
      return IDC_PS_FILE;
    }
  }
  if (!plan.sections)
    if (const int mend = checkFile(plan.postScript, GENERIC_WRITE, to); mend != 0) return mend;
  PathText pdf;
  if (pdfOptions.makePdf && pdfFileFor(plan.postScript, pdf))
    return checkFile(pdf, GENERIC_WRITE | DELETE, to);
  return 0;
}

// A path that process creation may still start, such as a 64-bit program under the system's
// redirected folder, or a name without ".exe": it runs by the command's word.
bool startableAsItStands(const char* program) {
  if (namesNoFolder(program) || program[0] == '\0') return false;
  PathText withExtension = "";
  appendFormatted(withExtension, "%s.exe", {program});
  return GetFileAttributesA(program) != INVALID_FILE_ATTRIBUTES ||
         GetFileAttributesA(withExtension) != INVALID_FILE_ATTRIBUTES;
}

// The programs: the command's dvips where it names one that exists or the lookups find it, and
// a Ghostscript named on the PDF page.
int checkPrograms(const char* command, const RunMessages& to) {
  // The command's first word, as process creation reads it, is a field's program as it stands.
  ZERO_FILLED static char program[MAX_PATH];
  const char* at = command;
  nextWord(at, program, sizeof program, true);
  const bool found = dvipsThatWillRun(program, dvips);
  if (!found) dvips.path[0] = L'\0';
  if (!found && !startableAsItStands(program)) {
    message[0] = '\0';
    appendFormatted(message, "%s", {dvips.typed});
    if (dvips.lookedUpInVain)
      appendFormatted(message, "\r\n\r\n%s", {dvipsPlacesLooked(dvips.typed)});
    to.systemError(ERROR_FILE_NOT_FOUND, message);
    return IDC_PROGRAM_FILE;
  }
  if (!pdfOptions.makePdf || pdfOptions.ghostscriptFile[0] == '\0') return 0;
  const char* typed = pdfOptions.ghostscriptFile;
  if (namesNoFolder(typed) || GetFileAttributesA(typed) != INVALID_FILE_ATTRIBUTES) return 0;
  to.systemError(ERROR_FILE_NOT_FOUND, typed);
  return IDC_GHOSTSCRIPT_FILE;
}

}  // namespace

FileState stateOf(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return {};
  return {true, data.ftLastWriteTime, data.nFileSizeLow, data.nFileSizeHigh};
}

bool writtenSince(const char* path, const FileState& before) {
  const FileState now = stateOf(path);
  return now.exists && (!before.exists || CompareFileTime(&now.written, &before.written) != 0 ||
                        now.sizeLow != before.sizeLow || now.sizeHigh != before.sizeHigh);
}

int checkBeforeRun(const char* command, const char* runFolder, const RunMessages& to) {
  makePlan(command, runFolder);
  if (const int mend = checkPrograms(command, to); mend != 0) return mend;
  return waitsForConverter() ? checkFiles(to) : 0;
}

const wchar_t* dvipsApplication() { return dvips.path; }

bool planFile(int index, PathText& path) {
  if (plan.sections) return sectionFile(index + 1, path);
  copyText(path, plan.postScript);
  return true;
}

int countFilesWritten() {
  if (!plan.sections) return writtenSince(plan.postScript, postScriptBefore) ? 1 : 0;
  int count = 0;
  PathText section;
  while (count < MAX_SECTIONS && sectionFile(count + 1, section) &&
         writtenSince(section, sectionsBefore[count]))
    ++count;
  return count;
}

void noteFilesBeforeRun() {
  postScriptBefore = stateOf(plan.postScript);
  for (FileState& state : sectionsBefore) state = {};
  PathText pattern;
  if (!plan.sections || !sectionFile(MAX_SECTIONS, pattern)) return;
  // Every section file there is, whatever its number: one left from a longer run is not this
  // run's unless dvips writes it again.
  const std::size_t digits = std::strlen(pattern) - 3;
  std::memcpy(pattern + digits, "???", 3);
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const char* name = fileNameOf(found.cFileName);
    const std::size_t length = std::strlen(name);
    if (length < 3) continue;
    const char* number = name + length - 3;
    if (number[0] < '0' || number[0] > '9' || number[1] < '0' || number[1] > '9' ||
        number[2] < '0' || number[2] > '9')
      continue;
    const int index = (number[0] - '0') * 100 + (number[1] - '0') * 10 + (number[2] - '0') - 1;
    PathText section;
    if (index < 0 || !sectionFile(index + 1, section)) continue;
    sectionsBefore[index] = stateOf(section);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}
