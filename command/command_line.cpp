// The converter's command line: program, switches in a fixed order, then the quoted DVI file.
#include "command/command_line.h"

#include <cstdlib>
#include <cstring>

#include "base/text_format.h"
#include "command/command_words.h"
#include "command/dvips_to_run.h"
#include "options/options.h"
#include "paths/path_rules.h"
#include "paths/path_system.h"

char* commandLine = nullptr;
std::int32_t commandCapacity = 0;
bool programLookupFailed = false;

namespace {

// Long enough for the longest switch: "-L =-2147483648 " is 16 characters.
char switchBuffer[32];

bool isPresent(const char* text) { return text[0] != '\0'; }

// The short form is one word. A bare name that is not in the current folder is looked for where
// process creation and the TeX distributions put it, and the program found goes in as a path
// field would hold it, so that the confirmation shows which one runs. When there is none the name
// as typed stands, in quotes when it holds blanks, or the system would run the part before the
// first.
void writeProgramPart() {
  ZERO_FILLED static DvipsToRun dvips;
  ZERO_FILLED static PathText found;
  dvipsThatWillRun(options.programFile, dvips);
  programLookupFailed = dvips.lookedUpInVain;
  found[0] = '\0';
  if (dvips.shortForm[0] == '\0' && dvips.path[0] != L'\0') programForCommand(dvips.path, found);
  const char* program = dvips.shortForm[0] != '\0' ? dvips.shortForm
                        : found[0] != '\0'         ? found
                                                   : dvips.typed;
  appendProgramWord(commandLine, static_cast<std::size_t>(commandCapacity), program);
}

// A path in quotes, by the rule that the converter reads its words with: a folder that ends in a
// backslash would otherwise escape the closing quote and swallow the next word.
int appendQuotedPath(const char* before, const char* path, const char* after) {
  char quoted[quotedWordSize(PATH_FIELD_SIZE)] = "";
  return appendQuotedWord(quoted, sizeof quoted, path) && appendToCommandLine(before) &&
         appendToCommandLine(quoted) && appendToCommandLine(after);
}

int appendField(const char* before, const char* field, const char* after) {
  return appendToCommandLine(before) && appendToCommandLine(field) && appendToCommandLine(after);
}

char copyLetter(std::int8_t copyMode) {
  if (copyMode == 0) return 'C';
  if (copyMode == 1) return 'c';
  return 'b';
}

int appendSwitches() {
  const Options& o = options;
  if (isPresent(o.psFile) && !appendQuotedPath("-o ", o.psFile, " ")) return 0;
  if (o.encapsulated && !appendToCommandLine("-E ")) return 0;
  if (isPresent(o.pageRanges) && !appendField("-pp ", o.pageRanges, " ")) return 0;
  if (o.firstPage && !appendToCommandLine(formatSwitch('p', o.firstPage, !o.useTexNumbers)))
    return 0;
  if (o.lastPage && !appendToCommandLine(formatSwitch('l', o.lastPage, !o.useTexNumbers))) return 0;
  if (o.pageParity == 1 && !appendToCommandLine("-A ")) return 0;
  if (o.pageParity == 2 && !appendToCommandLine("-B ")) return 0;
  if (o.copies && !appendToCommandLine(formatSwitch(copyLetter(o.copyMode), o.copies, 0))) return 0;
  if (o.reverseOrder && !appendToCommandLine("-r ")) return 0;
  if (isPresent(o.paperType) && !appendField("-t ", o.paperType, " ")) return 0;
  if (o.magnification &&
      !appendToCommandLine(formatSwitch(o.multiplyDviMag ? 'y' : 'x', o.magnification, 0)))
    return 0;
  if (o.landscape && !appendToCommandLine("-t landscape ")) return 0;
  if (o.manualFeed && !appendToCommandLine("-m ")) return 0;
  if (isPresent(o.offset) && !appendField("-O ", o.offset, " ")) return 0;
  if (isPresent(o.paperSize) && !appendField("-T ", o.paperSize, " ")) return 0;
  if (o.resolution && !appendToCommandLine(formatSwitch('D', o.resolution, 0))) return 0;
  if (o.horizontalResolution && !appendToCommandLine(formatSwitch('X', o.horizontalResolution, 0)))
    return 0;
  if (o.verticalResolution && !appendToCommandLine(formatSwitch('Y', o.verticalResolution, 0)))
    return 0;
  if (isPresent(o.printer) && !appendField("-P ", o.printer, " ")) return 0;
  if (o.quiet && !appendToCommandLine("-q ")) return 0;
  if (!o.createFonts && !appendToCommandLine("-M ")) return 0;
  if (isPresent(o.otherOptions) && !appendField("", o.otherOptions, " ")) return 0;
  char fullPath[DVI_FOLDER_SIZE], folder[DVI_FOLDER_SIZE];
  const bool inItsFolder = o.useDviDirectory && dviFolder(o.dviFile, fullPath, folder);
  const char* dviFile = inItsFolder ? fullPath : o.dviFile;
  if (isPresent(dviFile) && !appendQuotedPath("", dviFile, "")) return 0;
  return 1;
}

}  // namespace

const char* formatSwitch(int letter, std::int32_t value, int withEquals) {
  // Unsigned, so that the most negative value has a magnitude too, without the 64-bit division
  // that the runtime library would add to the program.
  auto magnitude = static_cast<std::uint32_t>(value);
  if (value < 0) magnitude = 0u - magnitude;
  const char letterText[] = {static_cast<char>(letter), '\0'};
  char digits[12];
  switchBuffer[0] = '\0';
  appendFormatted(
      switchBuffer, "-%s %s%s%s ",
      {letterText, withEquals ? "=" : "", value < 0 ? "-" : "", decimalText(magnitude, digits)});
  return switchBuffer;
}

int appendToCommandLine(const char* piece) {
  const std::size_t length = std::strlen(commandLine);
  const std::size_t pieceLength = std::strlen(piece);
  while (length + pieceLength >= static_cast<std::size_t>(commandCapacity)) {
    void* grown =
        std::realloc(commandLine, static_cast<std::size_t>(commandCapacity) + COMMAND_GROWTH);
    if (grown == nullptr) return 0;
    commandLine = static_cast<char*>(grown);
    commandCapacity += COMMAND_GROWTH;
  }
  std::memcpy(commandLine + length, piece, pieceLength + 1);
  return 1;
}

int composeCommandLine() {
  std::free(commandLine);
  commandCapacity = COMMAND_GROWTH;
  commandLine = static_cast<char*>(std::calloc(1, static_cast<std::size_t>(commandCapacity)));
  if (commandLine == nullptr) return 0;
  writeProgramPart();
  if (!appendToCommandLine(" ")) return 0;
  return appendSwitches();
}
