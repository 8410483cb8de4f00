// The argument rule and the help path rule of start-up.
#include "app/start_up.h"

#include <cwchar>

#include "command/command_words.h"
#include "options/options.h"
#include "paths/path_rules.h"

ZERO_FILLED char helpFilePath[HELP_PATH_SIZE];

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

const wchar_t* skipBlanks(const wchar_t* text) {
  while (isBlank(*text)) ++text;
  return text;
}

}  // namespace

const wchar_t* argumentOfCommandLine(const wchar_t* processCommandLine) {
  const wchar_t* at = skipBlanks(processCommandLine);
  if (*at == L'"') {
    ++at;
    while (*at != L'\0' && *at != L'"' && *at != L'\t') ++at;
  } else {
    while (*at != L'\0' && !isBlank(*at)) ++at;
  }
  if (*at == L'"') ++at;
  return skipBlanks(at);
}

const wchar_t* dviFileOfArgument(const wchar_t* argument) {
  ZERO_FILLED static wchar_t word[WIDE_PATH_SIZE];
  const std::size_t length = std::wcslen(argument);
  if (length < 2 || argument[0] != L'"' || argument[length - 1] != L'"') return argument;
  const wchar_t* at = argument;
  if (nextWord(at, word, WIDE_PATH_SIZE) != WordRead::Taken || *at != L'\0') return argument;
  return word;
}

std::uint32_t takeDviFileArgument(const wchar_t* argument) {
  if (argument[0] == L'\0') return 0;
  return widePathToField(dviFileOfArgument(argument), options.dviFile);
}

void makeHelpFilePath(wchar_t* modulePath, std::uint32_t reportedLength) {
  helpFilePath[0] = '\0';
  if (reportedLength < 3 || reportedLength >= WIDE_PATH_SIZE || modulePath[reportedLength] != L'\0')
    return;
  std::wmemcpy(modulePath + reportedLength - 3, L"chm", 4);
  // The help file lies beside the program, whose folder may be named outside the code page.
  if (widePathToField(modulePath, helpFilePath) != 0) helpFilePath[0] = '\0';
}
