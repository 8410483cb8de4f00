// Reading dvips's PostScript for its pages, its end and its bitmap fonts, and a PDF for its end.
#include "command/postscript_facts.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char BITMAP_FONT_COMMENT[] = "%DVIPSBitmapFont: ";
char bitmapFontNames[160];
bool transparencyNamed = false;

// Spaces, and the control characters that some programs send after the end, such as the
// Control-D of "dvips -F" or a Control-Z.
bool blank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= ' ' || byte == 0x7F;
}

constexpr const char* TRANSPARENCY_OPERATORS[] = {
    ".setfillconstantalpha", ".setstrokeconstantalpha", ".setopacityalpha", ".setshapealpha"};

// PostScript's names end at white space and at its delimiters.
bool endsName(char c) { return blank(c) || std::strchr("()<>[]{}/%", c) != nullptr; }

void readName(PostScriptFacts& facts, char c) {
  if (!endsName(c)) {
    // A name too long for the buffer is none of the operators: it is kept too long to match.
    if (facts.nameLength < sizeof facts.name) facts.name[facts.nameLength] = c;
    if (facts.nameLength <= sizeof facts.name) ++facts.nameLength;
    return;
  }
  if (facts.nameLength > 0 && facts.nameLength < sizeof facts.name)
    for (const char* name : TRANSPARENCY_OPERATORS)
      if (std::strlen(name) == facts.nameLength &&
          std::memcmp(name, facts.name, facts.nameLength) == 0)
        transparencyNamed = true;
  facts.nameLength = 0;
}

bool startsWith(const char* text, const char* start) {
  return std::strncmp(text, start, std::strlen(start)) == 0;
}

// Adds the name to the list unless it is there already or would not fit whole. Names are words,
// so ", " only ever parts two of them, though a name may hold a comma.
void addBitmapFont(const char* name, std::size_t length) {
  if (length == 0) return;
  for (const char* at = bitmapFontNames; *at != '\0';) {
    const char* end = std::strstr(at, ", ");
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
std::int64_t countAfter(const char* text) {
  text += std::strspn(text, " \t");
  if (*text < '0' || *text > '9') return -1;
  std::int64_t number = 0;
  for (; *text >= '0' && *text <= '9' && number < 100000000000; ++text)
    number = number * 10 + (*text - '0');
  return number;
}

bool blankLine(const char* line) {
  for (; *line != '\0'; ++line)
    if (!blank(*line)) return false;
  return true;
}

bool endOfFileLine(const char* line) {
  if (!startsWith(line, "%%EOF")) return false;
  return blankLine(line + 5);
}

// "%%BeginData: 120 Binary Lines": how much data follows, in bytes or in lines.
void passOverData(PostScriptFacts& facts, const char* line, bool binaryComment) {
  const std::int64_t count = countAfter(line);
  if (count <= 0) return;
  if (!binaryComment && std::strstr(line, "Lines") != nullptr)
    facts.dataLinesLeft = static_cast<std::uint64_t>(count);
  else
    facts.dataBytesLeft = static_cast<std::uint64_t>(count);
}

// The comments that say what the document is; those of an included file are passed over.
void readDocumentComment(PostScriptFacts& facts, const char* line) {
  if (startsWith(line, "%%Pages:")) {
    const std::int64_t pages = countAfter(line + 8);
    if (!facts.pagesCounted) {
      facts.pagesCounted = true;
      facts.pagesAtEnd = pages < 0 && std::strstr(line, "(atend)") != nullptr;
    } else if (!facts.pagesAtEnd) {
      return;
    }
    if (pages >= 0)
      facts.pagesAnnounced = static_cast<std::int32_t>(pages > 99999999 ? 99999999 : pages);
  } else if (startsWith(line, "%%Page:")) {
    if (facts.pagesMarked < 99999999) ++facts.pagesMarked;
  }
}

void endLine(PostScriptFacts& facts) {
  char* line = facts.line;
  line[facts.lineLength] = '\0';
  facts.lineLength = 0;
  if (facts.dataLinesLeft > 0) {
    --facts.dataLinesLeft;
    return;
  }
  if (!facts.firstLineRead) {
    facts.firstLineRead = true;
    facts.encapsulated = startsWith(line, "%!") && std::strstr(line, "EPSF") != nullptr;
  }
  if (blankLine(line)) return;
  facts.ended = facts.includedDepth == 0 && endOfFileLine(line);
  if (startsWith(line, "%%BeginDocument")) {
    if (facts.includedDepth < 1000000) ++facts.includedDepth;
  } else if (startsWith(line, "%%EndDocument")) {
    if (facts.includedDepth > 0) --facts.includedDepth;
  } else if (startsWith(line, "%%BeginBinary:")) {
    passOverData(facts, line + 14, true);
  } else if (startsWith(line, "%%BeginData:")) {
    passOverData(facts, line + 12, false);
  } else if (startsWith(line, BITMAP_FONT_COMMENT)) {
    // "%DVIPSBitmapFont: Fb logo10 10 7": the font's id in the PostScript, then its name.
    const char* at = line + sizeof BITMAP_FONT_COMMENT - 1;
    at += std::strcspn(at, " ");
    at += std::strspn(at, " ");
    addBitmapFont(at, std::strcspn(at, " "));
  } else if (facts.includedDepth == 0) {
    readDocumentComment(facts, line);
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
    const bool afterReturn = facts.lineEndedByReturn;
    facts.lineEndedByReturn = false;
    if (c == '\n' && afterReturn) continue;
    if (facts.dataBytesLeft > 0) {
      const std::size_t passed =
          static_cast<std::size_t>(std::min<std::uint64_t>(facts.dataBytesLeft, size - at));
      facts.dataBytesLeft -= passed;
      at += passed - 1;
    } else if (readName(facts, c), c == '\n' || c == '\r') {
      endLine(facts);
      facts.lineEndedByReturn = c == '\r';
    } else if (facts.lineLength + 1 < sizeof facts.line) {
      facts.line[facts.lineLength++] = c;
    }
  }
}

void endPostScript(PostScriptFacts& facts) {
  readName(facts, '\n');
  if (facts.lineLength > 0) endLine(facts);
}

bool wholePostScript(const PostScriptFacts& facts) {
  const bool hasPages = facts.pagesMarked > 0 || (facts.encapsulated && facts.pagesAnnounced < 0);
  return hasPages && facts.pagesMarked >= facts.pagesAnnounced && facts.ended;
}

void clearBitmapFonts() {
  bitmapFontNames[0] = '\0';
  transparencyNamed = false;
}

bool transparencyOperators() { return transparencyNamed; }

const char* bitmapFonts() { return bitmapFontNames; }

bool pdfTailEnded(const char* tail, std::size_t count) {
  constexpr char END[] = "%%EOF";
  constexpr std::size_t LENGTH = sizeof END - 1;
  for (std::size_t at = count >= LENGTH ? count - LENGTH + 1 : 0; at-- > 0;)
    if (std::memcmp(tail + at, END, LENGTH) == 0) return true;
  return false;
}
