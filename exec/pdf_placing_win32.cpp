// The system's side of putting a new PDF in place: a PDF that is a link is replaced at its
// target, one held open is written over where its holder allows, and new files left by a run
// that was stopped are removed.
#include "exec/pdf_placing_win32.h"

#include "base/text.h"
#include "base/text_format.h"
#include "paths/path_rules.h"
#include "paths/path_system.h"

namespace {

ZERO_FILLED WidePathText madeWide;
ZERO_FILLED WidePathText placeWide;
ZERO_FILLED wchar_t finalWide[32768];

bool wide(const char* path, WidePathText& buffer) {
  return widePathName(path, buffer, PATH_FIELD_SIZE) != 0;
}

// The file that the PDF's name leads to: a symbolic link's target, so that the link stays one.
const wchar_t* finalPlace(const char* pdf) {
  if (!wide(pdf, placeWide)) return nullptr;
  const HANDLE file =
      CreateFileW(placeWide, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return placeWide;
  const DWORD length = GetFinalPathNameByHandleW(file, finalWide, 32768, FILE_NAME_NORMALIZED);
  CloseHandle(file);
  return length > 0 && length < 32768 ? finalWide : placeWide;
}

DWORD replaceError = 0;

bool moveIntoPlace(const char* made, const char* pdf) {
  const wchar_t* place = finalPlace(pdf);
  // A link's target may lie on another volume: there the move is a copy.
  if (place != nullptr && wide(made, madeWide) &&
      MoveFileExW(madeWide, place,
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH | MOVEFILE_COPY_ALLOWED))
    return true;
  replaceError = GetLastError();
  return false;
}

// The new bytes in the earlier PDF's own file, for a viewer that holds it open and shares
// writing: the viewer reloads it, as it does when the file changes.
bool copyIntoPlace(const char* made, const char* pdf) {
  const wchar_t* place = finalPlace(pdf);
  if (place == nullptr || !wide(made, madeWide)) return false;
  const HANDLE from = CreateFileW(madeWide, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (from == INVALID_HANDLE_VALUE) return false;
  const HANDLE to =
      CreateFileW(place, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool copied = to != INVALID_HANDLE_VALUE;
  static char buffer[65536];
  for (DWORD read = 0;
       copied && ReadFile(from, buffer, sizeof buffer, &read, nullptr) && read > 0;) {
    DWORD written = 0;
    copied = WriteFile(to, buffer, read, &written, nullptr) && written == read;
  }
  copied = copied && SetEndOfFile(to) && FlushFileBuffers(to);
  if (to != INVALID_HANDLE_VALUE) CloseHandle(to);
  CloseHandle(from);
  return copied;
}

bool moveBeside(const char* made, const char* kept) {
  WidePathText keptWide;
  return wide(made, madeWide) && wide(kept, keptWide) &&
         MoveFileExW(madeWide, keptWide, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool deleteMade(const char* made) { return wide(made, madeWide) && DeleteFileW(madeWide); }

bool processRunning(DWORD processId) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

}  // namespace

const PdfPlacing systemPdfPlacing = {moveIntoPlace, copyIntoPlace, moveBeside, deleteMade};

DWORD pdfReplaceError() { return replaceError; }

void removeLeftNewPdfs(const char* pdf) {
  PathText pattern;
  if (!newPdfName(pdf, 0, pattern)) return;
  // "paper.pdf.corvane-0.tmp" becomes "paper.pdf.corvane-*.tmp".
  char* number = pattern + lstrlenA(pattern) - 5;
  number[0] = '*';
  const char* name = fileNameOf(pdf);
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::uint32_t owner = 0;
    if (!newPdfOwner(found.cFileName, name, owner) || owner == GetCurrentProcessId() ||
        processRunning(owner))
      continue;
    PathText folder, left = "";
    copyText(folder, pdf);
    cutToFolder(folder);
    if (static_cast<std::size_t>(lstrlenA(folder) + 1 + lstrlenA(found.cFileName)) >=
        PATH_FIELD_SIZE)
      continue;
    appendFormatted(left, "%s%s%s", {folder, separatorAfter(folder), found.cFileName});
    DeleteFileA(left);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}
