// Finding dvips and Ghostscript, the files of a conversion, and Ghostscript's command, against a
// machine described in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/text_format.h"
#include "command/command_line.h"
#include "command/conversion_files.h"
#include "command/ghostscript_command.h"
#include "command/places_looked.h"
#include "command/postscript_facts.h"
#include "command/program_lookup.h"
#include "command/run_report.h"
#include "command/run_verdict.h"
#include "options/options.h"
#include "options/pdf_options.h"
#include "resources/resource.h"
#include "tests/native/fakes.h"

namespace {

const std::string UNINSTALL = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class Lookup : public ::testing::Test {
 protected:
  void SetUp() override {
    resetFakes();
    resetOptions();
    setDefaultOptions();
    setDefaultPdfOptions();
    fakeSystem.environment = {{"SystemDrive", "C:"},
                              {"LOCALAPPDATA", "C:\\Users\\ann\\AppData\\Local"},
                              {"ProgramFiles", "C:\\Program Files (x86)"},
                              {"ProgramW6432", "C:\\Program Files"},
                              {"ProgramFiles(x86)", "C:\\Program Files (x86)"}};
  }
  static std::string dvips() {
    WidePathText found = L"";
    return findDvips("dvips.exe", found) ? utf8Of(found) : "(none)";
  }
  static std::string ghostscript(const char* dvipsPath = "") {
    WidePathText found = L"";
    return findGhostscript(wideOfUtf8(dvipsPath).c_str(), found) ? utf8Of(found) : "(none)";
  }
};

// Each step of the search, from the last to the first: adding a place that is searched earlier
// changes what is found.
TEST_F(Lookup, DvipsComesFromTheFirstPlaceThatHasIt) {
  EXPECT_EQ(dvips(), "(none)");
  addFakeFile("C:\\Program Files\\MiKTeX\\miktex\\bin\\x64\\dvips.exe");
  EXPECT_EQ(dvips(), "C:\\Program Files\\MiKTeX\\miktex\\bin\\x64\\dvips.exe");
  addFakeFile("C:\\Users\\ann\\AppData\\Local\\Programs\\MiKTeX\\miktex\\bin\\x64\\dvips.exe");
  EXPECT_EQ(dvips(),
            "C:\\Users\\ann\\AppData\\Local\\Programs\\MiKTeX\\miktex\\bin\\x64\\dvips.exe");
  // MiKTeX where its configuration says it is.
  addFakeFile("D:\\MiKTeX\\miktex\\bin\\x64\\dvips.exe");
  fakeSystem.registry["HKCU\\Software\\MiKTeX.org\\MiKTeX\\2.9\\Core"]["UserInstall"] =
      "D:\\MiKTeX";
  EXPECT_EQ(dvips(), "D:\\MiKTeX\\miktex\\bin\\x64\\dvips.exe");
  // TeX Live before MiKTeX; the older layout too.
  addFakeFile("C:\\texlive\\2022\\bin\\win32\\dvips.exe");
  EXPECT_EQ(dvips(), "C:\\texlive\\2022\\bin\\win32\\dvips.exe");
  // The newest year first, whether the registry or the default folder knows it.
  addFakeFile("E:\\TL\\2024\\bin\\windows\\dvips.exe");
  fakeSystem.registry["HKLM32\\" + UNINSTALL + "TeXLive2024"]["UninstallString"] =
      "\"E:\\TL\\2024\\tlpkg\\installer\\uninst.bat\"";
  addFakeFile("C:\\texlive\\2023\\bin\\windows\\dvips.exe");
  EXPECT_EQ(dvips(), "E:\\TL\\2024\\bin\\windows\\dvips.exe");
  addFakeFile("C:\\texlive\\2025\\bin\\windows\\dvips.exe");
  EXPECT_EQ(dvips(), "C:\\texlive\\2025\\bin\\windows\\dvips.exe");
  // The Path that a new process would get, then this process's own.
  addFakeFile("F:\\tools\\dvips.exe");
  fakeSystem.registry["HKCU\\Environment"]["Path"] = "C:\\Windows;\"F:\\tools\";G:\\bin";
  EXPECT_EQ(dvips(), "F:\\tools\\dvips.exe");
  fakeSystem.searchPath["dvips.exe"] = "C:\\Start\\dvips.exe";
  EXPECT_EQ(dvips(), "C:\\Start\\dvips.exe");
}

TEST_F(Lookup, NoDvipsSaysWhereCorvaneLooked) {
  EXPECT_EQ(dvips(), "(none)");
  const std::string places = dvipsPlacesLooked("dvips.exe");
  for (const char* place :
       {"dvips.exe on PATH", "C:\\texlive\\<year>\\bin\\windows",
        "C:\\Users\\ann\\AppData\\Local\\Programs\\MiKTeX", "C:\\Program Files\\MiKTeX",
        "C:\\Program Files (x86)\\MiKTeX", "DVIPS Options page"})
    EXPECT_NE(places.find(place), std::string::npos) << place << " in " << places;
}

TEST_F(Lookup, GhostscriptComesFromTheFirstPlaceThatHasIt) {
  const char* dvipsPath = "C:\\texlive\\2024\\bin\\windows\\dvips.exe";
  EXPECT_EQ(ghostscript(dvipsPath), "(none)");
  addFakeFile("C:\\texlive\\2024\\bin\\windows\\mgs.exe");
  EXPECT_EQ(ghostscript(dvipsPath), "C:\\texlive\\2024\\bin\\windows\\mgs.exe");
  addFakeFile("C:\\texlive\\2024\\bin\\windows\\rungs.exe");
  EXPECT_EQ(ghostscript(dvipsPath), "C:\\texlive\\2024\\bin\\windows\\rungs.exe");
  fakeSystem.searchPath["gs.exe"] = "C:\\bin\\gs.exe";
  EXPECT_EQ(ghostscript(dvipsPath), "C:\\bin\\gs.exe");
  fakeSystem.searchPath["gswin32c.exe"] = "C:\\bin\\gswin32c.exe";
  EXPECT_EQ(ghostscript(dvipsPath), "C:\\bin\\gswin32c.exe");
  // The newest version under either Program Files.
  addFakeFile("C:\\Program Files (x86)\\gs\\gs9.56.1\\bin\\gswin32c.exe");
  addFakeFile("C:\\Program Files (x86)\\gs\\gs10.01.2\\bin\\gswin32c.exe");
  EXPECT_EQ(ghostscript(dvipsPath), "C:\\Program Files (x86)\\gs\\gs10.01.2\\bin\\gswin32c.exe");
  addFakeFile("C:\\Program Files\\gs\\gs10.02.1\\bin\\gswin64c.exe");
  EXPECT_EQ(ghostscript(dvipsPath), "C:\\Program Files\\gs\\gs10.02.1\\bin\\gswin64c.exe");
  // The registry: its 32-bit view, then any edition in the 64-bit view, newest version first.
  addFakeFile("D:\\gs32\\bin\\gswin32c.exe");
  fakeSystem.registry["HKLM32\\Software\\GPL Ghostscript\\10.03"]["GS_DLL"] =
      "D:\\gs32\\bin\\gsdll32.dll";
  EXPECT_EQ(ghostscript(dvipsPath), "D:\\gs32\\bin\\gswin32c.exe");
  addFakeFile("D:\\gs9\\bin\\gswin64c.exe");
  addFakeFile("D:\\gs10\\bin\\gswin64c.exe");
  fakeSystem.registry["HKLM64\\Software\\GPL Ghostscript\\9.56"]["GS_DLL"] =
      "D:\\gs9\\bin\\gsdll64.dll";
  fakeSystem.registry["HKLM64\\Software\\Artifex Ghostscript\\10.00"]["GS_DLL"] =
      "D:\\gs10\\bin\\gsdll64.dll";
  EXPECT_EQ(ghostscript(dvipsPath), "D:\\gs10\\bin\\gswin64c.exe");

  resetFakes();
  const std::string places = ghostscriptPlacesLooked();
  for (const char* place : {"registry", "gswin64c.exe", "rungs.exe", "mgs.exe", "PDF page"})
    EXPECT_NE(places.find(place), std::string::npos) << place << " in " << places;
}

// A name with a folder is the user's choice: it is not looked for elsewhere. In code page 932 the
// second byte of a character may be a backslash, which is no folder.
TEST_F(Lookup, OnlyANameWithoutAFolderIsLookedFor) {
  EXPECT_TRUE(namesNoFolder("dvips.exe"));
  EXPECT_FALSE(namesNoFolder("bin\\dvips.exe"));
  EXPECT_FALSE(namesNoFolder("tools/dvips.exe"));
  EXPECT_FALSE(namesNoFolder("D:dvips.exe"));
  const char doubleByte[] = "\x95\x5C.exe";  // a kanji whose second byte is 0x5C
  EXPECT_FALSE(namesNoFolder(doubleByte));
  fakeDoubleByte = true;
  EXPECT_TRUE(namesNoFolder(doubleByte));
  const char path[] = "C:\\\x95\x5C\\\x95\x5C.dvi";
  EXPECT_EQ(lastSeparator(path) - path, 5);
}

TEST_F(Lookup, TheCommandNamesTheDvipsFoundOrTheNameAsTyped) {
  ASSERT_TRUE(composeCommandLine());
  EXPECT_EQ(std::string(commandLine), "dvips.exe ");
  EXPECT_TRUE(programLookupFailed);
  addFakeFile("C:\\texlive\\2024\\bin\\windows\\dvips.exe");
  fakeShortNames["C:\\texlive\\2024\\bin\\windows\\dvips.exe"] =
      "C:\\texlive\\2024\\bin\\windows\\dvips.exe";
  ASSERT_TRUE(composeCommandLine());
  EXPECT_EQ(std::string(commandLine), "C:\\texlive\\2024\\bin\\windows\\dvips.exe ");
  EXPECT_FALSE(programLookupFailed);
  // A name with a folder that does not exist is not replaced.
  copyText(options.programFile, "D:\\TeX\\dvips.exe");
  ASSERT_TRUE(composeCommandLine());
  EXPECT_EQ(std::string(commandLine), "D:\\TeX\\dvips.exe ");
  EXPECT_FALSE(programLookupFailed);
}

// A hit in a folder named outside the code page goes into the command by its short form, one
// inside it as it stands, and one with neither form by its bare name, which process creation then
// looks for on PATH.
TEST_F(Lookup, AFoundProgramGoesInAsAPathFieldHoldsIt) {
  enum class Place { Path, TexLive, Miktex };
  struct Case {
    Place place;
    const char* root;
    const char* dvips;
    const wchar_t* shortForm;  // null: none
    const char* command;
  };
  const Case cases[] = {
      {Place::Path, "C:\\Программы\\bin", "C:\\Программы\\bin\\dvips.exe",
       L"C:\\PROGRA~1\\bin\\dvips.exe", "C:\\PROGRA~1\\bin\\dvips.exe "},
      {Place::TexLive, "D:\\Τεχ\\2024", "D:\\Τεχ\\2024\\bin\\windows\\dvips.exe",
       L"D:\\9F2A~1\\2024\\bin\\windows\\dvips.exe", "D:\\9F2A~1\\2024\\bin\\windows\\dvips.exe "},
      {Place::Miktex, "C:\\Users\\Дмитрий\\AppData\\Local\\Programs\\MiKTeX",
       "C:\\Users\\Дмитрий\\AppData\\Local\\Programs\\MiKTeX\\miktex\\bin\\x64\\dvips.exe",
       L"C:\\Users\\B3D1~1\\AppData\\Local\\Programs\\MiKTeX\\miktex\\bin\\x64\\dvips.exe",
       "C:\\Users\\B3D1~1\\AppData\\Local\\Programs\\MiKTeX\\miktex\\bin\\x64\\dvips.exe "},
      {Place::Path, "C:\\Éditions", "C:\\Éditions\\dvips.exe", nullptr,
       "C:\\\xC9"
       "ditions\\dvips.exe "},
      {Place::Miktex, "C:\\Дмитрий\\MiKTeX", "C:\\Дмитрий\\MiKTeX\\miktex\\bin\\x64\\dvips.exe",
       nullptr, "dvips.exe "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dvips);
    fakeSystem.files.clear();
    fakeSystem.searchPath.clear();
    fakeSystem.registry.clear();
    fakeWideShortNames.clear();
    addFakeFile(c.dvips);
    if (c.shortForm != nullptr) fakeWideShortNames[wideOfUtf8(c.dvips)] = c.shortForm;
    if (c.place == Place::Path) fakeSystem.searchPath["dvips.exe"] = c.dvips;
    if (c.place == Place::TexLive)
      fakeSystem.registry["HKCU\\" + UNINSTALL + "TeXLive2024"]["UninstallString"] =
          std::string(c.root) + "\\tlpkg\\installer\\uninst.bat";
    if (c.place == Place::Miktex)
      fakeSystem.registry["HKCU\\Software\\MiKTeX.org\\MiKTeX\\24.1\\Core"]["UserInstall"] = c.root;
    EXPECT_EQ(dvips(), c.dvips);
    ASSERT_TRUE(composeCommandLine());
    EXPECT_EQ(std::string(commandLine), c.command);
    EXPECT_FALSE(programLookupFailed);
  }
}

// dvips writes the PostScript file it is given, relative to the folder it runs in, or else the
// DVI file's name with ".ps" there; where it sends the output is unknown with a printer or -o.
TEST_F(Lookup, ThePostScriptLiesWhereDvipsWritesIt) {
  struct Case {
    const char* dviFile;
    const char* psFile;
    const char* printer;
    const char* otherOptions;
    OutputPlace place;
    const char* path;
  };
  const Case cases[] = {
      {"C:\\Papers\\paper.dvi", "", "", "", OutputPlace::Known, "D:\\Run\\paper.ps"},
      {"paper", "", "", "", OutputPlace::Known, "D:\\Run\\paper.ps"},
      {"my.paper.dvi", "", "", "-Z", OutputPlace::Known, "D:\\Run\\my.paper.ps"},
      {"C:paper.dvi", "", "", "", OutputPlace::Known, "D:\\Run\\paper.ps"},
      {"paper.dvi", "out\\result.eps", "", "", OutputPlace::Known, "D:\\Run\\out\\result.eps"},
      {"paper.dvi", "E:\\100%s.ps", "", "", OutputPlace::Known, "E:\\100%s.ps"},
      {"paper.dvi", "E:\\result.ps", "", "", OutputPlace::Known, "E:\\result.ps"},
      {"", "", "", "", OutputPlace::NoDviFile, ""},
      {"paper.dvi", "", "lj", "", OutputPlace::Printer, "D:\\Run\\paper.ps"},
      {"paper.dvi", "", "", "-q -Plj", OutputPlace::Printer, "D:\\Run\\paper.ps"},
      // A bare -o takes the next word, the DVI file, as dvips itself does.
      {"paper.dvi", "", "pdf", "-o", OutputPlace::Known, "D:\\Run\\paper.dvi"},
      {"paper.dvi", "", "", "-o out.ps", OutputPlace::Known, "D:\\Run\\out.ps"},
      {"paper.dvi", "", "", "-oout.ps", OutputPlace::Known, "D:\\Run\\out.ps"},
      {"paper.dvi", "", "", "-o -q", OutputPlace::Known, "D:\\Run\\paper.ps"},
      {"paper.dvi", "", "", "-o -", OutputPlace::StandardOutput, ""},
      {"paper.dvi", "", "", "-f", OutputPlace::StandardOutput, ""},
      // Read in order, the later option winning, as dvips reads them.
      {"paper.dvi", "out.ps", "", "-f", OutputPlace::StandardOutput, ""},
      {"paper.dvi", "", "", "-o \\out.ps", OutputPlace::Known, "D:\\out.ps"},
      {"paper.dvi", "", "", "-f0", OutputPlace::Known, "D:\\Run\\paper.ps"},
      {"paper.dvi", "", "", "-f -o f.ps", OutputPlace::Known, "D:\\Run\\f.ps"},
      {"paper.dvi", "!lpr", "", "", OutputPlace::Program, ""},
      {"paper.dvi", "", "", "-o \"|lpr -P x\"", OutputPlace::Program, ""},
      {"paper.dvi", "", "", "-O 1in,1in", OutputPlace::Known, "D:\\Run\\paper.ps"},
      {"paper.dvi", "", "", "-pp 1-3 -h x.pro -noomega -mode ljfour", OutputPlace::Known,
       "D:\\Run\\paper.ps"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dviFile) + " / " + c.psFile + " / " + c.otherOptions);
    copyText(options.dviFile, c.dviFile);
    copyText(options.psFile, c.psFile);
    copyText(options.printer, c.printer);
    copyText(options.otherOptions, c.otherOptions);
    ASSERT_EQ(composeCommandLine(), 1);
    makePlan(commandLine, "D:\\Run");
    EXPECT_EQ(plan.place, c.place) << commandLine;
    EXPECT_EQ(std::string(plan.postScript), c.path) << commandLine;
  }
  // A word cut to its buffer, or a folder that has no name, is not followed.
  makePlan(("dvips.exe -o " + std::string(300, 'x') + ".ps paper.dvi").c_str(), "D:\\Run");
  EXPECT_EQ(plan.place, OutputPlace::NotFollowed);
  makePlan("dvips.exe paper.dvi", "");
  EXPECT_EQ(plan.place, OutputPlace::NotFollowed);
}

