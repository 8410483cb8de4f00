// What dvips and Ghostscript said, kept while they run, and the causes that Corvane reads in it.
#pragma once

#include <cstddef>

// The last lines that the programs wrote: as many as fit, each cut to a line's length.
constexpr int KEPT_LINES = 200;
constexpr std::size_t KEPT_LINE_SIZE = 256;

// Forgets what was kept.
void clearOutput();

// Takes bytes as they come from a pipe: lines end at '\n' ("\r\n" too); the oldest line goes
// when more than KEPT_LINES are kept.
void keepOutput(const char* bytes, std::size_t count);

// The number of lines kept, and one of them, 0 the oldest; the line still open counts.
int keptLineCount();
const char* keptLine(int index);

enum class CauseKind { Warning, Failure };

struct Cause {
  const char* text;  // what the program prints, exactly as it prints it
  int sentence;      // the string-table text that Corvane says
  CauseKind kind;
};

// The causes found in the kept lines, each once, in the table's order; count set to how many.
constexpr int MAX_CAUSES = 16;
int findCauses(const Cause* (&found)[MAX_CAUSES]);

// The word just before the cause's text in the first kept line that holds it, such as the font
// in "PK font logo10 not found; using cmr10"; empty when there is none.
const char* wordBefore(const Cause& cause);

// The fonts that dvips put in its PostScript as bitmaps, read from the file's bytes as they come:
// each "%DVIPSBitmapFont: Fb logo10 10 7" names one. Names are listed once each, ", " between
// them, as many as fit.
void clearBitmapFonts();
void readPostScript(const char* bytes, std::size_t count);
const char* bitmapFonts();
