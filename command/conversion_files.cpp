// The PostScript and PDF of a conversion, named by dvips's rule.
#include "command/conversion_files.h"

#include <cstring>

#include "app/text_format.h"
#include "paths/path_system.h"

namespace {

bool isAbsolute(const char* path) {
  return path[0] == '\\' || path[0] == '/' || (path[0] != '\0' && path[1] == ':');
}

// Whether a blank-separated word of the text starts with the switch.
bool hasSwitch(const char* text, const char* name) {
  const std::size_t length = std::strlen(name);
  for (const char* at = text; *at != '\0'; ++at)
    if ((at == text || *(at - 1) == ' ' || *(at - 1) == '\t') &&
        std::strncmp(at, name, length) == 0)
      return true;
  return false;
}

// The position of the extension's dot in the file name at the end of path, or null.
const char* extensionDot(const char* path) { return lastCharacterOf(fileNameOf(path), "."); }

// The full form of folder\name; false when it does not fit.
bool fullPathIn(const char* folder, const char* name, PathText& path) {
  PathText joined = "";
  if (isAbsolute(name)) {
    appendFormatted(joined, "%s", {name});
  } else {
    appendFormatted(joined, "%s%s%s", {folder, separatorAfter(folder), name});
  }
  const std::uint32_t length = fullPathName(joined, path, PATH_FIELD_SIZE);
  return length != 0 && length < PATH_FIELD_SIZE;
}

}  // namespace

OutputPlace postScriptFile(const char* runFolder, PathText& path) {
  path[0] = '\0';
  if (options.printer[0] != '\0' || hasSwitch(options.otherOptions, "-P"))
    return OutputPlace::Printer;
  if (hasSwitch(options.otherOptions, "-o")) return OutputPlace::OutputOption;
  if (options.psFile[0] == '!' || options.psFile[0] == '|') return OutputPlace::Program;
  if (options.psFile[0] != '\0')
    return fullPathIn(runFolder, options.psFile, path) ? OutputPlace::Known : OutputPlace::TooLong;
  if (options.dviFile[0] == '\0') return OutputPlace::NoDviFile;
  const char* name = fileNameOf(options.dviFile);
  const char* dot = extensionDot(name);
  PathText psName = "";
  const std::size_t stem =
      dot == nullptr ? std::strlen(name) : static_cast<std::size_t>(dot - name);
  if (stem + 4 >= PATH_FIELD_SIZE) return OutputPlace::TooLong;
  std::memcpy(psName, name, stem);
  std::memcpy(psName + stem, ".ps", 4);
  return fullPathIn(runFolder, psName, path) ? OutputPlace::Known : OutputPlace::TooLong;
}

bool pdfFileFor(const char* postScript, PathText& pdf) {
  const char* dot = extensionDot(postScript);
  const std::size_t stem =
      dot == nullptr ? std::strlen(postScript) : static_cast<std::size_t>(dot - postScript);
  const bool alreadyPdf = dot != nullptr && (dot[1] | 0x20) == 'p' && (dot[2] | 0x20) == 'd' &&
                          (dot[3] | 0x20) == 'f' && dot[4] == '\0';
  // A PostScript file named *.pdf keeps its name whole, so that Ghostscript never writes over
  // the file it reads.
  const std::size_t kept = alreadyPdf ? std::strlen(postScript) : stem;
  if (kept + 4 >= PATH_FIELD_SIZE) return false;
  std::memcpy(pdf, postScript, kept);
  std::memcpy(pdf + kept, ".pdf", 5);
  return true;
}
