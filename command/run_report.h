// What dvips and Ghostscript said, kept while they run, and the causes that Corvane reads in it.
#pragma once

#include <cstddef>

// The last lines that a program wrote: as many as fit, each cut to a line's length.
constexpr int KEPT_LINES = 200;
constexpr std::size_t KEPT_LINE_SIZE = 256;

// One run's lines, owned by the run: the thread that reads the pipe fills it, and the window's
// thread reads it only once that thread has ended.
struct KeptOutput {
  char lines[KEPT_LINES][KEPT_LINE_SIZE];
  int first;  // the oldest line's slot
  int count;  // lines kept, the open one included
  bool lineOpen;
};

// Forgets what was kept.
void clearOutput(KeptOutput& kept);

// Takes bytes as they come from a pipe: lines end at '\n' ("\r\n" too); the oldest line goes
// when more than KEPT_LINES are kept.
void keepOutput(KeptOutput& kept, const char* bytes, std::size_t count);

// The number of lines kept, and one of them, 0 the oldest; the line still open counts.
int keptLineCount(const KeptOutput& kept);
const char* keptLine(const KeptOutput& kept, int index);

// Whether a kept line starts with start, or holds text anywhere.
bool saidLineStarting(const KeptOutput& kept, const char* start);
bool saidText(const KeptOutput& kept, const char* text);

enum class CauseKind { Warning, Failure };

// A cause's text is the line as its program begins it, leading blanks aside; "*" stands for any
// run of characters, such as the name of a file or of the program ("dvips*: *Bad DVI file" for
// "dvips: ! Bad DVI file"). The part after the last "*" is the cause's key.
struct Cause {
  const char* text;
  int sentence;    // the string-table text that Corvane says
  CauseKind kind;  // what the text means when the program failed; a usable result only warns
  bool namedAfter = false;  // what the sentence names is the word after the key, not before
};

// The causes found in the kept lines, each problem once, in the table's order; the count.
constexpr int MAX_CAUSES = 16;
int findCauses(const KeptOutput& kept, const Cause* (&found)[MAX_CAUSES]);

// Where the cause's key is in the line, when the line is the cause's; else null.
const char* causeKeyIn(const char* line, const char* text);

// The words around the cause's key in the first kept line that is the cause's: the word before,
// such as the font in "PK font logo10 not found; using cmr10", and the word after, the font used
// in its place; empty where there is none.
constexpr std::size_t CAUSE_WORD_SIZE = 64;
void causeWords(const KeptOutput& kept, const Cause& cause, char (&before)[CAUSE_WORD_SIZE],
                char (&after)[CAUSE_WORD_SIZE]);