// -i writes a file for each section, numbered in the place of the extension, as TeX Live's dvips
// names them; -E asks for the figure's own size. Both are read from a command as it was edited.
TEST_F(Lookup, SectionsAreNumberedAsDvipsNumbersThem) {
  struct Case {
    const char* command;
    const char* first;
    const char* twelfth;
  };
  const Case cases[] = {
      {"dvips -i -S 1 paper.dvi", "D:\\Run\\paper.001", "D:\\Run\\paper.012"},
      {"dvips -i -S 2 -o out paper.dvi", "D:\\Run\\out001", "D:\\Run\\out012"},
      {"dvips -i -o out.x.ps paper.dvi", "D:\\Run\\out.x.001", "D:\\Run\\out.x.012"},
      {"\"C:\\tex live\\dvips.exe\" -i \"D:\\My Papers\\paper.dvi\"", "D:\\Run\\paper.001",
       "D:\\Run\\paper.012"},
  };
  for (const Case& c : cases) {
    makePlan(c.command, "D:\\Run");
    EXPECT_TRUE(plan.sections) << c.command;
    PathText section;
    ASSERT_TRUE(sectionFile(1, section));
    EXPECT_EQ(std::string(section), c.first);
    ASSERT_TRUE(sectionFile(12, section));
    EXPECT_EQ(std::string(section), c.twelfth);
  }
  makePlan("dvips -i0 -E paper.dvi", "D:\\Run");
  EXPECT_FALSE(plan.sections);
  EXPECT_TRUE(plan.encapsulated);
  EXPECT_STREQ(plan.dviFile, "paper.dvi");
  makePlan("dvips -E0 \"D:\\My Papers\\paper.dvi\" other.dvi", "D:\\Run");
  EXPECT_FALSE(plan.encapsulated);
  EXPECT_STREQ(plan.dviFile, "D:\\My Papers\\paper.dvi");
}

