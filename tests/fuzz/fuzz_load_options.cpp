// Fuzz target: any stored value, loaded, then composed into a command, stays in its buffers,
// with a single-byte code page and with a double-byte one, where the DVI file's folder is found
// by stepping through two-byte characters; so do the lookups' texts, the plan read back from the
// command, and Ghostscript's command for its files.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "command/command_line.h"
#include "command/conversion_files.h"
#include "command/ghostscript_command.h"
#include "command/places_looked.h"
#include "command/program_lookup.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "paths/path_rules.h"
#include "paths/path_system.h"
#include "tests/native/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const bool doubleByte : {false, true}) {
    resetFakes();
    resetOptions();
    fakeDoubleByte = doubleByte;
    auto& values = fakeStore.keys["Software\\Tolmarek\\Corvane\\Version 1.00"];
    values["Options"] = StoredValue{std::vector<unsigned char>(data, data + size), 3};
    values["PDF"] = values["Options"];
    loadOptions();
    if (options.size != OPTIONS_SIZE || options.magic != OPTIONS_MAGIC) __builtin_trap();
    for (const char* field : {options.dviFile, options.psFile, options.programFile, options.printer,
                              options.otherOptions, pdfOptions.ghostscriptFile})
      if (std::memchr(field, '\0', PATH_FIELD_SIZE) == nullptr) __builtin_trap();
    if (pdfOptions.purpose < 0 || pdfOptions.purpose >= PDF_PURPOSE_COUNT) __builtin_trap();
    if (std::strlen(dvipsPlacesLooked(options.programFile)) >= PLACES_TEXT_SIZE) __builtin_trap();
    fakeShortNames[options.programFile] = options.programFile;
    // The DVI file is found, under its own name, whether the record names it fully or not.
    char fullPath[DVI_FOLDER_SIZE];
    const std::uint32_t fullLength = fullPathName(options.dviFile, fullPath, DVI_FOLDER_SIZE);
    if (fullLength > 0 && fullLength < DVI_FOLDER_SIZE) fakeShortNames[fullPath] = fullPath;
    if (composeCommandLine() != 1) __builtin_trap();
    if (std::strlen(commandLine) >= static_cast<std::size_t>(commandCapacity)) __builtin_trap();
    // The plan read back from that command, and Ghostscript's command for its files.
    makePlan(commandLine, "C:\\Run");
    PathText pdf;
    if (plan.place == OutputPlace::Known && pdfFileFor(plan.postScript, pdf)) {
      static char command[GHOSTSCRIPT_COMMAND_SIZE];
      const InputName input = [](int index, PathText& path) {
        if (plan.sections) return sectionFile(index + 1, path);
        copyText(path, plan.postScript);
        return true;
      };
      composeGhostscriptCommand(options.otherOptions, input, plan.sections ? 3 : 1, pdf,
                                size % 2 == 0, plan.encapsulated, command);
      if (std::strlen(command) >= GHOSTSCRIPT_COMMAND_SIZE) __builtin_trap();
    }
  }
  return 0;
}
