// Ghostscript's command line for a PDF from dvips's PostScript.
#include "command/ghostscript_command.h"

#include <array>
#include <cstring>
#include <string>

#include "base/text_format.h"
#include "command/command_words.h"
#include "options/pdf_options.h"
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

// What each purpose of the PDF page's list adds, in the list's order. Of the printing switches,
// /prepress is the one that embeds the 14 standard fonts (of the presets it alone empties
// NeverEmbed); the other three restate its own font values, so that the command says what the
// choice is for. /ebook would turn pages by the direction of their text (AutoRotatePages /All),
// but the explicit -dAutoRotatePages=/None of PDF_SWITCHES wins, whatever the order.
constexpr std::array<const char*, PDF_PURPOSE_COUNT> PURPOSE_SWITCHES = {
    "",
    "-dPDFSETTINGS=/prepress -dEmbedAllFonts=true -dSubsetFonts=true -dMaxSubsetPct=100",
    "-dPDFSETTINGS=/ebook",
    // Policy 1 leaves out what PDF/A forbids and says so; Ghostscript's default, 0, would keep it
    // and still call the file PDF/A. Colours go to RGB, the sRGB output intent's; fonts are
    // embedded as for printing.
    "-dPDFA=2 -dPDFACompatibilityPolicy=1 -sColorConversionStrategy=RGB "
    "-dPDFSETTINGS=/prepress -dEmbedAllFonts=true -dSubsetFonts=true -dMaxSubsetPct=100",
};
// Under -dSAFER Ghostscript keeps its transparency operators, which PSTricks uses, from the
// PostScript unless this is given; the limits on file access stay.
constexpr char TRANSPARENCY_SWITCH[] = "-dALLOWPSTRANSPARENCY";

constexpr bool everyChoiceFits() {
  for (const char* switches : PURPOSE_SWITCHES)
    if (std::char_traits<char>::length(switches) + 1 + sizeof TRANSPARENCY_SWITCH >
        PDF_PURPOSE_SWITCHES_SIZE)
      return false;
  return true;
}
static_assert(everyChoiceFits());

}  // namespace

const char* pdfPurposeSwitches(std::int32_t purpose, bool allowTransparency,
                               char (&switches)[PDF_PURPOSE_SWITCHES_SIZE]) {
  switches[0] = '\0';
  if (purpose >= 0 && purpose < PDF_PURPOSE_COUNT)
    appendFormatted(switches, "%s", {PURPOSE_SWITCHES[static_cast<std::size_t>(purpose)]});
  if (allowTransparency)
    appendFormatted(switches, switches[0] != '\0' ? " %s" : "%s", {TRANSPARENCY_SWITCH});
  return switches;
}

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
                               char (&command)[GHOSTSCRIPT_COMMAND_SIZE], const char* definition,
                               const char* readable) {
  command[0] = '\0';
  char shortForm[260];
  const std::uint32_t length = shortPathName(program, shortForm, sizeof shortForm);
  const bool shortFits = length != 0 && length < sizeof shortForm;
  if (!appendProgramWord(command, sizeof command, shortFits ? shortForm : program)) return false;
  appendFormatted(command, PDF_SWITCHES);
  char purposeSwitches[PDF_PURPOSE_SWITCHES_SIZE];
  if (pdfPurposeSwitches(pdfOptions.purpose, pdfOptions.allowTransparency != 0,
                         purposeSwitches)[0] != '\0')
    appendFormatted(command, " %s", {purposeSwitches});
  // An Encapsulated PostScript figure makes a page of its own size, not a sheet of paper around it.
  if (encapsulated) appendFormatted(command, " -dEPSCrop");
  // -dSAFER stays: the one file that the definition reads besides Ghostscript's own is let in.
  if (readable[0] != '\0') {
    char permission[sizeof "--permit-file-read=" + PATH_FIELD_SIZE] = "--permit-file-read=";
    appendFormatted(permission, "%s", {readable});
    appendFormatted(command, " ");
    if (!appendQuotedWord(command, sizeof command, permission)) return false;
  }
  // Ghostscript reads a % in the output file's name as the start of a page-number format.
  char outputFile[sizeof "-sOutputFile=" + 2 * PATH_FIELD_SIZE] = "-sOutputFile=";
  for (const char* at = pdf; *at != '\0'; ++at) {
    const char piece[3] = {*at, *at == '%' ? '%' : '\0', '\0'};
    appendFormatted(outputFile, piece);
  }
  appendFormatted(command, " ");
  if (!appendQuotedWord(command, sizeof command, outputFile)) return false;
  if (landscape) appendFormatted(command, LANDSCAPE_PAGES);
  if (definition[0] != '\0') {
    appendFormatted(command, " ");
    if (!appendQuotedWord(command, sizeof command, definition)) return false;
  }
  for (int index = 0; index < inputCount; ++index) {
    PathText input;
    appendFormatted(command, " ");
    if (!inputName(index, input) || !appendQuotedWord(command, sizeof command, input)) return false;
  }
  return true;
}