TEST_F(Lookup, PdfLiesBesideThePostScript) {
  const std::pair<const char*, const char*> pdfs[] = {
      {"D:\\Run\\paper.ps", "D:\\Run\\paper.pdf"},
      {"D:\\Run.v2\\paper", "D:\\Run.v2\\paper.pdf"},
      {"D:\\Run\\paper.PDF", "D:\\Run\\paper.PDF.pdf"},
  };
  for (const auto& [postScript, pdf] : pdfs) {
    PathText made;
    ASSERT_TRUE(pdfFileFor(postScript, made));
    EXPECT_EQ(std::string(made), pdf);
  }
}

bool oneInput(int, PathText& path) {
  copyText(path, "D:\\My Papers\\paper.ps");
  return true;
}

bool sectionInput(int index, PathText& path) {
  path[0] = '\0';
  appendFormatted(path, "s.00%s", {index == 0 ? "1" : "2"});
  return true;
}

TEST_F(Lookup, GhostscriptCommandMakesThePdfInTheOrientationOfThePages) {
  static char command[GHOSTSCRIPT_COMMAND_SIZE];
  fakeShortNames["C:\\Program Files\\gs\\bin\\gswin64c.exe"] =
      "C:\\PROGRA~1\\gs\\bin\\gswin64c.exe";
  ASSERT_TRUE(composeGhostscriptCommand("C:\\Program Files\\gs\\bin\\gswin64c.exe", oneInput, 1,
                                        "D:\\My Papers\\100%.pdf", false, false, command));
  EXPECT_EQ(std::string(command),
            "C:\\PROGRA~1\\gs\\bin\\gswin64c.exe -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite "
            "-dAutoRotatePages=/None \"-sOutputFile=D:\\My Papers\\100%%.pdf\" "
            "\"D:\\My Papers\\paper.ps\"");
  ASSERT_TRUE(
      composeGhostscriptCommand("E:\\G S\\gs.exe", sectionInput, 2, "p.pdf", true, true, command));
  EXPECT_EQ(std::string(command),
            "\"E:\\G S\\gs.exe\" -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite "
            "-dAutoRotatePages=/None -dEPSCrop \"-sOutputFile=p.pdf\" -c \"<</Orientation 1>> "
            "setpagedevice\" -f \"s.001\" \"s.002\"");
  EXPECT_TRUE(isLandscapePostScript("%!PS-Adobe-2.0\n%%Pages: 6\r\n%%Orientation: Landscape\n"));
  EXPECT_FALSE(isLandscapePostScript("%!PS-Adobe-2.0\n%%Orientation: Portrait\n"));
  EXPECT_FALSE(isLandscapePostScript("%!PS-Adobe-2.0\n%%Pages: 6\n"));
}

