// The argument rule of start-up: which DVI file the command line names.
#include "app/start_up.h"

#include <cwchar>

#include "command/command_words.h"
#include "options/options.h"
#include "paths/path_rules.h"

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
