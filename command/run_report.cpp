// The programs' last lines and the table of their texts that Corvane turns into causes.
#include "command/run_report.h"

#include <array>
#include <cstring>

#include "paths/path_rules.h"
#include "resources/resource.h"

namespace {

ZERO_FILLED char lines[KEPT_LINES][KEPT_LINE_SIZE];
int first = 0;  // the oldest line's slot
int count = 0;  // lines kept, the open one included
bool lineOpen = false;

// The start of the PostScript line being read: enough for the comment, its font's id and name.
constexpr char BITMAP_FONT_COMMENT[] = "%DVIPSBitmapFont: ";
ZERO_FILLED char postScriptLine[128];
std::size_t postScriptLineLength = 0;
ZERO_FILLED char bitmapFontNames[160];

// The texts as TeX Live 2022's dvips and Ghostscript 10.00 print them here. Those that this
// machine's programs never print are quoted from their own sources:
// - MiKTeX's font makers: "Sorry, but miktex-makepk did not succeed." (its programs' common
//   error report, as MiKTeX's bug tracker shows it, github.com/MiKTeX/miktex/issues/1508);
// - MiKTeX's set-up check: "major issue: So far, you have not checked for MiKTeX updates."
//   (Libraries/MiKTeX/Setup/SetupService.cpp; github.com/MiKTeX/miktex/issues/1299);
// - Ghostscript without its resources: "Can't find initialization file gs_init.ps."
//   (psi/imain.c).
constexpr std::array<Cause, 25> CAUSES = {{
    {"DVI file can't be opened", IDS_CAUSE_NO_DVI, CauseKind::Failure},
    {"Bad DVI file", IDS_CAUSE_BAD_DVI, CauseKind::Failure},
    {"unexpected eof on DVI file", IDS_CAUSE_BAD_DVI, CauseKind::Failure},
    {"End of document before first specified page", IDS_CAUSE_PAGE_RANGE, CauseKind::Failure},
    {"Couldn't find header file", IDS_CAUSE_HEADER, CauseKind::Failure},
    {"couldn't open PostScript file", IDS_CAUSE_FILE_HELD, CauseKind::Failure},
    {"Could not open the file", IDS_CAUSE_FILE_HELD, CauseKind::Failure},
    // A font that cannot be made is replaced and the PostScript written: a warning, unless
    // dvips ends with an error and writes nothing.
    {"don't know how to create bitmap font", IDS_CAUSE_NO_FONT_SOURCE, CauseKind::Warning},
    {"did not succeed", IDS_CAUSE_NO_FONT_SOURCE, CauseKind::Warning},
    {"So far, you have not checked for MiKTeX updates", IDS_CAUSE_MIKTEX_UPDATES,
     CauseKind::Failure},
    {"/undefined in .setopacityalpha", IDS_CAUSE_TRANSPARENCY, CauseKind::Failure},
    {"/undefined in .setfillconstantalpha", IDS_CAUSE_TRANSPARENCY, CauseKind::Failure},
    {"/invalidfileaccess", IDS_CAUSE_SAFE_MODE, CauseKind::Failure},
    {"gs_init.ps", IDS_CAUSE_INCOMPLETE_GHOSTSCRIPT, CauseKind::Failure},
    {"Could not find figure file", IDS_CAUSE_FIGURE, CauseKind::Warning},
    {"no match for papersize", IDS_CAUSE_PAPER, CauseKind::Warning},
    // dvips with no bitmap and no outline of a font, as in "PK font logo10 not found; using cmr10".
    {"not found; using", IDS_CAUSE_FONT_REPLACED, CauseKind::Warning},
    // What Ghostscript leaves out of a PDF/A under -dPDFACompatibilityPolicy=1, each said on the
    // line after what it was ("Annotation set to non-printing,").
    {"annotation will not be present in output file", IDS_CAUSE_PDFA_ANNOTATION,
     CauseKind::Warning},
    {"overprint mode not set", IDS_CAUSE_PDFA_OVERPRINT, CauseKind::Warning},
    {"in PDF/A, values not set", IDS_CAUSE_PDFA_HALFTONE, CauseKind::Warning},
    {"glyph will not be present in output file", IDS_CAUSE_PDFA_GLYPH, CauseKind::Warning},
    {"PDFA doesn't allow images with Interpolate true", IDS_CAUSE_PDFA_INTERPOLATION,
     CauseKind::Warning},
    // What it cannot leave out: it stops, or writes a PDF that is no PDF/A.
    {"Launch annotations not permitted in PDF/A", IDS_CAUSE_PDFA_LAUNCH, CauseKind::Failure},
    {"aborting conversion", IDS_CAUSE_NOT_PDFA, CauseKind::Failure},
    {"reverting to normal", IDS_CAUSE_NOT_PDFA, CauseKind::Failure},
}};

char* slot(int index) { return lines[(first + index) % KEPT_LINES]; }

void openLine() {
  if (count == KEPT_LINES) {
    first = (first + 1) % KEPT_LINES;
    --count;
  }
  slot(count++)[0] = '\0';
  lineOpen = true;
}

}  // namespace

