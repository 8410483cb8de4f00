// Waiting for dvips, then Ghostscript and the result opened, or a box that says why not.
#include "exec/conversion.h"

#include <shellapi.h>

#include <cstring>

#include "base/error_box.h"
#include "base/library_search.h"
#include "base/strings.h"
#include "base/text_format.h"
#include "command/command_line.h"
#include "command/conversion_files.h"
#include "command/dvips_to_run.h"
#include "command/ghostscript_command.h"
#include "command/lookup_system.h"
#include "command/places_looked.h"
#include "command/program_lookup.h"
#include "command/run_report.h"
#include "exec/child_process.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "paths/path_rules.h"
#include "paths/path_system.h"
#include "resources/resource.h"

namespace {

// What the run came to, told once the console (if any) is gone.
enum class Outcome {
  Nothing,             // nothing to say or open: off, no handle, or Capture only
  ConverterFailed,     // dvips ended with an exit code other than 0
  PlaceUnknown,        // no PDF or nothing to open: Corvane cannot tell where the PostScript is
  NoPostScript,        // dvips ended well but wrote no file where it should have
  GhostscriptMissing,  // no Ghostscript to run
  GhostscriptNotStarted,
  GhostscriptFailed,
  GhostscriptWroteNothing,  // Ghostscript ended with 0 but the PDF is not this run's
  Done,                     // the result, PDF or PostScript, is ready to open
};

Outcome outcome = Outcome::Nothing;
DWORD exitCode = 0;
DWORD startError = 0;
OutputPlace place = OutputPlace::Known;
ZERO_FILLED PathText pdf;
ZERO_FILLED PathText ghostscript;
ZERO_FILLED PathText result;
ZERO_FILLED char ghostscriptCommand[GHOSTSCRIPT_COMMAND_SIZE];
ZERO_FILLED char message[4096];

// A run that the command started (its block is at the end of this file).
bool commandRun = false, commandPrinting = false;
volatile LONG controlKeysPressed = 0;
void keepCause(bool failure, int sentence, const char* word);
void keepMessageAsCause();
void removeSpoiltPdf();
BOOL WINAPI noteControlKeys(DWORD event);
void beginCommandRun();
void keepOutcomeCauses();
enum class Stage { NotRun, Checked, NotStarted, Followed };
Stage stage = Stage::NotRun;

// A file as it was before the run: missing, or its last write and size.
struct FileState {
  bool exists;
  FILETIME written;
  DWORD sizeLow, sizeHigh;
};

FileState stateOf(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return {};
  return {true, data.ftLastWriteTime, data.nFileSizeLow, data.nFileSizeHigh};
}

// A file counts as this run's when it is there and was not, or was written since.
bool writtenSince(const char* path, const FileState& before) {
  const FileState now = stateOf(path);
  return now.exists && (!before.exists || CompareFileTime(&now.written, &before.written) != 0 ||
                        now.sizeLow != before.sizeLow || now.sizeHigh != before.sizeHigh);
}

// Before the run: the PostScript file, or its sections, and the PDF.
FileState postScriptBefore, pdfBefore;
ZERO_FILLED FileState sectionsBefore[MAX_SECTIONS];
// After the run: how many files, from the first, dvips wrote for this run.
int filesWritten = 0;

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

// The pipe that a waited-for child writes its output and errors into, read by a thread of its
// own while the child runs: the lines are kept, and, unless hidden, written to the run's console
// as they come, so that the user sees them where the child would have shown them.
HANDLE outputPipe = nullptr;
HANDLE outputReader = nullptr;

DWORD WINAPI readOutput(void*) {
  const HANDLE console = options.windowMode != WINDOW_HIDDEN || commandPrinting
                             ? GetStdHandle(STD_OUTPUT_HANDLE)
                             : nullptr;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(outputPipe, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    keepOutput(buffer, read);
    DWORD written = 0;
    if (console != nullptr) WriteFile(console, buffer, read, &written, nullptr);
  }
  return 0;
}

// Starts a child as startChild does; where Corvane waits for it, with the pipe as its output and
// error, and as input the run's console or, hidden, NUL: a child that waits for a key it cannot
// get would hold the run for ever.
BOOL startReadChild(char* command, const char* directory, WORD showCommand, DWORD creationFlags,
                    PROCESS_INFORMATION& process) {
  clearOutput();
  // In Capture each command shows before it runs, as a console user would see it typed.
  if (options.windowMode == WINDOW_CAPTURE && waitsForConverter()) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), command, static_cast<DWORD>(lstrlenA(command)),
              &written, nullptr);
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "\r\n", 2, &written, nullptr);
  }
  if (!waitsForConverter())
    return startChild(command, directory, showCommand, creationFlags, process);
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE write = nullptr, input = nullptr;
  if (!CreatePipe(&outputPipe, &write, &inherited, 0)) {
    outputPipe = nullptr;
    return startChild(command, directory, showCommand, creationFlags, process);
  }
  SetHandleInformation(outputPipe, HANDLE_FLAG_INHERIT, 0);
  if (options.windowMode == WINDOW_HIDDEN)
    input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                        OPEN_EXISTING, 0, nullptr);
  else
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_INPUT_HANDLE), GetCurrentProcess(),
                    &input, 0, TRUE, DUPLICATE_SAME_ACCESS);
  const BOOL started =
      startChild(command, directory, showCommand, creationFlags, process, input, write);
  const DWORD error = GetLastError();
  CloseHandle(write);
  if (input != nullptr && input != INVALID_HANDLE_VALUE) CloseHandle(input);
  if (started) outputReader = CreateThread(nullptr, 0, readOutput, nullptr, 0, nullptr);
  if (!started || outputReader == nullptr) {
    CloseHandle(outputPipe);
    outputPipe = nullptr;
  }
  SetLastError(error);
  return started;
}

