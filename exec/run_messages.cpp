// The lines that stand for a run's boxes when a command prints them.
#include "exec/run_messages.h"

#include "base/error_box.h"
#include "base/text.h"
#include "base/text_format.h"

namespace {

constexpr int MOST_LINES = 24;
constexpr int LINE_SIZE = 1024;

bool asLinesNow = false;
ZERO_FILLED char lines[MOST_LINES][LINE_SIZE];
ZERO_FILLED bool failures[MOST_LINES];
int lineCount = 0;

}  // namespace

void keepMessagesAsLines(bool asLines) {
  asLinesNow = asLines;
  lineCount = 0;
}

bool messagesAsLines() { return asLinesNow; }

void keepMessageLine(const char* text, bool failure) {
  if (lineCount == MOST_LINES || text[0] == '\0') return;
  char* line = lines[lineCount];
  line[0] = '\0';
  appendFormatted(line, LINE_SIZE, "%s", {text});
  // Paragraphs and lists become one line, blanks between their parts.
  char* kept = line;
  for (const char* at = line; *at != '\0'; ++at) {
    const bool lineBreak = *at == '\r' || *at == '\n';
    if (lineBreak && (kept == line || kept[-1] == ' ')) continue;
    *kept++ = lineBreak ? ' ' : *at;
  }
  while (kept > line && kept[-1] == ' ') --kept;
  *kept = '\0';
  failures[lineCount++] = failure;
}

const char* systemText(DWORD code) {
  ZERO_FILLED static char text[512];
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     text, sizeof text, nullptr) == 0)
    text[0] = '\0';
  // The system's texts end with a line break.
  for (char* end = text + lstrlenA(text); end > text && (end[-1] == '\r' || end[-1] == '\n');)
    *--end = '\0';
  return text;
}

void keepSystemMessageLine(DWORD code, const char* what) {
  char text[LINE_SIZE] = "";
  appendFormatted(text, sizeof text, "%s", {systemText(code)});
  if (what != nullptr && what[0] != '\0') appendFormatted(text, sizeof text, " %s", {what});
  keepMessageLine(text, true);
}

const char* keptMessageLine(int index, bool& failure) {
  if (index < 0 || index >= lineCount) return nullptr;
  failure = failures[index];
  return lines[index];
}

void tellSystemError(DWORD code, const char* what) {
  if (asLinesNow)
    keepSystemMessageLine(code, what);
  else
    reportSystemError(code, what);
}