void clearOutput() {
  first = count = 0;
  lineOpen = false;
}

void keepOutput(const char* bytes, std::size_t size) {
  for (std::size_t at = 0; at < size; ++at) {
    const char c = bytes[at];
    if (c == '\n') {
      if (!lineOpen) openLine();
      lineOpen = false;
      continue;
    }
    if (c == '\r') continue;
    if (!lineOpen) openLine();
    char* line = slot(count - 1);
    const std::size_t length = std::strlen(line);
    if (length + 1 < KEPT_LINE_SIZE) {
      line[length] = c;
      line[length + 1] = '\0';
    }
  }
}

int keptLineCount() { return count; }

const char* keptLine(int index) { return index >= 0 && index < count ? slot(index) : ""; }

int findCauses(const Cause* (&found)[MAX_CAUSES]) {
  int total = 0;
  for (const Cause& cause : CAUSES) {
    bool seen = false;
    for (int index = 0; index < count && !seen; ++index)
      seen = std::strstr(slot(index), cause.text) != nullptr;
    bool sameSentence = false;
    for (int known = 0; known < total; ++known)
      sameSentence = sameSentence || found[known]->sentence == cause.sentence;
    if (seen && !sameSentence && total < MAX_CAUSES) found[total++] = &cause;
  }
  return total;
}

const char* wordBefore(const Cause& cause) {
  ZERO_FILLED static char word[64];
  word[0] = '\0';
  for (int index = 0; index < count; ++index) {
    const char* line = slot(index);
    const char* found = std::strstr(line, cause.text);
    if (found == nullptr) continue;
    const char* end = found;
    while (end > line && end[-1] == ' ') --end;
    const char* start = end;
    while (start > line && start[-1] != ' ') --start;
    const std::size_t length = static_cast<std::size_t>(end - start);
    if (length < sizeof word) {
      std::memcpy(word, start, length);
      word[length] = '\0';
    }
    break;
  }
  return word;
}

namespace {

// Adds the name to the list unless it is there already or would not fit whole.
void addBitmapFont(const char* name, std::size_t length) {
  if (length == 0) return;
  for (const char* at = bitmapFontNames; *at != '\0';) {
    const char* end = std::strchr(at, ',');
    const std::size_t listed =
        end != nullptr ? static_cast<std::size_t>(end - at) : std::strlen(at);
    if (listed == length && std::memcmp(at, name, length) == 0) return;
    at = end != nullptr ? end + 2 : at + listed;
  }
  const std::size_t used = std::strlen(bitmapFontNames);
  const std::size_t separator = used == 0 ? 0 : 2;
  if (used + separator + length + 1 > sizeof bitmapFontNames) return;
  std::memcpy(bitmapFontNames + used, ", ", separator);
  std::memcpy(bitmapFontNames + used + separator, name, length);
  bitmapFontNames[used + separator + length] = '\0';
}

// "%DVIPSBitmapFont: Fb logo10 10 7": the font's id in the PostScript, then its name.
void endPostScriptLine() {
  postScriptLine[postScriptLineLength] = '\0';
  postScriptLineLength = 0;
  const std::size_t commentLength = sizeof BITMAP_FONT_COMMENT - 1;
  if (std::strncmp(postScriptLine, BITMAP_FONT_COMMENT, commentLength) != 0) return;
  const char* at = postScriptLine + commentLength;
  at += std::strcspn(at, " ");
  at += std::strspn(at, " ");
  addBitmapFont(at, std::strcspn(at, " "));
}

}  // namespace

void clearBitmapFonts() {
  postScriptLineLength = 0;
  bitmapFontNames[0] = '\0';
}

void readPostScript(const char* bytes, std::size_t size) {
  for (std::size_t at = 0; at < size; ++at) {
    const char c = bytes[at];
    if (c == '\n' || c == '\r') {
      endPostScriptLine();
    } else if (postScriptLineLength + 1 < sizeof postScriptLine) {
      postScriptLine[postScriptLineLength++] = c;
    }
  }
}

const char* bitmapFonts() { return bitmapFontNames; }
