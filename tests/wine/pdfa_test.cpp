// A PDF for archiving made by the real dvips and Ghostscript, checked point by point with
// poppler's tools and the PDF's own bytes: no validator of PDF/A comes with Debian or npm.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tests/wine/real_dvips.h"
#include "tests/wine/sheet_session.h"

namespace {

class PdfaRun : public SheetSession {};

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Text, Times-Roman and an EPS photograph, made by a Ghostscript installed as Ghostscript's
// installer lays it out, with srgb.icc beside bin: the PDF claims PDF/A-2b, has the sRGB output
// intent with the profile in it, every font embedded, no encryption and the PostScript's pages;
// the link that would not print is left out, which the run tells as a warning; the definition
// file is gone.
TEST_F(PdfaRun, ArchivingMakesAPdfA2b) {
  const std::string inputs = texInputsFolder();
  if (inputs.empty()) GTEST_SKIP() << "CORVANE_TEX_INPUTS names no folder with paper.dvi";
  const std::string tools = scratchFolder("pdfa-tools"), folder = scratchFolder("pdfa");
  InstalledForwarders installed;
  ASSERT_TRUE(installed.install(tools + "bin\\dvips.exe"));
  ConverterOnPath onPath(tools);
  const std::string ghostscript = tools + "gs\\gs10\\bin\\gswin32c.exe";
  ASSERT_TRUE(installed.install(ghostscript));
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA("Z:\\usr\\share\\ghostscript\\1*", &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE) << "Debian's Ghostscript keeps no profiles";
  FindClose(search);
  const std::string profile = std::string("Z:\\usr\\share\\ghostscript\\") + found.cFileName;
  ASSERT_TRUE(installed.install(tools + "gs\\gs10\\iccprofiles\\srgb.icc",
                                profile + "\\iccprofiles\\srgb.icc"));
  for (const char* file : {"archive.dvi", "photo.eps"})
    ASSERT_TRUE(CopyFileA((inputs + file).c_str(), (folder + file).c_str(), FALSE)) << file;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  pdf.purpose = PDF_FOR_ARCHIVING;
  std::snprintf(pdf.ghostscriptFile, sizeof pdf.ghostscriptFile, "%s", ghostscript.c_str());
  storePdfRecord(pdf);
  ASSERT_NE(open(defaultRecord(), "\"" + folder + "archive.dvi\""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);

  const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error", 120000);
  ASSERT_NE(box, nullptr) << "no box told of what was left out";
  const std::string said = messageBoxText(box);
  EXPECT_TRUE(has(said, "Done, with warnings.")) << said;
  EXPECT_TRUE(has(said, "A link or note that would not print was left out")) << said;
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(waitForExit(corvane), 0u);
  char temporary[MAX_PATH];
  GetTempPathA(MAX_PATH, temporary);
  EXPECT_FALSE(fileExists(std::string(temporary) + "corvane-pdfa-" +
                          std::to_string(corvane.dwProcessId) + ".ps"));

  const std::string made = folder + "archive.pdf", quoted = "\"" + made + "\"";
  const std::string metadata = unixToolOutput("pdfinfo", "-meta " + quoted);
  EXPECT_TRUE(has(metadata, "pdfaid:part='2'") && has(metadata, "pdfaid:conformance='B'"))
      << metadata;
  const std::string info = unixToolOutput("pdfinfo", quoted);
  EXPECT_TRUE(has(info, "\nEncrypted:       no")) << info;
  const auto pages = pageLines(readFile(folder + "archive.ps")).size();
  EXPECT_TRUE(pages == 2 && has(info, "\nPages:           " + std::to_string(pages))) << info;
  std::istringstream fonts(unixToolOutput("pdffonts", quoted));
  int listed = 0;
  for (std::string line; std::getline(fonts, line);)
    if (line.size() > 60 && line.rfind("name", 0) != 0 && line.rfind("---", 0) != 0) {
      ++listed;
      EXPECT_EQ(line.substr(line.size() - 21, 3), "yes") << line;
    }
  EXPECT_EQ(listed, 2) << "Computer Modern and Times-Roman";
  // The output intent's profile: a stream object of 3 colours.
  const std::string bytes = readFile(made);
  EXPECT_TRUE(has(bytes, "/S/GTS_PDFA1") || has(bytes, "/S /GTS_PDFA1"));
  const std::size_t intent = bytes.find("/DestOutputProfile");
  ASSERT_NE(intent, std::string::npos);
  std::string object(1, '\n');
  object += std::to_string(std::atoi(bytes.c_str() + intent + 18)) + " 0 obj";
  const std::size_t start = bytes.find(object);
  ASSERT_NE(start, std::string::npos) << object;
  const std::string stream = bytes.substr(start, bytes.find("endobj", start) - start);
  EXPECT_TRUE(has(stream, "/N 3") && has(stream, "stream")) << stream.substr(0, 200);
}

}  // namespace
