// Starting the converter, the Capture console that stays open until a key is pressed, and what
// follows the conversion.
#include <windows.h>

#include <array>
#include <cstring>

#include "base/error_box.h"
#include "base/strings.h"
#include "command/command_line.h"
#include "command/command_words.h"
#include "command/program_lookup.h"
#include "exec/child_process.h"
#include "exec/conversion.h"
#include "exec/exec.h"
#include "exec/output_reader.h"
#include "exec/pdf_making.h"
#include "exec/run_checks.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "paths/path_rules.h"
#include "resources/resource.h"

namespace {

constexpr std::array<WORD, WINDOW_MODE_BUTTONS> showCommands = {SW_SHOWNORMAL, SW_SHOWNORMAL,
                                                                SW_MINIMIZE, SW_HIDE};
constexpr WORD CAPTURE_COLOUR =
    FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE | FOREGROUND_INTENSITY | BACKGROUND_BLUE;

// Hidden also gives the converter a console without a window: where Windows Terminal is the
// default terminal, a console program started hidden would otherwise show up as a minimized
// Terminal window. The font makers that the converter may start share that console.
DWORD creationFlagsFor(int windowMode) {
  return windowMode == WINDOW_HIDDEN ? CREATE_NO_WINDOW : 0;
}

WORD showCommandFor(int windowMode) {
  if (windowMode < 0 || windowMode >= WINDOW_MODE_BUTTONS) return SW_SHOWNORMAL;
  return showCommands[static_cast<std::size_t>(windowMode)];
}

// The first word of the command, the program that process creation looked for.
const char* programPart() {
  ZERO_FILLED static char program[MAX_PATH];
  const char* at = commandLine;
  nextWord(at, program, sizeof program, true);
  return program;
}

void recolourConsole() {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  SetConsoleTextAttribute(output, CAPTURE_COLOUR);
  CONSOLE_SCREEN_BUFFER_INFO buffer;
  if (GetConsoleScreenBufferInfo(output, &buffer)) {
    const DWORD cells = static_cast<DWORD>(buffer.dwSize.X) * static_cast<DWORD>(buffer.dwSize.Y);
    DWORD written = 0;
    FillConsoleOutputAttribute(output, CAPTURE_COLOUR, cells, COORD{0, 0}, &written);
  }
  SetForegroundWindow(GetActiveWindow());
}

// The full path of the folder the converter runs in: the DVI file's, or this process's own.
const char* runFolder(bool useDirectory, const char* dviFullPath) {
  ZERO_FILLED static char folder[MAX_PATH];
  if (useDirectory) {
    lstrcpynA(folder, dviFullPath, sizeof folder);
    cutToFolder(folder);
    return folder;
  }
  // Read wide and brought into the field's form: the ANSI call gives '?' for a character
  // outside the code page, and no file would be found there.
  ZERO_FILLED static wchar_t current[WIDE_PATH_SIZE];
  const DWORD length = GetCurrentDirectoryW(WIDE_PATH_SIZE, current);
  if (length == 0 || length >= WIDE_PATH_SIZE || widePathToField(current, folder) != 0)
    folder[0] = '\0';
  return folder;
}

// Ctrl+C and Ctrl+Break in the run's console are for the programs running in it: Corvane stays to
// tell how they ended. A handler, unlike ignoring the keys, is not passed on to those programs.
// Closing the console's window ends Corvane a few seconds later whatever the handler does, so the
// handler ends the programs itself and removes what they left unfinished; the earlier PDF stays.
BOOL WINAPI stayOnControlKeys(DWORD event) {
  if (event == CTRL_CLOSE_EVENT) {
    noteRunWindowClosed();
    endChildren();
    removeUnfinishedFiles();
    return FALSE;
  }
  return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}

// A console of the run's own has standard handles of its own: those that Corvane was started with
// (by corvane.com, say) are another console's or none. The programs inherit them.
void useOwnConsole() {
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  const auto open = [&](const char* name) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       &inherited, OPEN_EXISTING, 0, nullptr);
  };
  const HANDLE input = open("CONIN$"), screen = open("CONOUT$");
  if (input != INVALID_HANDLE_VALUE) SetStdHandle(STD_INPUT_HANDLE, input);
  if (screen == INVALID_HANDLE_VALUE) return;
  SetStdHandle(STD_OUTPUT_HANDLE, screen);
  SetStdHandle(STD_ERROR_HANDLE, screen);
}