// What the PDF is for, and transparency, add their switches after Ghostscript's own and before
// the output file; the PDF page shows the same switches. A purpose that no entry of the list has
// adds none.
TEST_F(Lookup, GhostscriptCommandHasTheSwitchesOfThePurpose) {
  const struct {
    std::int32_t purpose;
    bool transparency;
    const char* switches;
  } choices[] = {
      {PDF_FOR_EVERYDAY_USE, false, ""},
      {PDF_FOR_PRINTING, false,
       "-dPDFSETTINGS=/prepress -dEmbedAllFonts=true -dSubsetFonts=true -dMaxSubsetPct=100"},
      {PDF_FOR_SMALLER_FILE, false, "-dPDFSETTINGS=/ebook"},
      {PDF_FOR_EVERYDAY_USE, true, "-dALLOWPSTRANSPARENCY"},
      {PDF_FOR_SMALLER_FILE, true, "-dPDFSETTINGS=/ebook -dALLOWPSTRANSPARENCY"},
      {PDF_PURPOSE_COUNT, false, ""},
      {-1, true, "-dALLOWPSTRANSPARENCY"},
  };
  for (const auto& choice : choices) {
    SCOPED_TRACE(choice.switches);
    char switches[PDF_PURPOSE_SWITCHES_SIZE];
    EXPECT_STREQ(pdfPurposeSwitches(choice.purpose, choice.transparency, switches),
                 choice.switches);
    pdfOptions.purpose = choice.purpose;
    pdfOptions.allowTransparency = choice.transparency ? 1 : 0;
    char command[GHOSTSCRIPT_COMMAND_SIZE];
    ASSERT_TRUE(composeGhostscriptCommand("gs.exe", oneInput, 1, "p.pdf", true, false, command));
    const std::string added = choice.switches[0] != '\0' ? std::string(" ") + choice.switches : "";
    EXPECT_NE(std::string(command).find("-dAutoRotatePages=/None" + added + " \"-sOutputFile="),
              std::string::npos)
        << command;
  }
}

}  // namespace
