// The programs' last lines and the table of their texts that Corvane turns into causes.
#include "command/run_report.h"

#include <array>
#include <cstring>

#include "resources/resource.h"

namespace {

// The lines as TeX Live 2022's dvips and Ghostscript 10.00 begin them here. Those that this
// machine's programs never print are quoted from their own sources:
// - MiKTeX's font makers: "Sorry, but miktex-makepk did not succeed." (its programs' common
//   error report, as MiKTeX's bug tracker shows it, github.com/MiKTeX/miktex/issues/1508);
// - MiKTeX's set-up check: "major issue: So far, you have not checked for MiKTeX updates."
//   (Libraries/MiKTeX/Setup/SetupService.cpp; github.com/MiKTeX/miktex/issues/1299), printed on
//   every run of a fresh MiKTeX, which then works as usual;
// - Ghostscript without its resources: "Can't find initialization file gs_init.ps."
//   (psi/imain.c).
// A text only explains: whether a program failed is told by what it did (command/run_verdict.h).
constexpr std::array<Cause, 32> CAUSES = {{
    {"dvips*: *DVI file can't be opened", IDS_CAUSE_NO_DVI, CauseKind::Failure},
    {"dvips*: *Bad DVI file", IDS_CAUSE_BAD_DVI, CauseKind::Failure},
    {"dvips*: *unexpected eof on DVI file", IDS_CAUSE_BAD_DVI, CauseKind::Failure},
    {"dvips*: *End of document before first specified page", IDS_CAUSE_PAGE_RANGE,
     CauseKind::Failure},
    {"dvips*: *Couldn't find header file", IDS_CAUSE_HEADER, CauseKind::Failure},
    {"dvips*: *Couldn't find font file", IDS_CAUSE_FONT_FILE, CauseKind::Failure},
    {"dvips*: *couldn't open PostScript file", IDS_CAUSE_FILE_HELD, CauseKind::Failure},
    {"*Ghostscript*: *Could not open the file", IDS_CAUSE_FILE_HELD, CauseKind::Failure},
    // dvips with no bitmap and no outline of a font, as in "PK font logo10 not found; using cmr10".
    // It comes first: the font makers' own complaints below are the same problem.
    {"dvips*: *not found; using", IDS_CAUSE_FONT_REPLACED, CauseKind::Warning},
    {"mktexpk*: don't know how to create bitmap font", IDS_CAUSE_NO_FONT_SOURCE,
     CauseKind::Warning},
    {"Sorry, but *did not succeed", IDS_CAUSE_NO_FONT_SOURCE, CauseKind::Warning},
    {"*: major issue: So far, you have not checked for MiKTeX updates", IDS_CAUSE_MIKTEX_UPDATES,
     CauseKind::Warning},
    {"Error: /undefined in .setopacityalpha", IDS_CAUSE_TRANSPARENCY, CauseKind::Failure},
    {"Error: /undefined in .setfillconstantalpha", IDS_CAUSE_TRANSPARENCY, CauseKind::Failure},
    // PSTricks's own header, when Ghostscript keeps transparency from it: the PDF loses it.
    {"%% WARNING: Transparency operations ignored", IDS_CAUSE_TRANSPARENCY_IGNORED,
     CauseKind::Warning},
    {"Error: /invalidfileaccess", IDS_CAUSE_SAFE_MODE, CauseKind::Failure},
    {"Can't find initialization file", IDS_CAUSE_INCOMPLETE_GHOSTSCRIPT, CauseKind::Failure},
    {"*Ghostscript*: Can't find initialization file", IDS_CAUSE_INCOMPLETE_GHOSTSCRIPT,
     CauseKind::Failure},
    {"dvips*: *Could not find figure file", IDS_CAUSE_FIGURE, CauseKind::Warning, true},
    {"dvips*: *no match for papersize", IDS_CAUSE_PAPER, CauseKind::Warning},
    // What Ghostscript leaves out of a PDF/A under -dPDFACompatibilityPolicy=1, each said on the
    // line after what it was ("Annotation set to non-printing,").
    {"not permitted in PDF/A, annotation will not be present in output file",
     IDS_CAUSE_PDFA_ANNOTATION, CauseKind::Warning},
    {"not permitted in PDF/A-2, overprint mode not set", IDS_CAUSE_PDFA_OVERPRINT,
     CauseKind::Warning},
    {"not permitted in PDF/A, values not set", IDS_CAUSE_PDFA_HALFTONE, CauseKind::Warning},
    {"not permitted in PDF/A, glyph will not be present in output file", IDS_CAUSE_PDFA_GLYPH,
     CauseKind::Warning},
    {"*Ghostscript*: PDFA doesn't allow images with Interpolate true", IDS_CAUSE_PDFA_INTERPOLATION,
     CauseKind::Warning},
    // A title or author outside printable ASCII (hyperref writes UTF-16), or with "(", ")" or "\".
    {"*Ghostscript*: Text string detected in DOCINFO cannot be represented in XMP",
     IDS_CAUSE_PDFA_DOCINFO, CauseKind::Warning},
    // What it cannot leave out: it stops, or writes a PDF that is no PDF/A.
    {"*Ghostscript*: Launch annotations not permitted in PDF/A", IDS_CAUSE_PDFA_LAUNCH,
     CauseKind::Failure},
    {"*Ghostscript*: *aborting conversion", IDS_CAUSE_NOT_PDFA, CauseKind::Failure},
    {"*Ghostscript*: *reverting to normal", IDS_CAUSE_NOT_PDFA, CauseKind::Failure},
    {"*Ghostscript*: The PDF/A-2 specifcation only permits the embedding of PDF/A",
     IDS_CAUSE_PDFA_EMBEDDED, CauseKind::Failure},
    {"*Ghostscript*: The pdfwrite device has not validated this embedded file",
     IDS_CAUSE_PDFA_EMBEDDED, CauseKind::Failure},
    // The sRGB profile of a PDF for archiving, asked of a Windows build that lacks it: Ghostscript
    // shows it on its operand stack under "Error: /undefinedfilename".
    {"*(%rom%iccprofiles/srgb.icc)   (r)", IDS_CAUSE_NO_BUILT_IN_PROFILE, CauseKind::Failure},
}};

// Whether the line, from at, begins with the part of the text up to its next "*" or its end.
bool partAt(const char* at, const char* part, std::size_t length) {
  return std::strncmp(at, part, length) == 0;
}

char* slot(KeptOutput& kept, int index) { return kept.lines[(kept.first + index) % KEPT_LINES]; }
const char* slot(const KeptOutput& kept, int index) {
  return kept.lines[(kept.first + index) % KEPT_LINES];
}

void openLine(KeptOutput& kept) {
  if (kept.count == KEPT_LINES) {
    kept.first = (kept.first + 1) % KEPT_LINES;
    --kept.count;
  }
  slot(kept, kept.count++)[0] = '\0';
  kept.lineOpen = true;
}

// The problem that the sentence names: the font makers' complaints are a replaced font's.
int problemOf(int sentence) {
  return sentence == IDS_CAUSE_NO_FONT_SOURCE ? IDS_CAUSE_FONT_REPLACED : sentence;
}

void copyWord(const char* start, const char* end, char (&word)[CAUSE_WORD_SIZE]) {
  const std::size_t length = static_cast<std::size_t>(end - start);
  if (length >= sizeof word) return;
  std::memcpy(word, start, length);
  word[length] = '\0';
}

}  // namespace

