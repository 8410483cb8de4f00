// Fuzz target: any PostScript header gives a title that fits, and a definition of it and of any
// profile's path that fits and stays ended.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "command/pdfa_definition.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The header up to the first NUL, the profile's path after it.
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t end = input.find('\0');
  const std::string header = input.substr(0, end);
  const std::string profile = end == std::string::npos ? "" : input.substr(end + 1);
  static char title[PDFA_TITLE_SIZE];
  static char definition[PDFA_DEFINITION_SIZE];
  postScriptTitle(header.c_str(), title);
  if (std::strlen(title) >= PDFA_TITLE_SIZE) __builtin_trap();
  if (composePdfaDefinition(title, profile.c_str(), definition) &&
      std::strlen(definition) >= PDFA_DEFINITION_SIZE)
    __builtin_trap();
  return 0;
}
