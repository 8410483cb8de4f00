// Starting the converter, and the Capture console that stays open until a key is pressed.
#include <windows.h>

#include <array>

#include "app/strings.h"
#include "command/command_line.h"
#include "exec/exec.h"
#include "options/options.h"
#include "resources/resource.h"

namespace {

constexpr std::array<WORD, WINDOW_MODE_BUTTONS> showCommands = {SW_SHOWNORMAL, SW_SHOWNORMAL,
                                                                SW_MINIMIZE, SW_HIDE};
constexpr WORD CAPTURE_COLOUR =
    FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE | FOREGROUND_INTENSITY | BACKGROUND_BLUE;

WORD showCommandFor(int windowMode) {
  if (windowMode < 0 || windowMode >= WINDOW_MODE_BUTTONS) return SW_SHOWNORMAL;
  return showCommands[static_cast<std::size_t>(windowMode)];
}

// The DVI file's folder in short form, or false when there is none to use. A file in a drive's
// root keeps its backslash: a bare "C:" would name the drive's current directory instead.
bool dviDirectory(char (&directory)[MAX_PATH]) {
  if (!options.useDviDirectory) return false;
  const DWORD length = GetShortPathNameA(options.dviFile, directory, sizeof directory);
  if (length == 0 || length >= sizeof directory) return false;
  char* lastBackslash = nullptr;
  for (char* at = directory; *at != '\0'; ++at)
    if (*at == '\\') lastBackslash = at;
  if (lastBackslash == nullptr) return false;
  const bool bareDrive = lastBackslash == directory + 2 && directory[1] == ':';
  lastBackslash[bareDrive ? 1 : 0] = '\0';
  return true;
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

void runCommandLine() {
  const bool capture = options.windowMode == WINDOW_CAPTURE;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showCommandFor(options.windowMode);
  PROCESS_INFORMATION process = {};

  char directory[MAX_PATH];
  const bool useDirectory = dviDirectory(directory);

  if (capture) {
    AllocConsole();
    SetConsoleTitleA(loadResourceString(IDS_CONSOLE_TITLE));
  }
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr,
                      useDirectory ? directory : nullptr, &startup, &process)) {
    const DWORD error = GetLastError();
    if (capture) FreeConsole();
    reportSystemError(error);
    return;
  }
  CloseHandle(process.hThread);
  if (capture) {
    WaitForSingleObject(process.hProcess, INFINITE);
    recolourConsole();
  }
  CloseHandle(process.hProcess);
  if (!capture) return;
  waitForKeyPress();
  FreeConsole();
}
