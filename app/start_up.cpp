// The argument rule and the help path rule of start-up.
#include "app/start_up.h"

#include <cstring>

#include "options/options.h"

char helpFilePath[HELP_PATH_SIZE];

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

const char* skipBlanks(const char* text) {
  while (isBlank(*text)) ++text;
  return text;
}

}  // namespace

const char* argumentOfCommandLine(const char* processCommandLine) {
  const char* at = skipBlanks(processCommandLine);
  if (*at == '"') {
    ++at;
    while (*at != '\0' && *at != '"' && *at != '\t') ++at;
  } else {
    while (*at != '\0' && !isBlank(*at)) ++at;
  }
  if (*at == '"') ++at;
  return skipBlanks(at);
}

void takeDviFileArgument(const char* argument) {
  const std::size_t length = std::strlen(argument);
  if (length == 0) return;
  const bool wholeInQuotes = length >= 2 && argument[0] == '"' && argument[length - 1] == '"' &&
                             std::memchr(argument + 1, '"', length - 2) == nullptr;
  if (!wholeInQuotes) {
    copyText(options.dviFile, argument);
    return;
  }
  const std::size_t innerLength = length - 2;
  const std::size_t kept = innerLength < PATH_FIELD_SIZE - 1 ? innerLength : PATH_FIELD_SIZE - 1;
  std::memcpy(options.dviFile, argument + 1, kept);
  options.dviFile[kept] = '\0';
}

void makeHelpFilePath(std::uint32_t reportedLength) {
  if (reportedLength < 3 || reportedLength >= HELP_PATH_SIZE ||
      helpFilePath[reportedLength] != '\0') {
    helpFilePath[0] = '\0';
    return;
  }
  std::memcpy(helpFilePath + reportedLength - 3, "chm", 4);
}