void clearOutput(KeptOutput& kept) {
  kept.first = kept.count = 0;
  kept.lineOpen = false;
}

void keepOutput(KeptOutput& kept, const char* bytes, std::size_t size) {
  for (std::size_t at = 0; at < size; ++at) {
    const char c = bytes[at];
    if (c == '\n') {
      if (!kept.lineOpen) openLine(kept);
      kept.lineOpen = false;
      continue;
    }
    if (c == '\r') continue;
    if (!kept.lineOpen) openLine(kept);
    char* line = slot(kept, kept.count - 1);
    const std::size_t length = std::strlen(line);
    if (length + 1 < KEPT_LINE_SIZE) {
      line[length] = c;
      line[length + 1] = '\0';
    }
  }
}

int keptLineCount(const KeptOutput& kept) { return kept.count; }

const char* keptLine(const KeptOutput& kept, int index) {
  return index >= 0 && index < kept.count ? slot(kept, index) : "";
}

bool saidLineStarting(const KeptOutput& kept, const char* start) {
  for (int index = 0; index < kept.count; ++index)
    if (std::strncmp(slot(kept, index), start, std::strlen(start)) == 0) return true;
  return false;
}

bool saidText(const KeptOutput& kept, const char* text) {
  for (int index = 0; index < kept.count; ++index)
    if (std::strstr(slot(kept, index), text) != nullptr) return true;
  return false;
}

const char* causeKeyIn(const char* line, const char* text) {
  line += std::strspn(line, " \t");
  const char* key = nullptr;
  for (bool anywhere = false;; anywhere = true) {
    const std::size_t length = std::strcspn(text, "*");
    // A part that follows a "*" is taken where it first comes: a later place leaves the parts
    // after it no more room.
    while (!partAt(line, text, length)) {
      if (!anywhere || *line == '\0') return nullptr;
      ++line;
    }
    key = line;
    line += length;
    text += length;
    if (*text == '\0') return key;
    ++text;
  }
}

int findCauses(const KeptOutput& kept, const Cause* (&found)[MAX_CAUSES]) {
  int total = 0;
  const auto consider = [&](const Cause& cause) {
    bool said = false;
    for (int index = 0; index < kept.count && !said; ++index)
      said = causeKeyIn(slot(kept, index), cause.text) != nullptr;
    if (!said) return;
    for (int known = 0; known < total; ++known)
      if (problemOf(found[known]->sentence) == problemOf(cause.sentence)) return;
    if (total < MAX_CAUSES) found[total++] = &cause;
  };
  for (const Cause& cause : CAUSES) consider(cause);
  return total;
}

void causeWords(const KeptOutput& kept, const Cause& cause, char (&before)[CAUSE_WORD_SIZE],
                char (&after)[CAUSE_WORD_SIZE]) {
  before[0] = after[0] = '\0';
  const char* key = std::strrchr(cause.text, '*');
  key = key != nullptr ? key + 1 : cause.text;
  for (int index = 0; index < kept.count; ++index) {
    const char* line = slot(kept, index);
    const char* found = causeKeyIn(line, cause.text);
    if (found == nullptr) continue;
    const char* end = found;
    while (end > line && end[-1] == ' ') --end;
    const char* start = end;
    while (start > line && start[-1] != ' ') --start;
    copyWord(start, end, before);
    start = found + std::strlen(key);
    while (*start == ' ') ++start;
    end = start + std::strcspn(start, " ;,");
    copyWord(start, end, after);
    return;
  }
}
