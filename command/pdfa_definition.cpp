// The text of the PDF/A definition file, written by pdfmark operators that Ghostscript's pdfwrite
// turns into the document's information and the output intent.
#include "command/pdfa_definition.h"

#include <cstring>

#include "base/text.h"
#include "base/text_format.h"

namespace {

// A PostScript string of the text: "(", ")" and "\" escaped, any byte outside printable ASCII
// (a title in the code page, a line end) as its octal escape, so that the file is plain ASCII.
void appendString(char (&definition)[PDFA_DEFINITION_SIZE], const char* text) {
  appendFormatted(definition, "(");
  for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at != 0; ++at) {
    char piece[5] = {static_cast<char>(*at), '\0'};
    if (*at == '(' || *at == ')' || *at == '\\') {
      piece[0] = '\\';
      piece[1] = static_cast<char>(*at);
      piece[2] = '\0';
    } else if (*at < 0x20 || *at > 0x7E) {
      piece[0] = '\\';
      piece[1] = static_cast<char>('0' + (*at >> 6));
      piece[2] = static_cast<char>('0' + ((*at >> 3) & 7));
      piece[3] = static_cast<char>('0' + (*at & 7));
      piece[4] = '\0';
    }
    appendFormatted(definition, piece);
  }
  appendFormatted(definition, ")");
}

// What follows the profile's name: the profile as a stream object of its own, with its number of
// colours said plainly rather than guessed from the device, then the output intent that PDF/A
// reads, named GTS_PDFA1 for every part of the standard.
constexpr char OUTPUT_INTENT[] =
    " (r) file /PUT pdfmark\n"
    "[ /_objdef {corvane_intent} /type /dict /OBJ pdfmark\n"
    "[ {corvane_intent} << /Type /OutputIntent /S /GTS_PDFA1 /DestOutputProfile {corvane_icc}\n"
    "  /OutputConditionIdentifier (sRGB) >> /PUT pdfmark\n"
    "[ {Catalog} << /OutputIntents [ {corvane_intent} ] >> /PUT pdfmark\n";

// The title in characters that Ghostscript keeps in a PDF/A's document information. A run of
// characters outside ASCII, in the code page or in UTF-8 as TeX Live may write the name, is one
// "?".
void appendTitle(char (&definition)[PDFA_DEFINITION_SIZE], const char* title) {
  char kept[PDFA_TITLE_SIZE] = "";
  std::size_t length = 0;
  bool outsideAscii = false;
  for (const char* at = title; *at != '\0' && length + 1 < sizeof kept; ++at) {
    const unsigned char c = static_cast<unsigned char>(*at);
    char piece = static_cast<char>(c);
    if (c == '(' || c == ')') piece = c == '(' ? '[' : ']';
    if (c == '\\') piece = '/';
    if (c < 0x20 || c == 0x7F) piece = ' ';
    if (isLeadByte(*at) && at[1] != '\0') ++at;
    if (c > 0x7F && outsideAscii) continue;
    outsideAscii = c > 0x7F;
    kept[length++] = outsideAscii ? '?' : piece;
  }
  kept[length] = '\0';
  appendString(definition, kept);
}

}  // namespace

const char* postScriptTitle(const char* header, char (&title)[PDFA_TITLE_SIZE]) {
  constexpr char COMMENT[] = "%%Title:";
  title[0] = '\0';
  for (const char* at = header; (at = std::strstr(at, COMMENT)) != nullptr; ++at) {
    if (at != header && at[-1] != '\n' && at[-1] != '\r') continue;
    const char* value = at + sizeof COMMENT - 1;
    value += std::strspn(value, " \t");
    std::size_t length = std::strcspn(value, "\r\n");
    while (length > 0 && (value[length - 1] == ' ' || value[length - 1] == '\t')) --length;
    if (length > 4 && equalsIgnoringAsciiCase(value + length - 4, ".dvi", 4)) length -= 4;
    if (length >= PDFA_TITLE_SIZE) length = PDFA_TITLE_SIZE - 1;
    std::memcpy(title, value, length);
    title[length] = '\0';
    break;
  }
  return title;
}

bool composePdfaDefinition(const char* title, const char* profile,
                           char (&definition)[PDFA_DEFINITION_SIZE]) {
  definition[0] = '\0';
  appendFormatted(definition, "%!PS\n");
  if (title[0] != '\0') {
    appendFormatted(definition, "[ /Title ");
    appendTitle(definition, title);
    appendFormatted(definition, " /DOCINFO pdfmark\n");
  }
  appendFormatted(definition,
                  "[ /_objdef {corvane_icc} /type /stream /OBJ pdfmark\n"
                  "[ {corvane_icc} << /N 3 >> /PUT pdfmark\n"
                  "[ {corvane_icc} ");
  appendString(definition, profile);
  appendFormatted(definition, OUTPUT_INTENT);
  // Cut to the buffer, the text would lack its last line.
  return std::strlen(definition) + 1 < sizeof definition;
}
