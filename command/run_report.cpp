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

// The texts as TeX Live 2022's dvips and Ghostscript 10.00 print them here; MiKTeX's are as its
// own programs print them (MiKTeX is not on this machine).
constexpr std::array<Cause, 16> CAUSES = {{
    {"DVI file can't be opened", IDS_CAUSE_NO_DVI, CauseKind::Failure},
    {"Bad DVI file", IDS_CAUSE_BAD_DVI, CauseKind::Failure},
    {"unexpected eof on DVI file", IDS_CAUSE_BAD_DVI, CauseKind::Failure},
    {"End of document before first specified page", IDS_CAUSE_PAGE_RANGE, CauseKind::Failure},
    {"Couldn't find header file", IDS_CAUSE_HEADER, CauseKind::Failure},
    {"couldn't open PostScript file", IDS_CAUSE_FILE_HELD, CauseKind::Failure},
    {"Could not open the file", IDS_CAUSE_FILE_HELD, CauseKind::Failure},
    {"don't know how to create bitmap font", IDS_CAUSE_NO_FONT_SOURCE, CauseKind::Failure},
    {"did not succeed", IDS_CAUSE_NO_FONT_SOURCE, CauseKind::Failure},
    {"So far, you have not checked for MiKTeX updates", IDS_CAUSE_MIKTEX_UPDATES,
     CauseKind::Failure},
    {"/undefined in .setopacityalpha", IDS_CAUSE_TRANSPARENCY, CauseKind::Failure},
    {"/undefined in .setfillconstantalpha", IDS_CAUSE_TRANSPARENCY, CauseKind::Failure},
    {"/invalidfileaccess", IDS_CAUSE_SAFE_MODE, CauseKind::Failure},
    {"gs_init.ps", IDS_CAUSE_INCOMPLETE_GHOSTSCRIPT, CauseKind::Failure},
    {"Could not find figure file", IDS_CAUSE_FIGURE, CauseKind::Warning},
    {"no match for papersize", IDS_CAUSE_PAPER, CauseKind::Warning},
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