// The console that dvips and Ghostscript share: Capture's, or in Normal and Minimized mode when
// Corvane reads what they say, one shown as the mode asks and titled with the program, as Windows
// titles a program's own console. True when Corvane made it, and so leaves it after the run.
bool openRunConsole(bool capture, WORD showCommand) {
  const bool made = AllocConsole() != FALSE;
  if (made) useOwnConsole();
  SetConsoleCtrlHandler(stayOnControlKeys, TRUE);
  if (capture) {
    SetConsoleTitleA(loadResourceString(IDS_CONSOLE_TITLE));
    return made;
  }
  // A console shared with whoever started Corvane keeps its own title and place.
  if (!made) return false;
  SetConsoleTitleA(programPart());
  const HWND window = GetConsoleWindow();
  if (window != nullptr && showCommand != SW_SHOWNORMAL)
    ShowWindow(window, showCommand == SW_MINIMIZE ? SW_SHOWMINNOACTIVE : showCommand);
  return true;
}

// Events that arrived while the converter ran are read first, so a key pressed during the
// conversion ends the wait as soon as it is over.
void waitForKeyPress() {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  SetConsoleTitleA(loadResourceString(IDS_CONSOLE_DONE_TITLE));
  for (;;) {
    INPUT_RECORD record;
    DWORD read = 0;
    if (!ReadConsoleInputA(input, &record, 1, &read)) break;
    if (read == 1 && record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) break;
  }
}

}  // namespace

int checkCommandLine(const RunMessages& to) {
  char dviFullPath[DVI_FOLDER_SIZE], directory[DVI_FOLDER_SIZE];
  const bool useDirectory =
      options.useDviDirectory && dviFolder(options.dviFile, dviFullPath, directory);
  return checkBeforeRun(commandLine, runFolder(useDirectory, dviFullPath), to);
}

void runCommandLine(const RunMessages& to) {
  const bool capture = options.windowMode == WINDOW_CAPTURE;
  const WORD showCommand = showCommandFor(options.windowMode);
  const DWORD creationFlags = creationFlagsFor(options.windowMode);
  PROCESS_INFORMATION process;

  char dviFullPath[DVI_FOLDER_SIZE], directory[DVI_FOLDER_SIZE];
  const bool useDirectory =
      options.useDviDirectory && dviFolder(options.dviFile, dviFullPath, directory);
  const bool ownConsole =
      (capture || showsOutputInOwnConsole()) && openRunConsole(capture, showCommand);
  if (capture || waitsForConverter()) keepChildrenWithRun();
  if (!startConverter(commandLine, useDirectory ? directory : nullptr, showCommand, creationFlags,
                      process, to)) {
    const DWORD error = GetLastError();
    SetConsoleCtrlHandler(stayOnControlKeys, FALSE);
    if (ownConsole) FreeConsole();
    converterNotStarted(error, programNotStarted(programPart()), to);
    return;
  }
  if (capture || waitsForConverter())
    followConversion(process.hProcess, useDirectory ? directory : nullptr, showCommand,
                     creationFlags, to);
  if (capture) recolourConsole();
  if (process.hProcess != nullptr) CloseHandle(process.hProcess);
  // At the prompt Ctrl+C ends the wait, as it closes any console.
  SetConsoleCtrlHandler(stayOnControlKeys, FALSE);
  if (capture) waitForKeyPress();
  if (ownConsole) FreeConsole();
  reportConversion(to);
}
