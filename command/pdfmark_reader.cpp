// Reading PostScript for its pdfmark operators and judging each against PDF/A-2b.
#include "command/pdfmark_reader.h"

#include <cstring>
#include <initializer_list>

namespace {

enum State : unsigned char { CODE, COMMENT, STRING, HEX };

// Actions that PDF/A-2 forbids, and SubmitForm, which sends what a reader typed elsewhere, each
// between blanks so that only a whole name is found. A Named action may only turn pages.
constexpr char FORBIDDEN_ACTIONS[] =
    " JavaScript Launch Sound Movie ResetForm ImportData SubmitForm SetOCGState Rendition Trans "
    "GoTo3DView Hide ";
constexpr char PAGING_ACTIONS[] = " NextPage PrevPage FirstPage LastPage ";

bool startsWith(const char* text, const char* start) {
  return std::strncmp(text, start, std::strlen(start)) == 0;
}

// The token at the start of text, up to its blank.
const char* tokenAt(const char* text, char (&token)[24]) {
  std::size_t length = std::strcspn(text, " ");
  if (length >= sizeof token) length = sizeof token - 1;
  std::memcpy(token, text, length);
  token[length] = '\0';
  return token;
}

bool isListed(const char* list, const char* name) {
  char word[sizeof PdfaFault::name + 2] = " ";
  const std::size_t length = std::strlen(name);
  std::memcpy(word + 1, name, length);
  std::memcpy(word + 1 + length, " ", 2);
  return std::strstr(list, word) != nullptr;
}

void addFault(PdfMarkReader& reader, PdfaBreak kind, const char* name) {
  for (int at = 0; at < reader.faultCount; ++at)
    if (reader.faults[at].kind == kind && std::strcmp(reader.faults[at].name, name) == 0) return;
  if (reader.faultCount == MAX_PDFA_FAULTS) return;
  PdfaFault& fault = reader.faults[reader.faultCount++];
  fault = {kind, reader.page, ""};
  std::memcpy(fault.name, name, std::strlen(name) + 1);
}

// The names after key in the mark's text that are on the list (forbidden) or off it (not).
void findActions(PdfMarkReader& reader, const char* text, const char* key, const char* list,
                 bool forbidden) {
  for (const char* at = text; (at = std::strstr(at, key)) != nullptr;) {
    at += std::strlen(key);
    char name[24];
    if (isListed(list, tokenAt(at, name)) == forbidden) addFault(reader, PdfaBreak::Action, name);
  }
}

// One pdfmark: its kind is the name before it; the mark's text has a blank before and after
// each token. An annotation (ANN, LNK) that would not print Ghostscript leaves out, and says so.
void judgeMark(PdfMarkReader& reader, const char* text) {
  const char* kind = reader.lastName;
  const bool annotation = std::strcmp(kind, "/ANN") == 0 || std::strcmp(kind, "/LNK") == 0;
  char value[24];
  if (annotation) {
    const char* flags = std::strstr(text, " /F ");
    if (flags == nullptr) return;
    // The print flag, 4, of a number: its remainder by 8 is enough.
    unsigned remainder = 0;
    const char* digit = tokenAt(flags + 4, value);
    for (; *digit >= '0' && *digit <= '9'; ++digit)
      remainder = (remainder * 10 + static_cast<unsigned>(*digit - '0')) % 8;
    if (value[0] != '\0' && *digit == '\0' && (remainder & 4) == 0) return;
  }
  for (const char* key : {" /S /", " /Subtype /", " /Action /"})
    findActions(reader, text, key, FORBIDDEN_ACTIONS, true);
  if (std::strstr(text, " /Named ") != nullptr)
    findActions(reader, text, " /N /", PAGING_ACTIONS, false);
  if (std::strstr(text, " /JS ") != nullptr || std::strstr(text, " /JavaScript ") != nullptr)
    addFault(reader, PdfaBreak::Action, "JavaScript");
  const char* subtype = std::strstr(text, " /Subtype /");
  tokenAt(subtype != nullptr ? subtype + 11 : "Text", value);
  if (std::strcmp(kind, "/EMBED") == 0 || std::strstr(text, " /EmbeddedFiles ") != nullptr ||
      (annotation && std::strcmp(value, "FileAttachment") == 0))
    addFault(reader, PdfaBreak::EmbeddedFile, "");
  if (std::strcmp(kind, "/ANN") != 0 || isListed(" Link Popup FileAttachment ", value) ||
      std::strstr(text, " /AP ") != nullptr)
    return;
  // A rectangle of no size, [x y x y], needs no appearance.
  char corner[4][24] = {};
  if (const char* at = std::strstr(text, " /Rect [ "); at != nullptr) {
    at += 9;
    for (auto& number : corner) {
      at += std::strlen(tokenAt(at, number));
      at += *at == ' ' ? 1 : 0;
    }
  }
  if (corner[0][0] == '\0' || std::strcmp(corner[0], corner[2]) != 0 ||
      std::strcmp(corner[1], corner[3]) != 0)
    addFault(reader, PdfaBreak::Note, value);
}

void appendMark(PdfMarkReader& reader, const char* text, std::size_t length) {
  if (reader.markDepth == 0 || reader.markLength + length + 3 > sizeof reader.mark) return;
  reader.mark[reader.markLength++] = ' ';
  std::memcpy(reader.mark + reader.markLength, text, length);
  reader.markLength += length;
}

constexpr int MARK_STARTS =
    static_cast<int>(sizeof PdfMarkReader::markStarts / sizeof PdfMarkReader::markStarts[0]);

// pdfmark takes everything down to its mark, the innermost bracket open.
void pdfmark(PdfMarkReader& reader) {
  if (reader.markDepth == 0) return;
  if (reader.markDepth > MARK_STARTS) reader.markDepth = MARK_STARTS;
  const std::size_t start = reader.markStarts[--reader.markDepth];
  std::memcpy(reader.mark + reader.markLength, " ", 2);
  judgeMark(reader, reader.mark + start);
  reader.markLength = start;
}

void endToken(PdfMarkReader& reader) {
  const std::size_t length = reader.tokenLength;
  if (length == 0) return;
  reader.tokenLength = 0;
  if (length == 7 && std::memcmp(reader.token, "pdfmark", 7) == 0) return pdfmark(reader);
  appendMark(reader, reader.token, length < sizeof reader.token ? length : sizeof reader.token);
  if (reader.token[0] == '/' && length < sizeof reader.lastName) {
    std::memcpy(reader.lastName, reader.token, length);
    reader.lastName[length] = '\0';
  }
}

// A comment that starts a line: an included figure's bounds, or a page.
void endComment(PdfMarkReader& reader) {
  reader.comment[reader.commentLength] = '\0';
  reader.state = CODE;
  if (!reader.commentAtLineStart) return;
  if (startsWith(reader.comment, "%BeginDocument")) {
    ++reader.includedDepth;
  } else if (startsWith(reader.comment, "%EndDocument") && reader.includedDepth > 0) {
    --reader.includedDepth;
  } else if (startsWith(reader.comment, "%Page:") && reader.includedDepth == 0) {
    ++reader.page;
    reader.markDepth = 0;
    reader.markLength = 0;
  }
}

void readCode(PdfMarkReader& reader, char c) {
  // "<<" opens a dictionary, any other "<" a string in hexadecimal (or ASCII85, "<~").
  if (reader.pending) {
    reader.pending = false;
    if (c != '>') reader.state = c == '<' ? CODE : HEX;
    return;
  }
  if (std::strchr("()<>[]{}/% \t\r\n\f", c) != nullptr) endToken(reader);
  switch (c) {
    case '%':
      reader.state = COMMENT;
      reader.commentAtLineStart = reader.lineStart;
      reader.commentLength = 0;
      return;
    case '(':
      reader.state = STRING;
      reader.stringDepth = 1;
      return;
    case '<': reader.pending = true; return;
    case '[':
      if (reader.markDepth == 0) reader.markLength = 0;
      if (reader.markDepth < MARK_STARTS) reader.markStarts[reader.markDepth] = reader.markLength;
      appendMark(reader, "[", 1);
      if (reader.markDepth < 1000000) ++reader.markDepth;
      return;
    case ']':
      if (reader.markDepth > 0) appendMark(reader, "]", 1);
      if (reader.markDepth > 0) --reader.markDepth;
      return;
    default: break;
  }
  if (std::strchr(")>{} \t\r\n\f", c) != nullptr) return;
  if (reader.tokenLength < sizeof reader.token) reader.token[reader.tokenLength] = c;
  if (reader.tokenLength < 1000000) ++reader.tokenLength;
}

void readByte(PdfMarkReader& reader, char c) {
  // A comment at a line's start is one whatever came before: what was read wrong, such as a
  // figure's binary data, goes no further than the next page.
  if (reader.lineStart && c == '%' && reader.state != COMMENT) {
    reader.state = CODE;
    reader.pending = false;
  }
  if (reader.state == COMMENT && (c == '\n' || c == '\r')) {
    endComment(reader);
  } else if (reader.state == COMMENT) {
    if (reader.commentLength + 1 < sizeof reader.comment)
      reader.comment[reader.commentLength++] = c;
  } else if (reader.state == STRING) {
    if (reader.escaped) {
      reader.escaped = false;
    } else if (c == '\\') {
      reader.escaped = true;
    } else if (c == '(' && reader.stringDepth < 1000000) {
      ++reader.stringDepth;
    } else if (c == ')' && --reader.stringDepth == 0) {
      reader.state = CODE;
    }
  } else if (reader.state == HEX) {
    if (c == '>') reader.state = CODE;
  } else {
    readCode(reader, c);
  }
  reader.lineStart = c == '\n' || c == '\r';
}

}  // namespace

void startPdfMarks(PdfMarkReader& reader) {
  reader = {};
  reader.lineStart = true;
}

void readPdfMarks(PdfMarkReader& reader, const char* bytes, std::size_t count) {
  for (std::size_t at = 0; at < count; ++at) readByte(reader, bytes[at]);
}

void endPdfMarks(PdfMarkReader& reader) {
  readByte(reader, '\n');
  reader.state = CODE;
  reader.pending = false;
  reader.includedDepth = 0;
}