// Waits with the thread's windows served, such as a help window opened from the sheet, then for
// the reader to take the last of the output; font makers that the child started may still hold
// the pipe, so that wait is bounded.
bool waitForExitCode(HANDLE process, DWORD& code) {
  if (process == nullptr) return false;
  while (MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT) ==
         WAIT_OBJECT_0 + 1) {
    MSG queued;
    while (PeekMessageA(&queued, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&queued);
      DispatchMessageA(&queued);
    }
  }
  if (outputReader != nullptr) {
    WaitForSingleObject(outputReader, 5000);
    CloseHandle(outputReader);
    CloseHandle(outputPipe);
    outputReader = outputPipe = nullptr;
  }
  return GetExitCodeProcess(process, &code) != FALSE;
}

// What a program said, as the box tells it: the causes, one sentence each, then its last lines.
ZERO_FILLED char converterSaid[2048];
ZERO_FILLED char ghostscriptSaid[2048];
bool converterFailed = false, converterWarned = false;
DWORD converterExitCode = 0;
constexpr int LINES_IN_BOX = 10;

void noteWhatWasSaid(char (&said)[2048], const char* program, bool& failed, bool& warned) {
  said[0] = '\0';
  failed = warned = false;
  const Cause* causes[MAX_CAUSES];
  const int count = findCauses(causes);
  for (int index = 0; index < count; ++index) {
    (causes[index]->kind == CauseKind::Failure ? failed : warned) = true;
    keepCause(causes[index]->kind == CauseKind::Failure, causes[index]->sentence,
              wordBefore(*causes[index]));
    appendStringText(said, "\r\n\r\n", causes[index]->sentence, {wordBefore(*causes[index])});
  }
  if (bitmapFonts()[0] != '\0') {
    warned = true;
    keepCause(false, IDS_CAUSE_BITMAP_FONTS, bitmapFonts());
    appendStringText(said, "\r\n\r\n", IDS_CAUSE_BITMAP_FONTS, {bitmapFonts()});
  }
  const int lines = keptLineCount();
  if (lines == 0) return;
  appendStringText(said, "\r\n\r\n", IDS_LAST_LINES, {program});
  for (int index = lines > LINES_IN_BOX ? lines - LINES_IN_BOX : 0; index < lines; ++index)
    appendFormatted(said, "\r\n%s", {keptLine(index)});
}

