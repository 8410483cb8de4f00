// The argument rule and the help path rule of start-up.
#include "app/start_up.h"

#include <cstring>
#include <cwchar>

#include "options/options.h"
#include "paths/path_rules.h"

ZERO_FILLED char helpFilePath[HELP_PATH_SIZE];

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

const wchar_t* skipBlanks(const wchar_t* text) {
  while (isBlank(*text)) ++text;
  return text;
}

ZERO_FILLED wchar_t unquotedArgument[WIDE_PATH_SIZE];

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

std::uint32_t takeDviFileArgument(const wchar_t* argument) {
  const std::size_t length = std::wcslen(argument);
  if (length == 0) return 0;
  const bool wholeInQuotes = length >= 2 && argument[0] == L'"' && argument[length - 1] == L'"' &&
                             std::wmemchr(argument + 1, L'"', length - 2) == nullptr;
  if (!wholeInQuotes) return widePathToField(argument, options.dviFile);
  const std::size_t innerLength = length - 2;
  if (innerLength >= WIDE_PATH_SIZE) return PATH_TOO_LONG;
  std::wmemcpy(unquotedArgument, argument + 1, innerLength);
  unquotedArgument[innerLength] = L'\0';
  return widePathToField(unquotedArgument, options.dviFile);
}

void makeHelpFilePath(std::uint32_t reportedLength) {
  if (reportedLength < 3 || reportedLength >= HELP_PATH_SIZE ||
      helpFilePath[reportedLength] != '\0') {
    helpFilePath[0] = '\0';
    return;
  }
  std::memcpy(helpFilePath + reportedLength - 3, "chm", 4);
}
