// Fuzz target: any process command line gives an argument that fits dviFile and a command.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/start_up.h"
#include "command/command_line.h"
#include "options/options.h"
#include "tests/native/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  resetFakes();
  resetOptions();
  setDefaultOptions();
  const std::string processCommandLine(reinterpret_cast<const char*>(data), size);
  const char* argument = argumentOfCommandLine(processCommandLine.c_str());
  if (argument < processCommandLine.c_str() ||
      argument > processCommandLine.c_str() + std::strlen(processCommandLine.c_str()))
    __builtin_trap();
  takeDviFileArgument(argument);
  if (std::strlen(options.dviFile) >= PATH_FIELD_SIZE) __builtin_trap();
  if (options.psFile[0] != '\0') __builtin_trap();
  if (composeCommandLine() != 1) __builtin_trap();
  return 0;
}
