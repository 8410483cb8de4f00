// Fuzz target: any process command line gives an argument that fits dviFile and a command
// from which the DVI file reads back whole, and switches of the command mode that name a file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

#include "app/command_switches.h"
#include "app/start_up.h"
#include "command/command_line.h"
#include "command/command_words.h"
#include "options/options.h"
#include "tests/native/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  resetFakes();
  resetOptions();
  setDefaultOptions();
  // Two bytes make one character, as in the system's wide command line.
  std::wstring processCommandLine;
  for (std::size_t at = 0; at + 1 < size; at += 2)
    processCommandLine += static_cast<wchar_t>(data[at] | data[at + 1] << 8);
  const wchar_t* argument = argumentOfCommandLine(processCommandLine.c_str());
  if (argument < processCommandLine.c_str() ||
      argument > processCommandLine.c_str() + std::wcslen(processCommandLine.c_str()))
    __builtin_trap();
  const CommandSwitches& command = readCommandSwitches(argument);
  if (command.kind == CommandKind::Convert && (command.dviFile == nullptr || *command.dviFile == 0))
    __builtin_trap();
  if (std::wcslen(command.word) >= SWITCH_WORD_SIZE) __builtin_trap();
  const std::uint32_t error = takeDviFileArgument(argument);
  if (error != 0 && error != 206 && error != 1113) __builtin_trap();
  if (std::strlen(options.dviFile) >= PATH_FIELD_SIZE) __builtin_trap();
  if (options.psFile[0] != '\0') __builtin_trap();
  if (composeCommandLine() != 1) __builtin_trap();
  // The DVI file comes back from the command as its last word, whatever it holds.
  const char* at = commandLine;
  static char word[2 * PATH_FIELD_SIZE];
  std::string last;
  for (bool program = true; nextWord(at, word, sizeof word, program) == WordRead::Taken;
       program = false)
    last = word;
  if (options.dviFile[0] != '\0' && last != options.dviFile) __builtin_trap();
  return 0;
}
