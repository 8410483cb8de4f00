// Where the help file lies: beside the program, under its name.
#include "help/help_path.h"

#include <cwchar>

#include "paths/path_rules.h"

ZERO_FILLED char helpFilePath[HELP_PATH_SIZE];

void makeHelpFilePath(wchar_t* modulePath, std::uint32_t reportedLength) {
  helpFilePath[0] = '\0';
  if (reportedLength < 3 || reportedLength >= WIDE_PATH_SIZE || modulePath[reportedLength] != L'\0')
    return;
  std::wmemcpy(modulePath + reportedLength - 3, L"chm", 4);
  // The help file lies beside the program, whose folder may be named outside the code page.
  if (widePathToField(modulePath, helpFilePath) != 0) helpFilePath[0] = '\0';
}
