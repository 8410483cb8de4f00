// From the sheet to PostScript: a first-time user's settings, made on the pages, converted by
// TeX Live's dvips, and the PostScript itself checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/wine/console_probe.h"
#include "tests/wine/real_dvips.h"
#include "tests/wine/sheet_session.h"

namespace {

using Pages = std::vector<std::string>;

// "%%Page: label ordinal" for the TeX page numbers in the order given.
Pages pagesNumbered(std::initializer_list<int> labels) {
  Pages pages;
  int ordinal = 0;
  for (const int label : labels)
    pages.push_back("%%Page: " + std::to_string(label) + " " + std::to_string(++ordinal));
  return pages;
}

class EndToEnd : public SheetSession {
 protected:
  void SetUp() override {
    SheetSession::SetUp();
    inputs = texInputsFolder();
    if (inputs.empty()) GTEST_SKIP() << "CORVANE_TEX_INPUTS names no folder with paper.dvi";
    onPath = std::make_unique<ConverterOnPath>(inputs);
  }
  void TearDown() override {
    onPath.reset();
    SheetSession::TearDown();
  }

  // Opens the sheet on the defaults, for paper.dvi, with the output file named on Files.
  void openFor(const std::string& output, const std::string& dvi = "") {
    clearStoredRecord();
    ASSERT_NE(openAgain("\"" + (dvi.empty() ? inputs + "paper.dvi" : dvi) + "\""), nullptr);
    if (!output.empty()) setControlText(page(FILES_PAGE), IDC_PS_FILE, output);
  }

  // OK, then the PostScript that dvips writes.
  std::string okAndConvert(const std::string& output) {
    pressSheetButton(sheet, PSBTN_OK);
    EXPECT_EQ(waitForExit(corvane), 0u);
    const std::string postScript = waitForPostScript(output);
    EXPECT_FALSE(postScript.empty()) << "no complete PostScript in " << output;
    return postScript;
  }

  std::string newOutput(const std::string& name, const std::string& extension = ".ps") {
    return scratchFolder("e2e-" + name) + name + extension;
  }

