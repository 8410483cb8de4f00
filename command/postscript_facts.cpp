// Reading dvips's PostScript for its pages, its end and its bitmap fonts, and a PDF for its end.
#include "command/postscript_facts.h"

#include <cstring>

namespace {

constexpr char BITMAP_FONT_COMMENT[] = "%DVIPSBitmapFont: ";
char bitmapFontNames[160];

bool startsWith(const char* text, const char* start) {
  return std::strncmp(text, start, std::strlen(start)) == 0;
}

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

// A count after a comment's colon; -1 for "(atend)" or anything else that is no number.
std::int32_t countAfter(const char* text) {
  while (*text == ' ') ++text;
  if (*text < '0' || *text > '9') return -1;
  std::int32_t number = 0;
  for (; *text >= '0' && *text <= '9' && number < 100000000; ++text)
    number = number * 10 + (*text - '0');
  return number;
}

void endLine(PostScriptFacts& facts) {
  char* line = facts.line;
  line[facts.lineLength] = '\0';
  facts.lineLength = 0;
  if (!facts.firstLineRead) {
    facts.firstLineRead = true;
    facts.encapsulated = startsWith(line, "%!") && std::strstr(line, "EPSF") != nullptr;
  }
  if (line[std::strspn(line, " \t")] == '\0') return;
  facts.ended = std::strcmp(line, "%%EOF") == 0;
  if (startsWith(line, "%%Pages:")) {
    const std::int32_t pages = countAfter(line + 8);
    if (pages >= 0) facts.pagesAnnounced = pages;
  } else if (startsWith(line, "%%Page:")) {
    ++facts.pagesMarked;
  } else if (startsWith(line, BITMAP_FONT_COMMENT)) {
    // "%DVIPSBitmapFont: Fb logo10 10 7": the font's id in the PostScript, then its name.
    const char* at = line + sizeof BITMAP_FONT_COMMENT - 1;
    at += std::strcspn(at, " ");
    at += std::strspn(at, " ");
    addBitmapFont(at, std::strcspn(at, " "));
  }
}

}  // namespace

void startPostScript(PostScriptFacts& facts) {
  facts = {};
  facts.pagesAnnounced = -1;
}

void readPostScript(PostScriptFacts& facts, const char* bytes, std::size_t size) {
  for (std::size_t at = 0; at < size; ++at) {
    const char c = bytes[at];
    if (c == '\n' || c == '\r') {
      endLine(facts);
    } else if (facts.lineLength + 1 < sizeof facts.line) {
      facts.line[facts.lineLength++] = c;
    }
  }
}

void endPostScript(PostScriptFacts& facts) {
  if (facts.lineLength > 0) endLine(facts);
}

bool wholePostScript(const PostScriptFacts& facts) {
  const bool hasPages = facts.pagesMarked > 0 || (facts.encapsulated && facts.pagesAnnounced < 0);
  return hasPages && facts.pagesMarked >= facts.pagesAnnounced && facts.ended;
}

void clearBitmapFonts() { bitmapFontNames[0] = '\0'; }

const char* bitmapFonts() { return bitmapFontNames; }

bool pdfTailEnded(const char* tail, std::size_t count) {
  constexpr char END[] = "%%EOF";
  constexpr std::size_t LENGTH = sizeof END - 1;
  for (std::size_t at = count >= LENGTH ? count - LENGTH + 1 : 0; at-- > 0;)
    if (std::memcmp(tail + at, END, LENGTH) == 0) return true;
  return false;
}
