// The definition file of a PDF for archiving.
#include <gtest/gtest.h>

#include <string>

#include "command/pdfa_definition.h"

namespace {

// The title of dvips's "%%Title:" as a PostScript string in ASCII, none without one; the output
// intent with the profile named in full, of 3 colours.
TEST(Pdfa, DefinitionNamesTheTitleAndTheProfile) {
  char title[PDFA_TITLE_SIZE], definition[PDFA_DEFINITION_SIZE];
  ASSERT_TRUE(composePdfaDefinition(postScriptTitle("%!PS\n%%Title: a (b)\\\xE9 \r\n", title),
                                    "C:/gs/srgb.icc", definition));
  EXPECT_STREQ(definition,
               "%!PS\n[ /Title (a \\(b\\)\\\\\\351) /DOCINFO pdfmark\n"
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

}  // namespace