  std::string inputs;
  std::unique_ptr<ConverterOnPath> onPath;
};

TEST_F(EndToEnd, PageRangesAreTexPageNumbers) {
  const std::string output = newOutput("ranges");
  openFor(output);
  setControlText(page(RANGE_PAGE), IDC_PAGE_RANGES, "12-13,15");
  const std::string postScript = okAndConvert(output);
  EXPECT_EQ(pageLines(postScript), pagesNumbered({12, 13, 15}));
  EXPECT_EQ(commentValue(postScript, "%%Pages:"), "3");
}

TEST_F(EndToEnd, FirstAndLastPageAsTexNumbers) {
  const std::string output = newOutput("tex-numbers");
  openFor(output);
  const HWND range = page(RANGE_PAGE);
  EXPECT_TRUE(isButtonChecked(range, IDC_USE_TEX_NUMBERS));
  setControlText(range, IDC_FIRST_PAGE, "12");
  setControlText(range, IDC_LAST_PAGE, "14");
  EXPECT_EQ(pageLines(okAndConvert(output)), pagesNumbered({12, 13, 14}));
}

TEST_F(EndToEnd, FirstAndLastPageAsPositions) {
  const std::string output = newOutput("positions");
  openFor(output);
  const HWND range = page(RANGE_PAGE);
  clickButton(range, IDC_USE_TEX_NUMBERS);
  setControlText(range, IDC_FIRST_PAGE, "2");
  setControlText(range, IDC_LAST_PAGE, "4");
  // Positions 2 to 4 are the pages counted 12 to 14; as TeX numbers they would select none.
  EXPECT_EQ(pageLines(okAndConvert(output)), pagesNumbered({12, 13, 14}));
}

TEST_F(EndToEnd, OddPages) {
  const std::string output = newOutput("odd");
  openFor(output);
  clickButton(page(RANGE_PAGE), IDC_ODD_PAGES);
  EXPECT_EQ(pageLines(okAndConvert(output)), pagesNumbered({11, 13, 15}));
}

TEST_F(EndToEnd, EvenPages) {
  const std::string output = newOutput("even");
  openFor(output);
  clickButton(page(RANGE_PAGE), IDC_EVEN_PAGES);
  EXPECT_EQ(pageLines(okAndConvert(output)), pagesNumbered({12, 14, 16}));
}

TEST_F(EndToEnd, ReverseOrder) {
  const std::string output = newOutput("reverse");
  openFor(output);
  clickButton(page(RANGE_PAGE), IDC_REVERSE_ORDER);
  EXPECT_EQ(pageLines(okAndConvert(output)), pagesNumbered({16, 15, 14, 13, 12, 11}));
}

TEST_F(EndToEnd, LandscapeLetterFromTheList) {
  const std::string output = newOutput("landscape");
  openFor(output);
  const HWND style = page(STYLE_PAGE);
  const HWND paper = GetDlgItem(style, IDC_PAPER_TYPE);
  ASSERT_EQ(comboItem(paper, 2), "letter");
  selectComboItem(paper, 2);
  clickButton(style, IDC_LANDSCAPE);
  const std::string postScript = okAndConvert(output);
  EXPECT_EQ(commentValue(postScript, "%%Orientation:"), "Landscape");
  EXPECT_EQ(commentValue(postScript, "%%DocumentPaperSizes:"), "Letter");
  EXPECT_EQ(commentValue(postScript, "%%BoundingBox:"), "0 0 612 792");
}

TEST_F(EndToEnd, MagnificationAndResolution) {
  const std::string output = newOutput("magnified");
  openFor(output);
  const HWND style = page(STYLE_PAGE);
  setControlText(style, IDC_MAGNIFICATION, "2000");
  setControlText(style, IDC_RESOLUTION, "600");
  const std::string postScript = okAndConvert(output);
  EXPECT_EQ(commentValue(postScript, "%%Feature:"), "*Resolution 600dpi");
  // The document's set-up line carries the magnification and both resolutions.
  EXPECT_NE(postScript.find("TeXDict begin 39158280 55380996 2000 600 600"), std::string::npos);
}

TEST_F(EndToEnd, EncapsulatedPostScriptOfOnePage) {
  const std::string output = newOutput("figure", ".eps");
  openFor(output);
  clickButton(page(FILES_PAGE), IDC_ENCAPSULATED);
  setControlText(page(RANGE_PAGE), IDC_PAGE_RANGES, "12");
  const std::string postScript = okAndConvert(output);
  EXPECT_EQ(postScript.rfind("%!PS-Adobe-2.0 EPSF-2.0", 0), 0u);
  // An EPS file has no page comments: the page is known by its start.
  EXPECT_NE(postScript.find("TeXDict begin 12 0 bop"), std::string::npos);
  EXPECT_EQ(postScript.find("TeXDict begin 11 0 bop"), std::string::npos);
  EXPECT_EQ(postScript.find("TeXDict begin 13 0 bop"), std::string::npos);
  // The box is drawn round the page's ink, well inside the paper.
  std::istringstream box(commentValue(postScript, "%%BoundingBox:"));
  int left = -1, bottom = -1, right = -1, top = -1;
  box >> left >> bottom >> right >> top;
  EXPECT_GT(left, 0);
  EXPECT_GT(bottom, 0);
  EXPECT_LT(right, 596);
  EXPECT_LT(top, 842);
  EXPECT_LT(left, right);
  EXPECT_LT(bottom, top);
}

TEST_F(EndToEnd, OutputIntoAFolderWithBlanks) {
  const std::string output = scratchFolder("Out Folder") + "the result.ps";
  openFor(output);
  EXPECT_EQ(pageLines(okAndConvert(output)).size(), 6u);
}

TEST_F(EndToEnd, WithoutAnOutputFileThePostScriptLandsBesideTheDvi) {
  const std::string folder = scratchFolder("My Papers");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  openFor("", folder + "paper.dvi");
  EXPECT_TRUE(isButtonChecked(page(FILES_PAGE), IDC_USE_DVI_DIRECTORY));
  EXPECT_EQ(pageLines(okAndConvert(folder + "paper.ps")).size(), 6u);
}

// With the Japanese code page, a DVI file in a folder named with 表, ソ and 能 (each ending in
// the byte of a backslash), given as the argument and then typed into the edit, is converted
// beside itself.
class Cp932EndToEnd : public EndToEnd {};

TEST_F(Cp932EndToEnd, AJapaneseNameIsConvertedBesideItself) {
  const std::wstring folder = wideOf(scratchFolder("e2e-cp932")) + L"\u8868\u30bd\u80fd";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::string dvi = narrowOf(folder + L"\\\u8868.dvi");
  const std::string postScript = narrowOf(folder + L"\\\u8868.ps");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), dvi.c_str(), FALSE));
  openFor("", dvi);
  EXPECT_EQ(pageLines(okAndConvert(postScript)).size(), 6u);
  ASSERT_TRUE(DeleteFileA(postScript.c_str()));
  clearStoredRecord();
  ASSERT_NE(openAgain(), nullptr);
  setControlText(page(FILES_PAGE), IDC_DVI_FILE, dvi);
  EXPECT_EQ(pageLines(okAndConvert(postScript)).size(), 6u);
}

