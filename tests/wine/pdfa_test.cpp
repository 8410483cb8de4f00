// A PDF for archiving made by the real dvips and Ghostscript, checked with poppler's tools and the
// PDF's own bytes: no validator of PDF/A comes with Debian or npm.
#include <cstdlib>
#include <string>

#include "tests/wine/real_dvips.h"
#include "tests/wine/sheet_session.h"

namespace {

class PdfaRun : public SheetSession {};

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Text, Times-Roman and an EPS photograph, by a Ghostscript laid out as its installer does, with
// iccprofiles\srgb.icc beside bin: the PDF says it is PDF/A-2b, has the output intent with the
// profile in it, every font embedded, no encryption and the PostScript's pages; the link that
// would not print is left out, told as a warning; the definition file is gone.
TEST_F(PdfaRun, ArchivingMakesAPdfA2b) {
  const std::string inputs = texInputsFolder();
  if (inputs.empty()) GTEST_SKIP() << "CORVANE_TEX_INPUTS names no folder with paper.dvi";
  const std::string tools = scratchFolder("pdfa-tools"), folder = scratchFolder("pdfa");
  InstalledForwarders installed;
  ConverterOnPath onPath(tools);
  WIN32_FIND_DATAA debian;
  FindClose(FindFirstFileA("Z:\\usr\\share\\ghostscript\\1*", &debian));
  ASSERT_TRUE(installed.install(tools + "bin\\dvips.exe") &&
              installed.install(tools + "gs\\bin\\gswin32c.exe") &&
              installed.install(tools + "gs\\iccprofiles\\srgb.icc",
                                std::string("Z:\\usr\\share\\ghostscript\\") + debian.cFileName +
                                    "\\iccprofiles\\srgb.icc"));
  for (const char* file : {"archive.dvi", "photo.eps"})
    ASSERT_TRUE(CopyFileA((inputs + file).c_str(), (folder + file).c_str(), FALSE)) << file;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  pdf.purpose = PDF_FOR_ARCHIVING;
  copyText(pdf.ghostscriptFile, (tools + "gs\\bin\\gswin32c.exe").c_str());
  storePdfRecord(pdf);
  ASSERT_NE(open(defaultRecord(), "\"" + folder + "archive.dvi\""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  // A box of warnings alone, titled with the program's name.
  HWND box = nullptr;
  ASSERT_TRUE(
      waitUntil([&] { return (box = findMessageBox(corvane.dwProcessId)) != nullptr; }, 120000))
      << "no box told what was left out";
  EXPECT_EQ(windowText(box), "Corvane");
  const std::string said = messageBoxText(box);
  EXPECT_TRUE(has(said, "Done, with warnings.") && has(said, "A link or note that would not print"))
      << said;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(waitForExit(corvane), 0u);
  char temporary[MAX_PATH];
  GetTempPathA(MAX_PATH, temporary);
  EXPECT_FALSE(
      fileExists(temporary + ("corvane-pdfa-" + std::to_string(corvane.dwProcessId) + ".ps")));

  const std::string made = "\"" + folder + "archive.pdf\"";
  const std::string metadata = unixToolOutput("pdfinfo", "-meta " + made);
  EXPECT_TRUE(has(metadata, "pdfaid:part='2' pdfaid:conformance='B'")) << metadata;
  const std::string info = unixToolOutput("pdfinfo", made);
  EXPECT_TRUE(has(info, "\nEncrypted:       no\n")) << info;
  const auto pages = pageLines(readFile(folder + "archive.ps")).size();
  EXPECT_TRUE(has(info, "\nPages:           " + std::to_string(pages) + "\n")) << info;
  const std::string fonts = unixToolOutput("pdffonts", made);
  EXPECT_TRUE(has(fonts, "Times-Roman ") && has(fonts, "CMR10 ")) << fonts;
  for (std::size_t at = fonts.find('\n', fonts.find("---")); at + 1 < fonts.size();
       at = fonts.find('\n', at + 1))
    EXPECT_EQ(fonts.substr(fonts.find('\n', at + 1) - 21, 3), "yes") << "embedded\n" << fonts;
  // The output intent's profile: a stream object of 3 colours.
  const std::string bytes = readFile(folder + "archive.pdf");
  const std::size_t profile = bytes.find("/DestOutputProfile");
  ASSERT_TRUE(has(bytes, "/GTS_PDFA1") && profile != std::string::npos);
  std::string object(1, '\n');
  object += std::to_string(std::atoi(&bytes[profile + 18])) + " 0 obj";
  const std::size_t start = bytes.find(object);
  ASSERT_NE(start, std::string::npos);
  const std::string stream = bytes.substr(start, bytes.find("endobj", start) - start);
  EXPECT_TRUE(has(stream, "/N 3") && has(stream, "stream")) << stream.substr(0, 200);
}

}  // namespace