bool landscapeHeader(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // dvips writes its header comments first: the orientation is in the first few lines.
  ZERO_FILLED static char header[8192];
  DWORD read = 0;
  ReadFile(file, header, sizeof header - 1, &read, nullptr);
  CloseHandle(file);
  header[read] = '\0';
  return isLandscapePostScript(header);
}

// The fonts that this run's PostScript holds as bitmaps, told only when a PDF is to be made of
// it. dvips writes them with each section's fonts, anywhere in a large file, so the whole file is
// read, up to a bound that no document of the usual kind comes near.
void readBitmapFonts() {
  clearBitmapFonts();
  if (!pdfOptions.makePdf) return;
  constexpr DWORD MOST_READ = 64u << 20;
  ZERO_FILLED static char chunk[16384];
  for (int index = 0; index < filesWritten; ++index) {
    PathText path;
    if (!planFile(index, path)) continue;
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    DWORD read = 0, total = 0;
    while (total < MOST_READ && ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) {
      readPostScript(chunk, read);
      total += read;
    }
    readPostScript("\n", 1);
    CloseHandle(file);
  }
}

void makePdf(const char* directory, WORD showCommand, DWORD creationFlags) {
  if (pdfOptions.ghostscriptFile[0] != '\0') {
    copyText(ghostscript, pdfOptions.ghostscriptFile);
  } else {
    // TeX Live and MiKTeX keep a Ghostscript of their own beside their dvips.
    ZERO_FILLED static DvipsToRun dvips;
    WidePathText found;
    dvipsThatWillRun(options.programFile, dvips);
    if (!findGhostscript(dvips.path, found)) {
      outcome = Outcome::GhostscriptMissing;
      return;
    }
    programForCommand(found, ghostscript);
  }
  PathText first;
  planFile(0, first);
  // Paths at the limit of a field may leave no room for ".pdf" or for the whole command.
  if (!pdfFileFor(plan.postScript, pdf) ||
      !composeGhostscriptCommand(ghostscript, planFile, filesWritten, pdf, landscapeHeader(first),
                                 plan.encapsulated, ghostscriptCommand)) {
    outcome = Outcome::PlaceUnknown;
    place = OutputPlace::TooLong;
    return;
  }
  pdfBefore = stateOf(pdf);
  PROCESS_INFORMATION process;
  if (!startReadChild(ghostscriptCommand, directory, showCommand, creationFlags, process)) {
    startError = GetLastError();
    outcome = Outcome::GhostscriptNotStarted;
    return;
  }
  const bool ended = waitForExitCode(process.hProcess, exitCode);
  if (process.hProcess != nullptr) CloseHandle(process.hProcess);
  if (!ended) return;
  bool failed = false, warned = false;
  clearBitmapFonts();
  noteWhatWasSaid(ghostscriptSaid, "Ghostscript", failed, warned);
  if (failed || exitCode != 0 || controlKeysPressed != 0 || !writtenSince(pdf, pdfBefore)) {
    removeSpoiltPdf();
    outcome =
        exitCode != 0 || failed ? Outcome::GhostscriptFailed : Outcome::GhostscriptWroteNothing;
    return;
  }
  copyText(result, pdf);
  outcome = Outcome::Done;
}

// Paragraphs of the message, an empty line between them.
void addParagraph(int id, std::initializer_list<const char*> texts = {}) {
  appendStringText(message, "\r\n\r\n", id, texts);
}

// What a program said, as one more paragraph or more.
void addSaid(const char* said) {
  if (said[0] != '\0') appendFormatted(message, message[0] != '\0' ? "\r\n\r\n%s" : "%s", {said});
}

// Why the converter failed, where Corvane can tell: the DVI file that dvips was given is missing.
void addConverterCause() {
  if (plan.dviFile[0] == '\0') {
    addParagraph(IDS_NO_DVI_FILE);
    return;
  }
  // dvips adds ".dvi" to a name that it cannot open as it stands.
  PathText withExtension = "";
  appendFormatted(withExtension, "%s.dvi", {plan.dviFile});
  if (GetFileAttributesA(plan.dviFile) != INVALID_FILE_ATTRIBUTES ||
      GetFileAttributesA(withExtension) != INVALID_FILE_ATTRIBUTES)
    return;
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(plan.dviFile, sizeof full, full, nullptr);
  addParagraph(IDS_DVI_NOT_FOUND, {length != 0 && length < sizeof full ? full : plan.dviFile});
}

