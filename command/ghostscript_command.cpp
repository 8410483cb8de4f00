// Ghostscript's command line for a PDF from dvips's PostScript.
#include "command/ghostscript_command.h"

#include <cstring>

#include "app/text_format.h"
#include "command/command_words.h"
#include "paths/path_rules.h"
#include "paths/path_system.h"

namespace {

// dvips draws a landscape page turned on a portrait sheet. Ghostscript's own guess from the text
// direction (its default) turns pages one by one and can turn a portrait page with a sideways
// table; so no page is turned by guess, and a landscape document's pages are given the landscape
// orientation in which its text reads upright.
constexpr char PDF_SWITCHES[] =
    " -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite -dAutoRotatePages=/None";
constexpr char LANDSCAPE_PAGES[] = " -c \"<</Orientation 1>> setpagedevice\" -f";

}  // namespace

bool isLandscapePostScript(const char* header) {
  constexpr char COMMENT[] = "%%Orientation:";
  for (const char* at = header; (at = std::strstr(at, COMMENT)) != nullptr; ++at) {
    if (at != header && at[-1] != '\n' && at[-1] != '\r') continue;
    const char* value = at + sizeof COMMENT - 1;
    while (*value == ' ' || *value == '\t') ++value;
    return std::strncmp(value, "Landscape", 9) == 0;
  }
  return false;
}

bool composeGhostscriptCommand(const char* program, InputName inputName, int inputCount,
                               const char* pdf, bool landscape, bool encapsulated,
                               char (&command)[GHOSTSCRIPT_COMMAND_SIZE]) {
  command[0] = '\0';
  char shortForm[260];
  const std::uint32_t length = shortPathName(program, shortForm, sizeof shortForm);
  const bool shortFits = length != 0 && length < sizeof shortForm;
  if (!appendProgramWord(command, sizeof command, shortFits ? shortForm : program)) return false;
  appendFormatted(command, PDF_SWITCHES);
  // An Encapsulated PostScript figure makes a page of its own size, not a sheet of paper around it.
  if (encapsulated) appendFormatted(command, " -dEPSCrop");
  // Ghostscript reads a % in the output file's name as the start of a page-number format.
  char outputFile[sizeof "-sOutputFile=" + 2 * PATH_FIELD_SIZE] = "-sOutputFile=";
  for (const char* at = pdf; *at != '\0'; ++at) {
    const char piece[3] = {*at, *at == '%' ? '%' : '\0', '\0'};
    appendFormatted(outputFile, piece);
  }
  appendFormatted(command, " ");
  if (!appendQuotedWord(command, sizeof command, outputFile)) return false;
  if (landscape) appendFormatted(command, LANDSCAPE_PAGES);
  for (int index = 0; index < inputCount; ++index) {
    PathText input;
    appendFormatted(command, " ");
    if (!inputName(index, input) || !appendQuotedWord(command, sizeof command, input)) return false;
  }
  return true;
}
