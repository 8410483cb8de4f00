// The command mode: the run that OK on the sheet starts, with the saved settings and no sheet, for
// an editor's build chain; what it prints, and its exit code.
#include "app/convert_command.h"

#include <windows.h>

#include <atomic>

#include "app/command_lines.h"
#include "base/error_box.h"
#include "base/strings.h"
#include "base/text_format.h"
#include "command/command_line.h"
#include "exec/child_process.h"
#include "exec/conversion.h"
#include "exec/conversion_report.h"
#include "exec/exec.h"
#include "exec/pdf_making.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "paths/path_rules.h"
#include "resources/resource.h"

namespace {

constexpr int DONE = 0, WARNED = 1, DVIPS_FAILED = 2, GHOSTSCRIPT_FAILED = 3, NOTHING_RUN = 4;

HANDLE output = nullptr;
// The DVI file as the command names it, for the error box.
ZERO_FILLED char named[PATH_FIELD_SIZE];

// The stage of the run that Ctrl+C stopped, or -1. The handler runs on a thread of the system's.
std::atomic<int> stoppedIn{-1};

// One handler for the whole command, from before the checks to the last line: a stop ends the
// programs (the job's children, not this process) and is told by the exit code; closing the
// console leaves no unfinished file behind.
BOOL WINAPI stopOnControlKeys(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  int none = -1;
  stoppedIn.compare_exchange_strong(none, static_cast<int>(runStage()));
  endChildren();
  if (event != CTRL_CLOSE_EVENT) return TRUE;
  removeUnfinishedFiles();
  return FALSE;
}

int usage() {
  ZERO_FILLED static char text[4096];
  text[0] = '\0';
  for (int index = 0; index < USAGE_LINE_COUNT; ++index)
    appendStringText(text, "\r\n", IDS_FIRST_USAGE_LINE + index);
  if (output != nullptr) {
    printLine(text);
  } else {
    SetForegroundWindow(GetActiveWindow());
    MessageBoxA(nullptr, text, loadResourceString(IDS_SHEET_CAPTION), MB_ICONINFORMATION);
  }
  return DONE;
}

// An error before anything ran, printed as the DVI file's (or Corvane's) or in the error box.
int refuse(const RunMessages& lines, const char* text) {
  if (output != nullptr)
    lines.text(text, true);
  else
    reportError(text);
  return NOTHING_RUN;
}

int usageError(const CommandSwitches& switches) {
  ZERO_FILLED static char word[SWITCH_WORD_SIZE * 2];
  ZERO_FILLED static char text[512];
  WideCharToMultiByte(CP_ACP, 0, switches.word, -1, word, sizeof word, nullptr, nullptr);
  int id = IDS_NO_FILE_NAMED;
  switch (switches.problem) {
    case UsageProblem::UnknownSwitch: id = IDS_UNKNOWN_SWITCH; break;
    case UsageProblem::NoPurpose: id = IDS_NO_PURPOSE; break;
    case UsageProblem::UnknownPurpose: id = IDS_UNKNOWN_PURPOSE; break;
    case UsageProblem::SecondFile: id = IDS_SECOND_FILE; break;
    case UsageProblem::NoCommand: id = IDS_NO_COMMAND; break;
    case UsageProblem::SeveralWords: id = IDS_SEVERAL_WORDS; break;
    default: break;
  }
  text[0] = '\0';
  appendStringText(text, "", id, {word});
  refuse(messageLines(L"corvane"), text);
  if (output != nullptr) usage();
  return NOTHING_RUN;
}

// The system's text for why the DVI file cannot be read, or 0 when it can.
DWORD unreadable(const wchar_t* path) {
  const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(file);
  return (GetFileAttributesW(path) & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ERROR_FILE_NOT_FOUND : 0;
}

int refuseForSystem(const RunMessages& to, DWORD code) {
  to.systemError(code, output == nullptr ? named : nullptr);
  return NOTHING_RUN;
}

// The PostScript beside the DVI file and named after it, where build tools look for it and for
// the PDF: the DVI file's full name with ".ps" for its ".dvi", or after it.
DWORD setPostScriptBeside(const wchar_t* dviFile) {
  ZERO_FILLED static wchar_t postScript[WIDE_PATH_SIZE];
  const DWORD length = GetFullPathNameW(dviFile, WIDE_PATH_SIZE - 4, postScript, nullptr);
  if (length == 0 || length >= WIDE_PATH_SIZE - 4) return ERROR_FILENAME_EXCED_RANGE;
  wchar_t* end = postScript + length;
  if (length > 4 && lstrcmpiW(end - 4, L".dvi") == 0) end -= 4;
  lstrcpyW(end, L".ps");
  return widePathToField(postScript, options.psFile);
}

// What the settings say of how the PostScript and the PDF are made, changed as the switches ask;
// never what belongs to one document, the output file and the pages. dvips runs in the folder the
// command was started in, as an editor's own tools do, so that figures are found as LaTeX found
// them; no confirmation, and Corvane waits for the run, whose programs have no window of their own.
void setForCommand(const CommandSwitches& switches) {
  if (switches.makePdf >= 0) pdfOptions.makePdf = switches.makePdf;
  if (switches.purpose >= 0) pdfOptions.purpose = switches.purpose;
  pdfOptions.openResult = switches.openResult ? 1 : 0;
  pdfOptions.reportFailure = 1;
  options.pageRanges[0] = '\0';
  options.firstPage = options.lastPage = 0;
  options.pageParity = 0;
  options.useDviDirectory = 0;
  options.showCommandLine = 0;
  options.windowMode = WINDOW_HIDDEN;
}

// Joins the console of whoever started Corvane (corvane.com, cmd), so that Ctrl+C reaches it; the
// standard handles that Corvane was given stay its own.
void joinParentConsole() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  SetStdHandle(STD_INPUT_HANDLE, input);
  SetStdHandle(STD_OUTPUT_HANDLE, output);
  SetStdHandle(STD_ERROR_HANDLE, error);
}

int exitCode(RunEnd end, bool strict) {
  switch (end) {
    case RunEnd::Done: return DONE;
    case RunEnd::Warned: return strict ? WARNED : DONE;
    case RunEnd::DvipsFailed: return DVIPS_FAILED;
    case RunEnd::GhostscriptFailed: return GHOSTSCRIPT_FAILED;
    default: return NOTHING_RUN;
  }
}

// A stop tells which program it stopped: never a run done.
int stoppedExitCode(int stage) {
  if (stage == static_cast<int>(RunStage::Dvips)) return DVIPS_FAILED;
  if (stage == static_cast<int>(RunStage::Ghostscript)) return GHOSTSCRIPT_FAILED;
  return NOTHING_RUN;
}

}  // namespace

