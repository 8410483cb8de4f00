// What dvips's PostScript asks of a PDF through pdfmark that PDF/A-2b forbids and Ghostscript
// passes through: its policy for PDF/A looks only at an annotation's print flag, so it keeps a
// JavaScript link, a note with no appearance or an embedded file and still calls the file PDF/A.
// The PostScript is read as it comes, in pieces of any size, before Ghostscript runs: every
// pdfmark of the document is there, those of its included figures too.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PdfaBreak {
  Action,        // an action that PDF/A forbids: JavaScript, Launch, a Named one other than paging
  Note,          // an annotation other than a link or popup with no appearance of its own
  EmbeddedFile,  // a file embedded in the PDF, which PDF/A-2 allows only when it is a PDF/A
};

struct PdfaFault {
  PdfaBreak kind;
  std::int32_t page;  // the PDF's page, counted from 1; 0 for the document's set-up
  char name[24];      // the action's or annotation's type, such as "JavaScript" or "Text"
};

constexpr int MAX_PDFA_FAULTS = 4;
constexpr std::size_t PDFMARK_TEXT_SIZE = 768;

// The reader's state across pieces and files, and what it found.
struct PdfMarkReader {
  unsigned char state;  // in code, a comment, a string or a hexadecimal string
  bool lineStart;
  bool commentAtLineStart;
  bool escaped;
  bool pending;       // a "<" that the next byte tells from "<<"
  int stringDepth;    // parentheses open in a string
  int includedDepth;  // %%BeginDocument of an included figure, whose own comments are no pages
  std::int32_t page;
  char comment[24];
  std::size_t commentLength;
  char token[32];
  std::size_t tokenLength;  // may exceed the token kept
  char lastName[24];        // the last name read: a pdfmark's kind, such as "/ANN"
  int markDepth;            // brackets open; the innermost one open when pdfmark comes is its mark
  std::size_t markStarts[16];  // where each of the first brackets open starts in mark
  // The names, numbers and brackets since the first bracket, a blank before each.
  char mark[PDFMARK_TEXT_SIZE];
  std::size_t markLength;
  PdfaFault faults[MAX_PDFA_FAULTS];  // each kind and type once, where it came first
  int faultCount;
};

void startPdfMarks(PdfMarkReader& reader);
void readPdfMarks(PdfMarkReader& reader, const char* bytes, std::size_t count);
// Ends a file: its last token; the pages go on in the next file, as in the PDF.
void endPdfMarks(PdfMarkReader& reader);
