// A PDF for archiving made by the real dvips and Ghostscript, checked with poppler's tools and the
// PDF's own bytes: no validator of PDF/A comes with Debian or npm.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/wine/real_dvips.h"
#include "tests/wine/sheet_session.h"

namespace {

class PdfaRun : public SheetSession {
 protected:
  // Converts a DVI file of the inputs, copied with photo.eps as name (and an earlier PDF beside
  // it, when given), for archiving, by a Ghostscript laid out as its installer does, with
  // iccprofiles\srgb.icc beside bin; said holds the title and text of the box that ends the run,
  // pressed away.
  void archive(const std::string& dvi, const std::string& name, const std::string& earlier = "") {
    const std::string inputs = texInputsFolder();
    if (inputs.empty()) GTEST_SKIP() << "CORVANE_TEX_INPUTS names no folder with paper.dvi";
    const std::string tools = scratchFolder("pdfa-tools");
    folder = scratchFolder("pdfa");
    ConverterOnPath onPath(tools);
    WIN32_FIND_DATAA debian;
    FindClose(FindFirstFileA("Z:\\usr\\share\\ghostscript\\1*", &debian));
    ASSERT_TRUE(installed.install(tools + "bin\\dvips.exe") &&
                installed.install(tools + "gs\\bin\\gswin32c.exe") &&
                installed.install(tools + "gs\\iccprofiles\\srgb.icc",
                                  std::string("Z:\\usr\\share\\ghostscript\\") + debian.cFileName +
                                      "\\iccprofiles\\srgb.icc"));
    ASSERT_TRUE(CopyFileA((inputs + dvi).c_str(), (folder + name + ".dvi").c_str(), FALSE) &&
                CopyFileA((inputs + "photo.eps").c_str(), (folder + "photo.eps").c_str(), FALSE));
    if (FILE* file =
            earlier.empty() ? nullptr : std::fopen((folder + name + ".pdf").c_str(), "wb")) {
      std::fputs(earlier.c_str(), file);
      std::fclose(file);
    }
    PdfOptions pdf = defaultPdfRecord();
    pdf.makePdf = 1;
    pdf.purpose = PDF_FOR_ARCHIVING;
    copyText(pdf.ghostscriptFile, (tools + "gs\\bin\\gswin32c.exe").c_str());
    storePdfRecord(pdf);
    ASSERT_NE(open(defaultRecord(), "\"" + folder + name + ".dvi\""), nullptr);
    pressSheetButton(sheet, PSBTN_OK);
    HWND box = nullptr;
    ASSERT_TRUE(
        waitUntil([&] { return (box = findMessageBox(corvane.dwProcessId)) != nullptr; }, 120000))
        << "no box ended the run";
    said = windowText(box) + ": " + messageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(waitForExit(corvane), 0u);
  }

  std::string folder, said;
  InstalledForwarders installed;
};

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Text, Times-Roman and an EPS photograph, from a DVI file whose name Ghostscript would not keep
// as a PDF/A's title as it stands: the PDF says it is PDF/A-2b, has the name as its title, the
// output intent with the profile in it, every font embedded, no encryption and the PostScript's
// pages; the link that would not print is left out, told as a warning alone; the definition file
// is gone.
TEST_F(PdfaRun, ArchivingMakesAPdfA2b) {
  archive("archive.dvi", "a (b)");
  if (HasFatalFailure() || IsSkipped()) return;
  EXPECT_TRUE(has(said, "Corvane: Done, with warnings.") &&
              has(said, "A link or note that would not print"))
      << said;
  char temporary[MAX_PATH];
  GetTempPathA(MAX_PATH, temporary);
  EXPECT_FALSE(
      fileExists(temporary + ("corvane-pdfa-" + std::to_string(corvane.dwProcessId) + ".ps")));

  const std::string made = "\"" + folder + "a (b).pdf\"";
  const std::string metadata = unixToolOutput("pdfinfo", "-meta " + made);
  EXPECT_TRUE(has(metadata, "pdfaid:part='2' pdfaid:conformance='B'")) << metadata;
  const std::string info = unixToolOutput("pdfinfo", made);
  EXPECT_TRUE(has(info, "Title:           a [b]\n") && has(info, "\nEncrypted:       no\n"))
      << info;
  const auto pages = pageLines(readFile(folder + "a (b).ps")).size();
  EXPECT_TRUE(has(info, "\nPages:           " + std::to_string(pages) + "\n")) << info;
  const std::string fonts = unixToolOutput("pdffonts", made);
  EXPECT_TRUE(has(fonts, "Times-Roman ") && has(fonts, "CMR10 ")) << fonts;
  for (std::size_t at = fonts.find('\n', fonts.find("---")); at + 1 < fonts.size();
       at = fonts.find('\n', at + 1))
    EXPECT_EQ(fonts.substr(fonts.find('\n', at + 1) - 21, 3), "yes") << "embedded\n" << fonts;
  // The output intent's profile: a stream object of 3 colours.
  const std::string bytes = readFile(folder + "a (b).pdf");
  const std::size_t profile = bytes.find("/DestOutputProfile");
  ASSERT_TRUE(has(bytes, "/GTS_PDFA1") && profile != std::string::npos);
  std::string object(1, '\n');
  object += std::to_string(std::atoi(&bytes[profile + 18])) + " 0 obj";
  const std::size_t start = bytes.find(object);
  ASSERT_NE(start, std::string::npos);
  const std::string stream = bytes.substr(start, bytes.find("endobj", start) - start);
  EXPECT_TRUE(has(stream, "/N 3") && has(stream, "stream")) << stream.substr(0, 200);
}

// A JavaScript link that would print and an embedded file, which Ghostscript would keep in a file
// that it calls PDF/A: no PDF, each named with its page, and the earlier PDF as it was.
TEST_F(PdfaRun, WhatPdfAForbidsMakesNoPdf) {
  archive("not-archivable.dvi", "not-archivable", "%PDF earlier");
  if (HasFatalFailure() || IsSkipped()) return;
  EXPECT_TRUE(has(said, "Corvane Error: ") && has(said, "would not be PDF/A") &&
              has(said, "Page 1: a JavaScript action") && has(said, "Page 1: an embedded file") &&
              has(said, "pdfa option"))
      << said;
  EXPECT_EQ(readFile(folder + "not-archivable.pdf"), "%PDF earlier");
}

}  // namespace
