// The PDF for archiving: its definition file's text, and where the command takes it.
#include <gtest/gtest.h>

#include <string>

#include "command/ghostscript_command.h"
#include "command/pdfa_definition.h"
#include "options/pdf_options.h"
#include "tests/native/fakes.h"

namespace {

bool input(int, PathText& path) {
  copyText(path, "D:\\paper.ps");
  return true;
}

// The title of dvips's "%%Title:" comment, as a PostScript string in ASCII; the profile named in
// full as the output intent's, of 3 colours; the definition read before the PostScript, and the
// profile let through -dSAFER.
TEST(Pdfa, DefinitionNamesTheTitleAndTheProfile) {
  char title[PDFA_TITLE_SIZE];
  EXPECT_STREQ(postScriptTitle("%!PS\n%%Creator: x %%Title: no\n%%Title: a (b).dvi \r\n", title),
               "a (b).dvi");
  EXPECT_STREQ(postScriptTitle("%!PS\n%%Pages: 1\n", title), "");
  char definition[PDFA_DEFINITION_SIZE];
  ASSERT_TRUE(composePdfaDefinition("a (b)\\\xE9", "C:/gs/iccprofiles/srgb.icc", definition));
  EXPECT_STREQ(
      definition,
      "%!PS\n[ /Title (a \\(b\\)\\\\\\351) /DOCINFO pdfmark\n"
      "[ /_objdef {corvane_icc} /type /stream /OBJ pdfmark\n"
      "[ {corvane_icc} << /N 3 >> /PUT pdfmark\n"
      "[ {corvane_icc} (C:/gs/iccprofiles/srgb.icc) (r) file /PUT pdfmark\n"
      "[ /_objdef {corvane_intent} /type /dict /OBJ pdfmark\n"
      "[ {corvane_intent} << /Type /OutputIntent /S /GTS_PDFA1 /DestOutputProfile "
      "{corvane_icc}\n  /OutputConditionIdentifier (sRGB) >> "
      "/PUT pdfmark\n[ {Catalog} << /OutputIntents [ {corvane_intent} ] >> /PUT pdfmark\n");
  ASSERT_TRUE(composePdfaDefinition("", BUILT_IN_SRGB_PROFILE, definition));
  EXPECT_EQ(std::string(definition).find("/Title"), std::string::npos);
  EXPECT_NE(std::string(definition).find("(%rom%iccprofiles/srgb.icc) (r) file"),
            std::string::npos);

  resetFakes();
  setDefaultPdfOptions();
  pdfOptions.purpose = PDF_FOR_ARCHIVING;
  static char command[GHOSTSCRIPT_COMMAND_SIZE];
  ASSERT_TRUE(composeGhostscriptCommand("gs.exe", input, 1, "p.pdf", false, false, command,
                                        "T:\\corvane-pdfa-8.ps", "C:/gs/iccprofiles/srgb.icc"));
  EXPECT_EQ(std::string(command).substr(std::string(command).find(" -dPDFA")),
            " -dPDFA=2 -dPDFACompatibilityPolicy=1 -sColorConversionStrategy=RGB "
            "-dPDFSETTINGS=/prepress -dEmbedAllFonts=true -dSubsetFonts=true -dMaxSubsetPct=100 "
            "\"--permit-file-read=C:/gs/iccprofiles/srgb.icc\" \"-sOutputFile=p.pdf\" "
            "\"T:\\corvane-pdfa-8.ps\" \"D:\\paper.ps\"");
}

}  // namespace
