// The definition file of a PDF for archiving.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "command/pdfa_definition.h"
#include "command/pdfmark_reader.h"

namespace {

// The document's name from dvips's "%%Title:", none without one; the output intent with the
// profile named in full, of 3 colours.
TEST(Pdfa, DefinitionNamesTheTitleAndTheProfile) {
  char title[PDFA_TITLE_SIZE], definition[PDFA_DEFINITION_SIZE];
  ASSERT_TRUE(composePdfaDefinition(postScriptTitle("%!PS\n%%Title: paper.dvi \r\n", title),
                                    "C:/gs/srgb.icc", definition));
  EXPECT_STREQ(definition,
               "%!PS\n[ /Title (paper) /DOCINFO pdfmark\n"
               "[ /_objdef {corvane_icc} /type /stream /OBJ pdfmark\n"
               "[ {corvane_icc} << /N 3 >> /PUT pdfmark\n"
               "[ {corvane_icc} (C:/gs/srgb.icc) (r) file /PUT pdfmark\n"
               "[ /_objdef {corvane_intent} /type /dict /OBJ pdfmark\n"
               "[ {corvane_intent} << /Type /OutputIntent /S /GTS_PDFA1 /DestOutputProfile "
               "{corvane_icc}\n  /OutputConditionIdentifier (sRGB) >> /PUT pdfmark\n"
               "[ {Catalog} << /OutputIntents [ {corvane_intent} ] >> /PUT pdfmark\n");
  ASSERT_TRUE(composePdfaDefinition(postScriptTitle("%!PS\n", title), "x", definition));
  EXPECT_EQ(std::string(definition).find("/Title"), std::string::npos);
}

// What PDF/A forbids and Ghostscript would keep, read from dvips's PostScript in pieces of any
// size: each once, on the page where it first comes (the set-up is 0), not a figure's own pages,
// strings or binary data; an annotation that would not print Ghostscript leaves out itself.
TEST(Pdfa, PdfmarksThatBreakPdfAAreFoundOnTheirPages) {
  const std::string postScript =
      "%!PS-Adobe-2.0\n%%Pages: 3\n[ {Catalog} << /Names << /JavaScript 9 0 R >> >> /PUT pdfmark\n"
      "%%Page: 1 1\n[ /Rect [0 0 9 9] /Subtype /Link /A << /S /Launch >> /ANN pdfmark\n"
      "[/Rect[0 0 9 9]/F 4/A<</S/Named/N/NextPage>>/Subtype/Link/ANN pdfmark\n"
      "[ /Rect [4 4 4 4] /F 4 /Contents (a zero-size note) /ANN pdfmark\n"
      "%%BeginDocument: figure.eps\n%%Page: 1 1\n[ /F 4 /Rect [0 0 9 9] /Contents (\\) /S /Launch)"
      " /ANN\npdfmark\n%%EndDocument\n%%Page: 2 2\n"
      "[ /Rect [0 0 9 9] /F 4 /Subtype /Link /A << /S /Named /N /Print >> /ANN pdfmark\n"
      "[ /Name (a.txt) /FS << /EF << /F {ef} >> >> /EMBED pdfmark\n%%BeginBinary: 4\n((((\n"
      "%%Page: 3 3\n<</S/JavaScript>> pop [/F 4/AP<<>>/Subtype/Widget/Rect[0 0 9 9]/ANN pdfmark\n";
  const std::string expected = "0 0 JavaScript|1 1 Text|0 2 Print|2 2 |";
  for (std::size_t piece : {std::size_t{1}, std::size_t{7}, postScript.size()}) {
    static PdfMarkReader reader;
    startPdfMarks(reader);
    for (std::size_t at = 0; at < postScript.size(); at += piece)
      readPdfMarks(reader, postScript.data() + at, std::min(piece, postScript.size() - at));
    endPdfMarks(reader);
    std::string found;
    for (int index = 0; index < reader.faultCount; ++index)
      found += std::to_string(static_cast<int>(reader.faults[index].kind)) + " " +
               std::to_string(reader.faults[index].page) + " " + reader.faults[index].name + "|";
    EXPECT_EQ(found, expected) << piece;
  }
}

}  // namespace
