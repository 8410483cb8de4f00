// Entry point: load the settings, show the sheet, and on OK compose, confirm and run.
#include <windows.h>

#include <commctrl.h>

#include "app/app.h"
#include "app/convert_command.h"
#include "app/start_up.h"
#include "base/error_box.h"
#include "base/instance.h"
#include "base/library_search.h"
#include "command/command_line.h"
#include "command/command_words.h"
#include "exec/exec.h"
#include "help/help_path.h"
#include "options/options.h"
#include "paths/path_rules.h"
#include "paths/start_folder.h"
#include "sheet/sheet.h"

namespace {

// The program's own path in wide characters: its folder may be named outside the code page.
ZERO_FILLED wchar_t modulePath[WIDE_PATH_SIZE];

}  // namespace

namespace {

// Set on OK when compose or the confirmation drops the run: the sheet closes and nothing runs.
bool runDropped = false;

}  // namespace

int composeConfirmCheck() {
  runDropped = !composeCommandLine() || !confirmCommandLine();
  return runDropped ? 0 : checkCommandLine(messageBoxes);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  restrictLibrarySearch();
  keepStartFolder();
  // Never closed: the system releases it when the process ends, however it ends.
  CreateMutexA(nullptr, FALSE, RUNNING_MUTEX_NAME);
  appInstance = instance;
  loadOptions();
  // The runtime's own split of the command line differs between runtimes; the argument is
  // taken from the process's command line by the program's own rule, in wide characters so that
  // a name outside the ANSI code page is not turned into question marks.
  const wchar_t* const argument = argumentOfCommandLine(GetCommandLineW());
  // A command (/convert, /?) shows no sheet: it needs neither the common controls nor the help.
  const CommandSwitches& command = readCommandSwitches(argument);
  if (command.kind != CommandKind::Sheet || commandSlip(command, dviFileOfArgument(argument)))
    return runCommand(command);
  InitCommonControls();
  makeHelpFilePath(modulePath, GetModuleFileNameW(appInstance, modulePath, WIDE_PATH_SIZE));
  const std::uint32_t argumentError = takeDviFileArgument(argument);
  if (argumentError != 0) reportPathError(argumentError, dviFileOfArgument(argument));
  if (runOptionsSheet(composeConfirmCheck) > 0 && !runDropped) runCommandLine(messageBoxes);
  return 0;
}
