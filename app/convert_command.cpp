// The command mode: the run that OK on the sheet starts, with the saved settings and no sheet, for
// an editor's build chain; what it prints, and its exit code.
#include "app/convert_command.h"

#include <windows.h>

#include "base/error_box.h"
#include "base/strings.h"
#include "base/text_format.h"
#include "command/command_line.h"
#include "exec/conversion.h"
#include "exec/exec.h"
#include "exec/run_messages.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "paths/path_rules.h"
#include "resources/resource.h"

namespace {

constexpr int NOTHING_RUN = 4;

// Standard output when Corvane has one (a console, a pipe or a file); null when started from
// Explorer or a shortcut, and then the boxes of a run from the sheet tell what went wrong.
HANDLE output = nullptr;
ZERO_FILLED char line[8192];
// The DVI file as the command names it, for the start of each cause's line.
ZERO_FILLED char named[PATH_FIELD_SIZE];

HANDLE standardOutput() {
  const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
  const DWORD type = GetFileType(handle);
  return type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE || type == FILE_TYPE_DISK ? handle
                                                                                    : nullptr;
}

// Prints line, ended by a line break.
void printLine() {
  appendFormatted(line, "\r\n");
  DWORD written = 0;
  WriteFile(output, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
  line[0] = '\0';
}

// "FILE.dvi: error: ...", the form that editors' problem matchers read.
void printCause(const char* kind, const char* text) {
  line[0] = '\0';
  appendFormatted(line, "%s: %s: %s", {named, kind, text});
  printLine();
}

int usage() {
  line[0] = '\0';
  for (int index = 0; index < USAGE_LINE_COUNT; ++index) {
    if (index > 0) appendFormatted(line, "\r\n");
    appendStringText(line, "", IDS_FIRST_USAGE_LINE + index);
  }
  if (output != nullptr) {
    printLine();
  } else {
    SetForegroundWindow(GetActiveWindow());
    MessageBoxA(nullptr, line, loadResourceString(IDS_SHEET_CAPTION), MB_ICONINFORMATION);
  }
  return 0;
}

// An error before anything ran, printed as the DVI file's (or Corvane's) or in the error box.
int refuse(const char* text) {
  if (output != nullptr)
    printCause("error", text);
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
    default: break;
  }
  text[0] = '\0';
  appendStringText(text, "", id, {word});
  copyText(named, "corvane");
  return refuse(text);
}

// The system's text for why the DVI file cannot be read, or 0 when it can.
DWORD unreadable(const wchar_t* path) {
  const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(file);
  return (GetFileAttributesW(path) & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ERROR_FILE_NOT_FOUND : 0;
}

int refuseForSystem(DWORD code) {
  if (output == nullptr) {
    reportSystemError(code, named);
    return NOTHING_RUN;
  }
  return refuse(systemText(code));
}

// What the settings say, changed as the switches ask: no confirmation, and Corvane waits for the
// run, whose console is the one Corvane was started in, or none.
void setForCommand(const CommandSwitches& switches, bool sharedConsole) {
  if (switches.makePdf >= 0) pdfOptions.makePdf = switches.makePdf;
  if (switches.purpose >= 0) pdfOptions.purpose = switches.purpose;
  pdfOptions.openResult = switches.openResult ? 1 : 0;
  pdfOptions.reportFailure = 1;
  options.showCommandLine = 0;
  options.windowMode = sharedConsole ? WINDOW_NORMAL : WINDOW_HIDDEN;
}

// Joins the console of whoever started Corvane (corvane.com, cmd), so that dvips and Ghostscript
// write there and Ctrl+C reaches them; the standard handles that Corvane was given stay its own.
bool joinParentConsole() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  SetStdHandle(STD_INPUT_HANDLE, input);
  SetStdHandle(STD_OUTPUT_HANDLE, output);
  SetStdHandle(STD_ERROR_HANDLE, error);
  return true;
}

// The run ends by leaving the console it shared: a console that is the standard output is joined
// again, and written through a handle of its own, for the lines that follow the run.
void rejoinParentConsole() {
  if (GetFileType(output) != FILE_TYPE_CHAR || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  const HANDLE screen =
      CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (screen != INVALID_HANDLE_VALUE) output = screen;
}

}  // namespace

int runCommand(const CommandSwitches& switches) {
  output = standardOutput();
  if (switches.kind == CommandKind::Usage) return usage();
  if (switches.kind != CommandKind::Convert) return usageError(switches);
  WideCharToMultiByte(CP_ACP, 0, switches.dviFile, -1, named, sizeof named, nullptr, nullptr);
  named[sizeof named - 1] = '\0';
  if (const DWORD error = unreadable(switches.dviFile)) return refuseForSystem(error);
  if (const DWORD error = widePathToField(switches.dviFile, options.dviFile))
    return refuseForSystem(error);
  convertForCommand(output != nullptr);
  const bool sharedConsole = output != nullptr && joinParentConsole();
  setForCommand(switches, sharedConsole);
  if (!composeCommandLine()) return NOTHING_RUN;
  // The checks that the sheet makes on OK: here a refusal ends the command, and nothing runs.
  const bool mayRun = checkCommandLine() == 0;
  if (mayRun) runCommandLine();
  if (sharedConsole) rejoinParentConsole();
  if (output != nullptr) {
    bool failure = false;
    for (int index = 0; const char* cause = conversionCause(index, failure); ++index)
      printCause(failure ? "error" : "warning", cause);
    for (int index = 0; const char* made = conversionFileMade(index); ++index) {
      appendStringText(line, "", IDS_FILE_MADE, {made});
      printLine();
    }
  }
  return mayRun ? conversionExitCode() : NOTHING_RUN;
}
