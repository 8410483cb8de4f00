// What a file that dvips or Ghostscript wrote holds, read from its bytes as they come: whether
// the PostScript is whole, and which of its fonts are bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>

// One PostScript file. dvips announces its pages in the header ("%%Pages: 5", or "(atend)" and
// the number in the trailer), marks each one ("%%Page: 1 1") and ends with "%%EOF";
// Encapsulated PostScript is one page without marks. A figure that dvips includes keeps its own
// comments between "%%BeginDocument" and "%%EndDocument": they tell of the figure, not the
// document. Neither do the bytes or lines that "%%BeginBinary:" and "%%BeginData:" announce.
struct PostScriptFacts {
  char line[128];  // the start of the line being read: enough for every comment looked at
  std::size_t lineLength;
  bool firstLineRead;
  bool lineEndedByReturn;       // a '\n' that follows is the same line end
  bool encapsulated;            // the first line names EPSF
  std::int32_t includedDepth;   // open "%%BeginDocument" sections
  std::uint64_t dataBytesLeft;  // of the data being passed over
  std::uint64_t dataLinesLeft;
  bool pagesCounted;            // the header's "%%Pages:" was read
  bool pagesAtEnd;              // it said "(atend)": the trailer's gives the number
  std::int32_t pagesAnnounced;  // -1 when no "%%Pages:" gives a number
  std::int32_t pagesMarked;
  bool ended;     // the last line that is not blank is "%%EOF"
  char name[24];  // the name being read, for the transparency operators
  std::size_t nameLength;
};

void startPostScript(PostScriptFacts& facts);
void readPostScript(PostScriptFacts& facts, const char* bytes, std::size_t count);
// Takes the last line, which may have no line end.
void endPostScript(PostScriptFacts& facts);

// A file that has its pages, as many as it announces, and its end.
bool wholePostScript(const PostScriptFacts& facts);

// The fonts that dvips put in its PostScript as bitmaps, gathered from every file read since the
// last clear: each "%DVIPSBitmapFont: Fb logo10 10 7" names one. Names are listed once each, ", "
// between them, as many as fit; a name is a word, and may hold a comma.
void clearBitmapFonts();
const char* bitmapFonts();
// Whether a file read since the last clear names one of Ghostscript's transparency operators
// (".setfillconstantalpha" and the like), which it runs only with -dALLOWPSTRANSPARENCY.
bool transparencyOperators();

// Whether the last bytes of a PDF (its tail, count bytes) hold the "%%EOF" that ends every PDF.
bool pdfTailEnded(const char* tail, std::size_t count);