int placeReason() {
  switch (place) {
    case OutputPlace::NoDviFile: return IDS_NO_DVI_FILE;
    case OutputPlace::Printer: return IDS_PLACE_PRINTER;
    case OutputPlace::Program: return IDS_PLACE_PROGRAM;
    default: return IDS_PLACE_TOO_LONG;
  }
}

// The shell is bound when a result is opened, not at start-up; COM is ready for the handlers
// that the association may name. The shell shows no box of its own and does not return before the
// program is started, so that Corvane can tell the real reason when it fails.
void openResult() {
  using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  initializeCom();
  const auto shellExecute =
      systemFunction<ShellExecuteExFunction>("shell32.dll", "ShellExecuteExW");
  ZERO_FILLED static wchar_t wide[MAX_PATH];
  if (shellExecute == nullptr || MultiByteToWideChar(CP_ACP, 0, result, -1, wide, MAX_PATH) == 0) {
    reportSystemError(0, result);
    return;
  }
  SHELLEXECUTEINFOW execute = {};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execute.lpVerb = L"open";
  execute.lpFile = wide;
  execute.nShow = SW_SHOWNORMAL;
  if (shellExecute(&execute)) return;
  // With no program set for the file's type the shell may also try to run the file itself, which
  // is no program: that is "no association" too.
  const DWORD error = GetLastError();
  if (error != ERROR_NO_ASSOCIATION && error != ERROR_BAD_EXE_FORMAT) {
    reportSystemError(error, result);
    return;
  }
  message[0] = '\0';
  addParagraph(IDS_NO_PROGRAM_FOR_RESULT, {result});
  reportError(message, MB_ICONWARNING);
}

}  // namespace

bool showsOutputInOwnConsole() {
  return waitsForConverter() &&
         (options.windowMode == WINDOW_NORMAL || options.windowMode == WINDOW_MINIMIZED);
}

BOOL startConverter(char* command, const char* directory, WORD showCommand, DWORD creationFlags,
                    PROCESS_INFORMATION& process) {
  // Registered after the console's own handler, so that this one hears the keys first.
  if (commandRun) SetConsoleCtrlHandler(noteControlKeys, TRUE);
  return startReadChild(command, directory, showCommand, creationFlags, process);
}

