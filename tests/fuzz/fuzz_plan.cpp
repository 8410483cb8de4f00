// Fuzz target: any command, run in any folder, gives a plan whose files fit their fields, and a
// PDF that is never the PostScript itself.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "command/conversion_files.h"
#include "command/pdf_placing.h"
#include "tests/native/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  resetFakes();
  // The command up to the first NUL, the run folder after it.
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t end = input.find('\0');
  const std::string command = input.substr(0, end);
  const std::string folder = end == std::string::npos ? "C:\\Papers" : input.substr(end + 1);
  makePlan(command.c_str(), folder.c_str());
  if (std::strlen(plan.dviFile) >= PATH_FIELD_SIZE ||
      std::strlen(plan.postScript) >= PATH_FIELD_SIZE)
    __builtin_trap();
  PathText file, pdf, made;
  for (int number : {1, 2, MAX_SECTIONS})
    if (sectionFile(number, file) && std::strlen(file) >= PATH_FIELD_SIZE) __builtin_trap();
  if (pdfFileFor(plan.postScript, pdf)) {
    if (std::strcmp(pdf, plan.postScript) == 0) __builtin_trap();
    std::uint32_t owner = 0;
    if (newPdfName(pdf, 4294967295u, made) &&
        (!newPdfOwner(made, pdf, owner) || owner != 4294967295u))
      __builtin_trap();
    if (keptPdfName(pdf, made) && std::strcmp(made, pdf) == 0) __builtin_trap();
  }
  return 0;
}
