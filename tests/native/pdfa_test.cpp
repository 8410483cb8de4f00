// The definition file of a PDF for archiving, and where Ghostscript's command takes it.
#include <gtest/gtest.h>

#include <string>

#include "command/ghostscript_command.h"
#include "command/pdfa_definition.h"
#include "options/pdf_options.h"
#include "tests/native/fakes.h"

namespace {

// The title of dvips's "%%Title:" as a PostScript string in ASCII, none without one; the output
// intent with the profile named in full, of 3 colours; the definition read just before the
// PostScript, and the profile let through -dSAFER.
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

  resetFakes();
  pdfOptions.purpose = PDF_FOR_ARCHIVING;
  pdfOptions.allowTransparency = 0;
  static char command[GHOSTSCRIPT_COMMAND_SIZE];
  const auto input = [](int, PathText& path) { return copyText(path, "D:\\p.ps"), true; };
  ASSERT_TRUE(composeGhostscriptCommand("gs.exe", input, 1, "p.pdf", false, false, command,
                                        "T:\\corvane-pdfa-8.ps", "C:/gs/srgb.icc"));
  EXPECT_EQ(std::string(command).substr(std::string(command).find(" -dPDFA")),
            " -dPDFA=2 -dPDFACompatibilityPolicy=1 -sColorConversionStrategy=RGB "
            "-dPDFSETTINGS=/prepress -dEmbedAllFonts=true -dSubsetFonts=true -dMaxSubsetPct=100 "
            "\"--permit-file-read=C:/gs/srgb.icc\" \"-sOutputFile=p.pdf\" "
            "\"T:\\corvane-pdfa-8.ps\" \"D:\\p.ps\"");
}

}  // namespace