namespace {

// A file that is there but cannot be opened for writing: another program holds it.
bool heldOpen(const char* path) {
  if (!stateOf(path).exists) return false;
  const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return true;
  CloseHandle(file);
  return false;
}

// A folder in which no file can be made.
bool folderRefuses(const char* folder) {
  PathText probe = "";
  appendFormatted(probe, "%s%scorvane-write-check.tmp", {folder, separatorAfter(folder)});
  const HANDLE file = CreateFileA(probe, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return false;
  }
  // Denied by the folder's rights, or a medium that is read-only as a whole.
  const DWORD error = GetLastError();
  return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

// What stands in the way of the files the run is to write, in message; empty when nothing does.
void findWhatStandsInTheWay() {
  message[0] = '\0';
  if (plan.place != OutputPlace::Known && plan.place != OutputPlace::Printer) return;
  PathText folder;
  copyText(folder, plan.postScript);
  if (cutToFolder(folder) && folderRefuses(folder)) {
    addParagraph(IDS_FOLDER_NOT_WRITABLE, {folder});
    return;
  }
  if (!plan.sections && heldOpen(plan.postScript)) {
    addParagraph(IDS_FILE_HELD_OPEN, {plan.postScript});
    return;
  }
  PathText planned;
  if (pdfOptions.makePdf && pdfFileFor(plan.postScript, planned) && heldOpen(planned))
    addParagraph(IDS_FILE_HELD_OPEN, {planned});
}

}  // namespace

bool planConversion(const char* command, const char* runFolder) {
  makePlan(command, runFolder);
  beginCommandRun();
  for (findWhatStandsInTheWay(); message[0] != '\0'; findWhatStandsInTheWay()) {
    if (commandPrinting) {
      keepMessageAsCause();
      return false;
    }
    SetForegroundWindow(GetActiveWindow());
    if (MessageBoxA(GetActiveWindow(), message, loadResourceString(IDS_ERROR_CAPTION),
                    MB_RETRYCANCEL | MB_ICONWARNING | MB_SETFOREGROUND) != IDRETRY)
      return false;
  }
  stage = Stage::Checked;
  postScriptBefore = stateOf(plan.postScript);
  for (FileState& state : sectionsBefore) state = {};
  PathText pattern;
  if (!plan.sections || !sectionFile(MAX_SECTIONS, pattern)) return true;
  // Every section file there is, whatever its number: one left from a longer run is not this
  // run's unless dvips writes it again.
  const std::size_t digits = std::strlen(pattern) - 3;
  std::memcpy(pattern + digits, "???", 3);
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  do {
    PathText section;
    copyText(section, pattern);
    const char* name = fileNameOf(found.cFileName);
    const std::size_t length = std::strlen(name);
    if (length < 3) continue;
    const char* number = name + length - 3;
    if (number[0] < '0' || number[0] > '9' || number[1] < '0' || number[1] > '9' ||
        number[2] < '0' || number[2] > '9')
      continue;
    const int index = (number[0] - '0') * 100 + (number[1] - '0') * 10 + (number[2] - '0') - 1;
    if (index < 0 || !sectionFile(index + 1, section)) continue;
    sectionsBefore[index] = stateOf(section);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return true;
}

void followConversion(HANDLE converter, const char* directory, WORD showCommand,
                      DWORD creationFlags) {
  outcome = Outcome::Nothing;
  converterFailed = converterWarned = false;
  if (!waitForExitCode(converter, exitCode) || !waitsForConverter()) return;
  stage = Stage::Followed;
  place = plan.place;
  filesWritten =
      place == OutputPlace::Known || place == OutputPlace::Printer ? countFilesWritten() : 0;
  // A printer's configuration that writes the default file is told by the file itself.
  if (place == OutputPlace::Printer && filesWritten > 0) place = OutputPlace::Known;
  converterExitCode = exitCode;
  readBitmapFonts();
  noteWhatWasSaid(converterSaid, "dvips", converterFailed, converterWarned);
  // dvips's exit code alone is no verdict: it ends with 1 after a missing figure, with the
  // PostScript written, and with 0 after replacing a font.
  converterFailed =
      converterFailed || (exitCode != 0 && filesWritten == 0) || controlKeysPressed != 0;
  converterWarned = converterWarned || exitCode != 0;
  if (converterFailed) {
    if (pdfOptions.reportFailure) outcome = Outcome::ConverterFailed;
    return;
  }
  if (!pdfOptions.makePdf && !pdfOptions.openResult) return;
  if (place != OutputPlace::Known) {
    outcome = Outcome::PlaceUnknown;
    return;
  }
  if (filesWritten == 0) {
    outcome = Outcome::NoPostScript;
    return;
  }
  if (!pdfOptions.makePdf) {
    planFile(0, result);
    outcome = Outcome::Done;
    return;
  }
  makePdf(directory, showCommand, creationFlags);
}

void reportConversion() {
  if (commandRun) keepOutcomeCauses();
  if (commandPrinting) {
    if (outcome == Outcome::Done && pdfOptions.openResult) openResult();
    return;
  }
  message[0] = '\0';
  char number[12];
  // A run that went through with warnings says so first, with a warning's icon.
  const bool goneThrough = outcome == Outcome::Nothing || outcome == Outcome::Done;
  if (goneThrough && converterWarned && pdfOptions.reportFailure) {
    addParagraph(IDS_DONE_WITH_WARNINGS);
    addSaid(converterSaid);
    addParagraph(IDS_EXIT_CODE, {"dvips", decimalText(converterExitCode, number)});
    reportError(message, MB_ICONWARNING);
    message[0] = '\0';
  }
  switch (outcome) {
    case Outcome::Nothing: return;
    case Outcome::Done:
      if (pdfOptions.openResult) openResult();
      return;
    case Outcome::ConverterFailed:
      addConverterCause();
      addSaid(converterSaid);
      addParagraph(IDS_DVIPS_FAILED, {decimalText(exitCode, number)});
      if (keptLineCount() == 0 && options.windowMode != WINDOW_CAPTURE)
        addParagraph(IDS_CAPTURE_ADVICE);
      break;
    case Outcome::PlaceUnknown:
      addParagraph(pdfOptions.makePdf ? IDS_NO_PDF_MADE : IDS_NOTHING_OPENED);
      addParagraph(placeReason());
      break;
    case Outcome::NoPostScript:
      addParagraph(IDS_NO_PDF_MADE);
      addParagraph(IDS_NO_POSTSCRIPT, {plan.postScript});
      break;
    case Outcome::GhostscriptMissing:
      addParagraph(IDS_NO_PDF_MADE);
      addParagraph(IDS_GHOSTSCRIPT_NOT_FOUND);
      appendFormatted(message, "\r\n\r\n%s", {ghostscriptPlacesLooked()});
      break;
    case Outcome::GhostscriptNotStarted: reportSystemError(startError, ghostscript); return;
    case Outcome::GhostscriptWroteNothing:
      addParagraph(IDS_NO_PDF_MADE);
      addParagraph(IDS_GHOSTSCRIPT_WROTE_NOTHING, {pdf});
      break;
    case Outcome::GhostscriptFailed:
      addSaid(ghostscriptSaid);
      addParagraph(IDS_GHOSTSCRIPT_FAILED, {decimalText(exitCode, number), pdf});
      if (keptLineCount() == 0 && options.windowMode != WINDOW_CAPTURE)
        addParagraph(IDS_CAPTURE_ADVICE);
      break;
  }
  reportError(message);
}

const char* programNotStarted(const char* program) {
  if (!programLookupFailed) return program;
  message[0] = '\0';
  appendFormatted(message, "%s\r\n\r\n%s", {program, dvipsPlacesLooked(program)});
  return message;
}

// ======== The command's run (corvane /convert): its causes, files and exit code ========

namespace {

// The causes of the run, kept as they are found: each one line, failure or warning.
constexpr int MOST_CAUSES = 24;
constexpr std::size_t CAUSE_SIZE = 1024;
ZERO_FILLED char causeTexts[MOST_CAUSES][CAUSE_SIZE];
ZERO_FILLED bool causeFailures[MOST_CAUSES];
int causeCount = 0;

void keepCauseText(bool failure, const char* text) {
  if (!commandRun || causeCount == MOST_CAUSES) return;
  char* const kept = causeTexts[causeCount];
  // Paragraphs and lines become one line, a blank between them.
  std::size_t length = 0;
  for (const char* at = text; *at != '\0' && length + 1 < CAUSE_SIZE; ++at) {
    const bool breaks = *at == '\r' || *at == '\n';
    if (breaks && (length == 0 || kept[length - 1] == ' ')) continue;
    kept[length++] = breaks ? ' ' : *at;
  }
  while (length > 0 && kept[length - 1] == ' ') --length;
  kept[length] = '\0';
  causeFailures[causeCount++] = failure;
}

void keepCause(bool failure, int sentence, const char* word) {
  ZERO_FILLED static char text[CAUSE_SIZE];
  text[0] = '\0';
  appendStringText(text, "", sentence, {word});
  keepCauseText(failure, text);
}

void keepMessageAsCause() { keepCauseText(true, message); }

bool causeKept(bool failure) {
  for (int index = 0; index < causeCount; ++index)
    if (causeFailures[index] == failure) return true;
  return false;
}

BOOL WINAPI noteControlKeys(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  InterlockedExchange(&controlKeysPressed, 1);
  return TRUE;
}

void beginCommandRun() {
  stage = Stage::NotRun;
  causeCount = 0;
}

// A PDF that Ghostscript began and did not finish, because it was stopped, is no PDF.
void removeSpoiltPdf() {
  if (controlKeysPressed != 0 && writtenSince(pdf, pdfBefore)) DeleteFileA(pdf);
}

// What the box would say beyond the programs' own causes, as causes of their own.
void keepOutcomeCauses() {
  if (stage != Stage::Followed) return;
  char number[12];
  message[0] = '\0';
  if (controlKeysPressed != 0) keepCause(true, IDS_STOPPED_BY_KEYS, "");
  if (converterFailed && controlKeysPressed != 0) return;
  if (converterFailed) {
    addConverterCause();
    if (message[0] != '\0') keepMessageAsCause();
    keepCause(true, IDS_DVIPS_FAILED, decimalText(converterExitCode, number));
    return;
  }
  if (converterWarned && !causeKept(false)) {
    message[0] = '\0';
    addParagraph(IDS_EXIT_CODE, {"dvips", decimalText(converterExitCode, number)});
    keepCauseText(false, message);
  }
  message[0] = '\0';
  switch (outcome) {
    case Outcome::PlaceUnknown:
      addParagraph(pdfOptions.makePdf ? IDS_NO_PDF_MADE : IDS_NOTHING_OPENED);
      addParagraph(placeReason());
      break;
    case Outcome::NoPostScript: addParagraph(IDS_NO_POSTSCRIPT, {plan.postScript}); break;
    case Outcome::GhostscriptMissing:
      addParagraph(IDS_GHOSTSCRIPT_NOT_FOUND);
      appendFormatted(message, " %s", {ghostscriptPlacesLooked()});
      break;
    case Outcome::GhostscriptNotStarted:
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     startError, 0, message, 1024, nullptr);
      appendFormatted(message, " %s", {ghostscript});
      break;
    case Outcome::GhostscriptWroteNothing:
      addParagraph(IDS_GHOSTSCRIPT_WROTE_NOTHING, {pdf});
      break;
    case Outcome::GhostscriptFailed:
      addParagraph(IDS_GHOSTSCRIPT_FAILED, {decimalText(exitCode, number), pdf});
      break;
    default: return;
  }
  keepCauseText(outcome != Outcome::PlaceUnknown || pdfOptions.makePdf, message);
}

}  // namespace

void convertForCommand(bool printing) {
  commandRun = true;
  commandPrinting = printing;
  controlKeysPressed = 0;
  beginCommandRun();
  SetConsoleCtrlHandler(noteControlKeys, TRUE);
}

void converterNotStarted(DWORD error, const char* what) {
  stage = Stage::NotStarted;
  if (!commandPrinting) {
    reportSystemError(error, what);
    return;
  }
  // What may lie in message itself.
  ZERO_FILLED static char program[REPORT_WHAT_SIZE];
  lstrcpynA(program, what, sizeof program);
  message[0] = '\0';
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                 message, 1024, nullptr);
  appendFormatted(message, " %s", {program});
  keepMessageAsCause();
}