// Editors pass the DVI file relative to the folder they start Corvane in: one in a subfolder and
// one in a sibling folder, each converted beside itself.
TEST_F(EndToEnd, RelativeDviPathsAreFoundFromTheStartFolder) {
  const std::string start = scratchFolder("relative-start");
  const std::string sibling = scratchFolder("relative-sibling");
  const std::string siblingName =
      sibling.substr(0, sibling.size() - 1)
          .substr(sibling.substr(0, sibling.size() - 1).find_last_of('\\') + 1);
  ASSERT_TRUE(CreateDirectoryA((start + "sub").c_str(), nullptr));
  const std::pair<std::string, std::string> cases[] = {
      {"sub\\paper.dvi", start + "sub\\"},
      {"..\\" + siblingName + "\\paper.dvi", sibling},
  };
  for (const auto& [argument, folder] : cases) {
    SCOPED_TRACE(argument);
    ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
    clearStoredRecord();
    corvane = startProgramIn(corvanePath(), argument, start);
    sheet = waitForSheet(corvane);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(pageLines(okAndConvert(folder + "paper.ps")).size(), 6u);
  }
}

// Wine gives no console to a Unix program, so the Capture console is shown with a Windows
// converter: the fake one, named on the DVIPS Options page.
TEST_F(EndToEnd, CaptureModeKeepsTheConsoleUntilAKey) {
  if (!leaveOwnConsole()) GTEST_SKIP() << "standard output is this process's console";
  openFor("");
  const HWND dvips = page(DVIPS_PAGE);
  setControlText(dvips, IDC_PROGRAM_FILE, fakeConverterPath());
  clickButton(dvips, IDC_CAPTURE);
  pressSheetButton(sheet, PSBTN_OK);
  const ConverterRecord received = waitForConverterRecord(log);
  ASSERT_TRUE(received.found);
  EXPECT_EQ(received.console, 1);
  AttachedConsole console;
  ASSERT_TRUE(console.attach(corvane.dwProcessId));
  ASSERT_TRUE(
      waitUntil([&] { return console.title() == "Corvane: Press any key to close this window"; }));
  EXPECT_FALSE(hasExited(corvane));
  ASSERT_TRUE(console.write(keyEvent(true)));
  console.detach();
  EXPECT_EQ(waitForExit(corvane), 0u);
}

}  // namespace