bool commandSlip(const CommandSwitches& switches, const wchar_t* file) {
  if (switches.kind != CommandKind::Sheet || switches.problem == UsageProblem::None) return false;
  return takeStandardOutput() != nullptr && GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES;
}

int runCommand(const CommandSwitches& switches) {
  SetConsoleCtrlHandler(stopOnControlKeys, TRUE);
  output = takeStandardOutput();
  if (output != nullptr) joinParentConsole();
  // The programs write into Corvane's own pipe: one that outlives the run, such as a font maker,
  // must not hold the output of the build tool that waits for its end.
  for (const DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})
    SetHandleInformation(GetStdHandle(which), HANDLE_FLAG_INHERIT, 0);
  if (switches.kind == CommandKind::Usage) return usage();
  if (switches.kind != CommandKind::Convert) return usageError(switches);
  const RunMessages& to = output != nullptr ? messageLines(switches.dviFile) : messageBoxes;
  WideCharToMultiByte(CP_ACP, 0, switches.dviFile, -1, named, sizeof named, nullptr, nullptr);
  named[sizeof named - 1] = '\0';
  if (const DWORD error = unreadable(switches.dviFile)) return refuseForSystem(to, error);
  if (const DWORD error = widePathToField(switches.dviFile, options.dviFile))
    return refuseForSystem(to, error);
  if (const DWORD error = setPostScriptBeside(switches.dviFile)) return refuseForSystem(to, error);
  setForCommand(switches);
  if (!composeCommandLine()) return NOTHING_RUN;
  // The checks that the sheet makes on OK: here a refusal ends the command, and nothing runs.
  if (checkCommandLine(to) != 0 || stoppedIn >= 0) return NOTHING_RUN;
  runCommandLine(to);
  for (int index = 0; const char* made = conversionFileMade(index); ++index) printMadeLine(made);
  if (stoppedIn >= 0) return stoppedExitCode(stoppedIn);
  return exitCode(conversionEnd(), switches.strict);
}