int conversionExitCode() {
  switch (stage) {
    case Stage::NotRun: return 4;
    case Stage::Checked:
    case Stage::NotStarted: return 2;
    case Stage::Followed: break;
  }
  if (converterFailed || outcome == Outcome::NoPostScript) return 2;
  switch (outcome) {
    case Outcome::PlaceUnknown:
      if (pdfOptions.makePdf) return 3;
      return 1;
    case Outcome::GhostscriptMissing:
    case Outcome::GhostscriptNotStarted:
    case Outcome::GhostscriptFailed:
    case Outcome::GhostscriptWroteNothing: return 3;
    default: return converterWarned || causeKept(false) ? 1 : 0;
  }
}

const char* conversionCause(int index, bool& failure) {
  if (index < 0 || index >= causeCount) return nullptr;
  failure = causeFailures[index];
  return causeTexts[index];
}

const char* conversionFileMade(int index) {
  ZERO_FILLED static PathText made;
  // The files of a failed run are not what was asked for: none is told as made.
  if (stage != Stage::Followed || converterFailed || index < 0) return nullptr;
  if (index < filesWritten) return planFile(index, made) ? made : "";
  if (index > filesWritten || outcome != Outcome::Done || !pdfOptions.makePdf) return nullptr;
  copyText(made, pdf);
  return made;
}
