// The PDF page and what follows dvips: dvips found where TeX distributions put it, a real PDF made
// by Ghostscript and opened, a failed conversion told, and the page's settings saved.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/wine/confirm_help_driver.h"
#include "tests/wine/console_probe.h"
#include "tests/wine/real_dvips.h"
#include "tests/wine/sheet_session.h"

namespace {

constexpr char CLASSES_KEY[] = "Software\\Classes";
constexpr char VIEWER_TYPE[] = "Corvane.TestPdfViewer";

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string firstToken(const std::string& command) { return command.substr(0, command.find(' ')); }

std::string environment(const char* name) {
  char value[MAX_PATH] = "";
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length < sizeof value ? std::string(value, length) : std::string();
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The fake converter, which records how it was started, as the program that opens .pdf files.
// Wine reads the associations of all users only, so that is where it goes; the old one comes back.
struct RecordingPdfViewer {
  RecordingPdfViewer() {
    HKEY key = nullptr;
    const std::string pdfKey = std::string(CLASSES_KEY) + "\\.pdf";
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, pdfKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
      return;
    char type[256] = "";
    DWORD size = sizeof type - 1;
    if (RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(type), &size) ==
        ERROR_SUCCESS)
      oldType.assign(type);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(VIEWER_TYPE),
                   sizeof VIEWER_TYPE);
    RegCloseKey(key);
    const std::string command = "\"" + fakeConverterPath() + "\" \"%1\"";
    const std::string commandKey =
        std::string(CLASSES_KEY) + "\\" + VIEWER_TYPE + "\\shell\\open\\command";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, commandKey.c_str(), nullptr, REG_SZ, command.c_str(),
                    static_cast<DWORD>(command.size() + 1));
  }
  ~RecordingPdfViewer() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(CLASSES_KEY) + "\\" + VIEWER_TYPE).c_str());
    const std::string pdfKey = std::string(CLASSES_KEY) + "\\.pdf";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, pdfKey.c_str(), nullptr, REG_SZ, oldType.c_str(),
                    static_cast<DWORD>(oldType.size() + 1));
  }
  RecordingPdfViewer(const RecordingPdfViewer&) = delete;
  RecordingPdfViewer& operator=(const RecordingPdfViewer&) = delete;
  std::string oldType;
};

class PdfRun : public SheetSession {
 protected:
  void TearDown() override {
    SheetSession::TearDown();
    SetEnvironmentVariableA("CORVANE_FAKE_EXIT", nullptr);
  }

  HWND openWith(const Options& record, const PdfOptions& pdf, const std::string& arguments) {
    storePdfRecord(pdf);
    return open(record, arguments);
  }

  HWND waitForErrorBox() { return waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error"); }

  void closeBox(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(waitForExit(corvane), 0u);
  }
};

// Nothing on PATH, TeX Live for two years and MiKTeX for this user: the newest TeX Live runs. One
// on PATH wins. None at all: the error box says where Corvane looked and what to do.
TEST_F(PdfRun, DvipsIsFoundWhereTexDistributionsPutIt) {
  const std::string drive = environment("SystemDrive");
  const std::string local = environment("LOCALAPPDATA");
  ASSERT_FALSE(drive.empty());
  ASSERT_FALSE(local.empty());
  const std::string newest = drive + "\\texlive\\2024\\bin\\windows\\dvips.exe";
  const Options record = defaultRecord();
  {
    InstalledForwarders installed;
    for (const std::string& path : {drive + "\\texlive\\2023\\bin\\windows\\dvips.exe", newest,
                                    local + "\\Programs\\MiKTeX\\miktex\\bin\\x64\\dvips.exe"})
      ASSERT_TRUE(installed.install(path, fakeConverterPath())) << path;
    ASSERT_NE(open(record, "paper.dvi"), nullptr);
    EXPECT_EQ(lowerCase(firstToken(okAndReceive())), lowerCase(shortPathOf(newest)));

    const std::string folder = scratchFolder("dvips-on-path");
    ASSERT_TRUE(installed.install(folder + "bin\\dvips.exe", fakeConverterPath()));
    ConverterOnPath onPath(folder);
    ASSERT_NE(open(record, "paper.dvi"), nullptr);
    EXPECT_EQ(lowerCase(firstToken(okAndReceive())),
              lowerCase(shortPathOf(folder + "bin\\dvips.exe")));
  }
  ASSERT_NE(open(record, "paper.dvi"), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const HWND box = waitForErrorBox();
  ASSERT_NE(box, nullptr);
  const std::string text = messageBoxText(box);
  EXPECT_EQ(text.rfind(systemMessage(ERROR_FILE_NOT_FOUND), 0), 0u) << text;
  for (const std::string& part : {std::string("Corvane looked for dvips.exe on PATH"),
                                  drive + "\\texlive\\<year>\\bin\\windows",
                                  local + "\\Programs\\MiKTeX", std::string("DVIPS Options page")})
    EXPECT_TRUE(contains(text, part)) << part << " is not in: " << text;
  closeBox(box);
}

// TeX Live's dvips and Debian's Ghostscript, each through a forwarder that corvane.exe can wait
// for, dvips on PATH and Ghostscript where TeX Live keeps its own (rungs.exe beside dvips).
class RealPdf : public PdfRun {
 protected:
  void SetUp() override {
    PdfRun::SetUp();
    inputs = texInputsFolder();
    if (inputs.empty()) GTEST_SKIP() << "CORVANE_TEX_INPUTS names no folder with paper.dvi";
    tools = scratchFolder("pdf-tools");
    ASSERT_TRUE(installed.install(tools + "bin\\dvips.exe"));
    onPath = std::make_unique<ConverterOnPath>(tools);
  }
  void TearDown() override {
    onPath.reset();
    PdfRun::TearDown();
  }

  // paper.dvi copied into a new folder of the name, converted with the record, and the PDF's
  // path; empty when no PDF was made.
  std::string convert(const std::string& folderName, const Options& record, const PdfOptions& pdf) {
    return convertIn(scratchFolder(folderName), record, pdf);
  }
  // The same in a folder that exists, with what it already holds.
  std::string convertIn(const std::string& folder, const Options& record, const PdfOptions& pdf) {
    EXPECT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
    if (openWith(record, pdf, "\"" + folder + "paper.dvi\"") == nullptr) return {};
    pressSheetButton(sheet, PSBTN_OK);
    EXPECT_EQ(waitForExit(corvane, 120000), 0u);
    return fileExists(folder + "paper.pdf") ? folder + "paper.pdf" : std::string();
  }
  // The number of pages pdfinfo counts; 0 when it cannot read the file.
  static int pageCount(const std::string& pdf) {
    const std::string info = unixToolOutput("pdfinfo", "\"" + pdf + "\"");
    int pages = 0;
    const std::size_t at = info.find("\nPages:");
    return at != std::string::npos && std::sscanf(info.c_str() + at, "\nPages: %d", &pages) == 1
               ? pages
               : 0;
  }

  // pdfinfo's lines about the pages' sizes, e.g. "Page    1 size:  595 x 842 pts (A4)".
  static std::vector<std::pair<int, int>> pageSizes(const std::string& info) {
    std::vector<std::pair<int, int>> sizes;
    std::istringstream lines(info);
    std::string line;
    while (std::getline(lines, line)) {
      int page = 0, width = 0, height = 0;
      if (std::sscanf(line.c_str(), "Page %d size: %d x %d", &page, &width, &height) == 3)
        sizes.emplace_back(width, height);
    }
    return sizes;
  }

  std::string inputs, tools;
  InstalledForwarders installed;
  std::unique_ptr<ConverterOnPath> onPath;
};

// A DVI file in a folder with blanks: the PDF beside it has its six pages, and the program that
// Windows opens PDF files with receives the PDF's full path.
TEST_F(RealPdf, PdfBesideTheDviIsOpened) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  RecordingPdfViewer viewer;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = pdf.openResult = 1;
  const std::string made = convert("My Papers", defaultRecord(), pdf);
  ASSERT_FALSE(made.empty()) << "no PDF was made";
  const std::string info = unixToolOutput("pdfinfo", "\"" + made + "\"");
  std::printf("pdfinfo \"%s\":\n%s", made.c_str(), info.c_str());
  EXPECT_TRUE(contains(info, "\nPages:           6\n")) << info;
  const ConverterRecord opened = waitForConverterRecord(log);
  ASSERT_TRUE(opened.found) << "nothing was opened";
  EXPECT_EQ(lastQuoted(opened.command), made);
}

// No program is set for PDF files: the box says that the PDF was made, where, and how to choose a
// program for it.
TEST_F(RealPdf, WithNoProgramForPdfFilesTheBoxSaysWhereThePdfIs) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  RecordingPdfViewer viewer;
  const std::string commandKey = std::string(CLASSES_KEY) + "\\" + VIEWER_TYPE + "\\shell";
  ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, commandKey.c_str()), ERROR_SUCCESS);
  const std::string folder = scratchFolder("no-viewer");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = pdf.openResult = 1;
  ASSERT_NE(openWith(defaultRecord(), pdf, "\"" + folder + "paper.dvi\""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error", 60000);
  ASSERT_NE(box, nullptr);
  const std::string text = messageBoxText(box);
  EXPECT_EQ(text, "Corvane made " + folder +
                      "paper.pdf, but no program is set to open such files. In Explorer, "
                      "right-click the file, choose Open with, and pick a program.");
  closeBox(box);
}

// "Landscape" on the Page Style page: every page of the PDF shows wider than high. Ghostscript is
// found in its default folder this time.
TEST_F(RealPdf, LandscapeGivesLandscapePages) {
  const std::string programs = environment("ProgramFiles");
  ASSERT_FALSE(programs.empty());
  ASSERT_TRUE(installed.install(programs + "\\gs\\gs10.00.0\\bin\\gswin32c.exe"));
  Options record = defaultRecord();
  record.landscape = 1;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  const std::string made = convert("landscape", record, pdf);
  ASSERT_FALSE(made.empty()) << "no PDF was made";
  const std::string info = unixToolOutput("pdfinfo", "-f 1 -l 6 \"" + made + "\"");
  const auto sizes = pageSizes(info);
  EXPECT_EQ(sizes.size(), 6u) << info;
  for (const auto& [width, height] : sizes) EXPECT_GT(width, height) << info;
}

// In the Capture window Ghostscript runs in Corvane's console once dvips has ended, before the
// console waits for a key.
TEST_F(RealPdf, CaptureRunsGhostscriptInTheConsoleBeforeTheKey) {
  if (!leaveOwnConsole()) GTEST_SKIP() << "standard output is this process's console";
  const std::string ghostscript = tools + "gswin32c.exe";
  ASSERT_TRUE(installed.install(ghostscript, fakeConverterPath()));
  Options record = defaultRecord();
  record.windowMode = WINDOW_CAPTURE;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  copyText(pdf.ghostscriptFile, ghostscript.c_str());
  const std::string folder = scratchFolder("capture-pdf");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  ASSERT_NE(openWith(record, pdf, "\"" + folder + "paper.dvi\""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  AttachedConsole console;
  ASSERT_TRUE(console.attach(corvane.dwProcessId));
  ASSERT_TRUE(
      waitUntil([&] { return console.title() == "Corvane: Press any key to close this window"; }));
  const ConverterRecord ran = waitForConverterRecord(log, 2000);
  ASSERT_TRUE(ran.found) << "Ghostscript had not run when the console waited for a key";
  EXPECT_EQ(ran.console, 1);
  EXPECT_TRUE(contains(ran.command, " -sDEVICE=pdfwrite ")) << ran.command;
  EXPECT_TRUE(contains(ran.command, " \"-sOutputFile=" + folder + "paper.pdf\" ")) << ran.command;
  EXPECT_FALSE(hasExited(corvane));
  ASSERT_TRUE(console.write(keyEvent(true)));
  console.detach();
  // The stand-in wrote no PDF, and Corvane says so rather than open nothing.
  const HWND box = waitForErrorBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(messageBoxText(box),
            "Corvane made no PDF file.\r\n\r\nGhostscript ended without writing " + folder +
                "paper.pdf.");
  closeBox(box);
}

// A PostScript file of one page left from another document, and a section left from an earlier
// run: with -i -S 1 dvips writes paper.001 to paper.006, and the PDF holds those six pages in
// order, neither the old paper.ps nor the old paper.007.
TEST_F(RealPdf, SectionsOfThisRunMakeOnePdfAndOldFilesAreLeftAlone) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  const std::string folder = scratchFolder("sections");
  const std::string onePage = "%!PS-Adobe-2.0\n%%Pages: 1\n%%Page: 1 1\nshowpage\n%%EOF\n";
  for (const char* old : {"paper.ps", "paper.007"})
    ASSERT_TRUE(createFileWide(wideOf(folder + old), onePage));
  Options record = defaultRecord();
  copyText(record.otherOptions, "-i -S 1");
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  const std::string made = convertIn(folder, record, pdf);
  ASSERT_FALSE(made.empty()) << "no PDF was made";
  EXPECT_EQ(pageCount(made), 6);
  EXPECT_EQ(readFile(folder + "paper.ps"), onePage);
}

// The command edited in the confirmation dialog to write edited.ps: the PDF is made of that file.
TEST_F(RealPdf, AnOutputEditedInTheConfirmationGivesItsPdf) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  const std::string folder = scratchFolder("edited-output");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  Options record = defaultRecord();
  record.showCommandLine = 1;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  ASSERT_NE(openWith(record, pdf, "\"" + folder + "paper.dvi\""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const HWND dialog = waitForConfirmDialog(corvane.dwProcessId);
  ASSERT_NE(dialog, nullptr);
  const std::string composed = controlText(dialog, IDC_COMMAND_EDIT);
  const std::size_t program = composed.find(' ');
  ASSERT_NE(program, std::string::npos) << composed;
  setControlText(dialog, IDC_COMMAND_EDIT,
                 composed.substr(0, program) + " -o edited.ps" + composed.substr(program));
  postClick(dialog, IDOK);
  EXPECT_EQ(waitForExit(corvane, 120000), 0u);
  EXPECT_EQ(pageCount(folder + "edited.pdf"), 6);
  EXPECT_FALSE(fileExists(folder + "paper.pdf"));
}

// Printer "pdf" (dvips -Ppdf), whose configuration writes the default file: the PDF is made.
TEST_F(RealPdf, PrinterPdfGivesThePdf) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  Options record = defaultRecord();
  copyText(record.printer, "pdf");
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  const std::string made = convert("printer-pdf", record, pdf);
  ASSERT_FALSE(made.empty()) << "no PDF was made";
  EXPECT_EQ(pageCount(made), 6);
}

// Encapsulated PostScript of one page: the PDF's page has the figure's size, not a sheet's.
TEST_F(RealPdf, EncapsulatedPostScriptGivesAPageOfTheFiguresSize) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  Options record = defaultRecord();
  record.encapsulated = 1;
  copyText(record.pageRanges, "11");
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  const std::string made = convert("encapsulated", record, pdf);
  ASSERT_FALSE(made.empty()) << "no PDF was made";
  const std::string postScript = readFile(made.substr(0, made.size() - 4) + ".ps");
  int left = 0, bottom = 0, right = 0, top = 0;
  ASSERT_EQ(std::sscanf(commentValue(postScript, "%%BoundingBox:").c_str(), "%d %d %d %d", &left,
                        &bottom, &right, &top),
            4);
  const auto sizes = pageSizes(unixToolOutput("pdfinfo", "-f 1 -l 1 \"" + made + "\""));
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0], std::make_pair(right - left, top - bottom));
}

// Documents made by tex for the run (tests/wine/prepare-inputs.sh), converted by the real dvips in
// the Hidden mode: the box gives the
// cause in Corvane's words, then dvips's own last lines, and the run's kind by its icon.
class RunCauses : public RealPdf {
 protected:
  // The text of the box that the run in the Hidden mode ends with; empty when none shows.
  std::string boxAfter(Options record, const std::string& dvi) {
    record.windowMode = WINDOW_HIDDEN;
    if (openWith(record, defaultPdfRecord(), "\"" + dvi + "\"") == nullptr) return {};
    pressSheetButton(sheet, PSBTN_OK);
    const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error", 60000);
    if (box == nullptr) return {};
    const std::string text = messageBoxText(box);
    closeBox(box);
    return text;
  }
};

TEST_F(RunCauses, AMissingFigureIsAWarningAndThePostScriptIsMade) {
  const std::string folder = scratchFolder("figure");
  ASSERT_TRUE(CopyFileA((inputs + "figure.dvi").c_str(), (folder + "figure.dvi").c_str(), FALSE));
  const std::string text = boxAfter(defaultRecord(), folder + "figure.dvi");
  EXPECT_EQ(text.rfind("Done, with warnings.", 0), 0u) << text;
  EXPECT_TRUE(contains(text, "A figure is missing; the PostScript was made without it.")) << text;
  EXPECT_TRUE(contains(text, "dvips: Could not find figure file missing.eps; continuing.")) << text;
  EXPECT_TRUE(contains(text, "dvips ended with exit code 1.")) << text;
  EXPECT_TRUE(fileExists(folder + "figure.ps"));
}

TEST_F(RunCauses, APageRangePastTheEndIsAFailure) {
  const std::string folder = scratchFolder("past-the-end");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  Options record = defaultRecord();
  record.firstPage = 20;
  record.useTexNumbers = 0;
  const std::string text = boxAfter(record, folder + "paper.dvi");
  EXPECT_TRUE(contains(text, "The page range starts after the document's last page.")) << text;
  EXPECT_TRUE(contains(text, "dvips: ! End of document before first specified page")) << text;
}

TEST_F(RunCauses, ATruncatedDviFileIsAFailure) {
  const std::string folder = scratchFolder("truncated");
  const std::string whole = readFile(inputs + "paper.dvi");
  ASSERT_TRUE(createFileWide(wideOf(folder + "paper.dvi"), whole.substr(0, 100)));
  const std::string text = boxAfter(defaultRecord(), folder + "paper.dvi");
  EXPECT_TRUE(contains(text, "The file is not a DVI file, or TeX is still writing it.")) << text;
}

TEST_F(RunCauses, AnUnknownPaperNameIsAWarning) {
  const std::string folder = scratchFolder("unknown-paper");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  Options record = defaultRecord();
  copyText(record.paperType, "nosuchpaper");
  const std::string text = boxAfter(record, folder + "paper.dvi");
  EXPECT_EQ(text.rfind("Done, with warnings.", 0), 0u) << text;
  EXPECT_TRUE(contains(text, "dvips does not know that paper name")) << text;
}

// A hidden dvips told to read the DVI file from its input (-f) gets NUL, not a console that nobody
// sees, and the run ends.
// Transparency in the PostScript: Ghostscript stops, and the box says why in plain words.
TEST_F(RunCauses, TransparencyThatGhostscriptBlocksIsNamed) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  const std::string folder = scratchFolder("transparency");
  ASSERT_TRUE(CopyFileA((inputs + "transparency.dvi").c_str(),
                        (folder + "transparency.dvi").c_str(), FALSE));
  Options record = defaultRecord();
  record.windowMode = WINDOW_HIDDEN;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  ASSERT_NE(openWith(record, pdf, "\"" + folder + "transparency.dvi\""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error", 60000);
  ASSERT_NE(box, nullptr);
  const std::string text = messageBoxText(box);
  EXPECT_TRUE(contains(text,
                       "The PostScript uses transparency (PSTricks), which Ghostscript "
                       "blocks by default."))
      << text;
  EXPECT_TRUE(contains(text, "Error: /undefined in .setopacityalpha")) << text;
  closeBox(box);
}

TEST_F(RunCauses, HiddenWithInputFromTheConsoleEnds) {
  Options record = defaultRecord();
  record.windowMode = WINDOW_HIDDEN;
  copyText(record.otherOptions, "-f");
  ASSERT_NE(openWith(record, defaultPdfRecord(), "\"" + inputs + "paper.dvi\""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  HWND box = nullptr;
  EXPECT_TRUE(waitUntil([&] {
    box = findWindowOf(corvane.dwProcessId, "#32770", "Corvane Error");
    return box != nullptr || hasExited(corvane);
  }));
  if (box != nullptr) PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(waitForExit(corvane), 0u);
}

// The PDF of the run held open without sharing by another program: before dvips starts, the box
// names it with Retry and Cancel; Retry once it is closed makes the PDF.
TEST_F(RealPdf, APdfHeldOpenIsNamedBeforeTheRunWithRetry) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  const std::string folder = scratchFolder("held-open");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  ASSERT_TRUE(createFileWide(wideOf(folder + "paper.pdf"), "old"));
  HANDLE held = CreateFileA((folder + "paper.pdf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  ASSERT_NE(openWith(defaultRecord(), pdf, "\"" + folder + "paper.dvi\""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const HWND box = waitForErrorBox();
  ASSERT_NE(box, nullptr);
  const std::string text = messageBoxText(box);
  EXPECT_TRUE(contains(text, folder + "paper.pdf is open in another program")) << text;
  EXPECT_FALSE(fileExists(folder + "paper.ps")) << "dvips ran before the box was answered";
  CloseHandle(held);
  PostMessageA(box, WM_COMMAND, IDRETRY, 0);
  EXPECT_EQ(waitForExit(corvane, 120000), 0u);
  EXPECT_EQ(pageCount(folder + "paper.pdf"), 6);
}

// dvips ending with code 1 in the Normal mode, with the default settings and a PDF asked for: the
// box says so and how to see dvips's messages, and Ghostscript does not run.
TEST_F(PdfRun, AFailedConversionIsToldAndMakesNoPdf) {
  InstalledForwarders installed;
  const std::string ghostscript = scratchFolder("failed-gs") + "gswin32c.exe";
  ASSERT_TRUE(installed.install(ghostscript, fakeConverterPath()));
  SetEnvironmentVariableA("CORVANE_FAKE_EXIT", "1");
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  copyText(pdf.ghostscriptFile, ghostscript.c_str());
  ASSERT_NE(openWith(fakeConverterRecord(), pdf, "paper.dvi"), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const HWND box = waitForErrorBox();
  ASSERT_NE(box, nullptr);
  const std::string text = messageBoxText(box);
  EXPECT_TRUE(contains(text, "dvips ended with exit code 1.")) << text;
  EXPECT_TRUE(contains(text, "Choose Capture on the DVIPS Options page")) << text;
  const ConverterRecord ran = waitForConverterRecord(log);
  ASSERT_TRUE(ran.found);
  EXPECT_EQ(lowerCase(firstToken(ran.command)), lowerCase(shortPathOf(fakeConverterPath())));
  closeBox(box);
}

// The real dvips given a DVI file that does not exist: the box names the file.
TEST_F(PdfRun, AMissingDviFileIsNamed) {
  InstalledForwarders installed;
  const std::string tools = scratchFolder("missing-dvi");
  ASSERT_TRUE(installed.install(tools + "bin\\dvips.exe"));
  ConverterOnPath onPath(tools);
  const std::string missing = tools + "no such paper.dvi";
  ASSERT_NE(openWith(defaultRecord(), defaultPdfRecord(), "\"" + missing + "\""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const HWND box = waitForErrorBox();
  ASSERT_NE(box, nullptr);
  const std::string text = messageBoxText(box);
  EXPECT_TRUE(contains(text, "dvips ended with exit code ")) << text;
  EXPECT_TRUE(contains(text, "The DVI file " + missing + " does not exist.")) << text;
  closeBox(box);
}

// The page's settings are saved by "Save options now!" in a value of their own, shown at the next
// start, and the "Options" value stays the 1644 bytes it was.
TEST_F(PdfRun, SavedSettingsShowAtTheNextStart) {
  const Options record = fakeConverterRecord();
  ASSERT_NE(open(record), nullptr);
  HWND pdfPage = page(PDF_PAGE);
  EXPECT_FALSE(isButtonChecked(pdfPage, IDC_MAKE_PDF));
  EXPECT_FALSE(isButtonChecked(pdfPage, IDC_OPEN_RESULT));
  EXPECT_TRUE(isButtonChecked(pdfPage, IDC_REPORT_FAILURE));
  EXPECT_EQ(controlText(pdfPage, IDC_GHOSTSCRIPT_FILE), "");
  clickButton(pdfPage, IDC_MAKE_PDF);
  clickButton(pdfPage, IDC_OPEN_RESULT);
  clickButton(pdfPage, IDC_REPORT_FAILURE);
  setControlText(pdfPage, IDC_GHOSTSCRIPT_FILE, "C:\\gs\\gswin32c.exe");
  clickButton(page(DVIPS_PAGE), IDC_SAVE_OPTIONS);
  std::vector<std::uint8_t> saved;
  ASSERT_TRUE(waitUntil([&] { return !(saved = storedPdfBytes()).empty(); }));
  EXPECT_TRUE(sameBytes(record, storedBytes()));
  ASSERT_EQ(saved.size(), PDF_OPTIONS_SIZE);
  PdfOptions expected = defaultPdfRecord();
  expected.makePdf = expected.openResult = 1;
  expected.reportFailure = 0;
  copyText(expected.ghostscriptFile, "C:\\gs\\gswin32c.exe");
  EXPECT_EQ(std::memcmp(saved.data(), &expected, PDF_OPTIONS_SIZE), 0);
  cancel();

  ASSERT_NE(openAgain(), nullptr);
  pdfPage = page(PDF_PAGE);
  EXPECT_TRUE(isButtonChecked(pdfPage, IDC_MAKE_PDF));
  EXPECT_TRUE(isButtonChecked(pdfPage, IDC_OPEN_RESULT));
  EXPECT_FALSE(isButtonChecked(pdfPage, IDC_REPORT_FAILURE));
  EXPECT_EQ(controlText(pdfPage, IDC_GHOSTSCRIPT_FILE), "C:\\gs\\gswin32c.exe");
  cancel();
}

// Under WoW64 a 32-bit Corvane sees the 32-bit registry and Program Files unless it asks for the
// 64-bit ones: MiKTeX under the 64-bit Program Files, and Ghostscript recorded in the registry's
// 64-bit view only, are what the PDF page names.
class Win64Programs : public PdfRun {
 protected:
  void TearDown() override {
    HKEY software = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                      &software) == ERROR_SUCCESS) {
      RegDeleteTreeA(software, "GPL Ghostscript");
      RegCloseKey(software);
    }
    PdfRun::TearDown();
  }
};

TEST_F(Win64Programs, SixtyFourBitMiktexAndGhostscriptAreNamed) {
  const std::string programs = environment("ProgramW6432");
  ASSERT_FALSE(programs.empty());
  InstalledForwarders installed;
  const std::string dvips = programs + "\\MiKTeX\\miktex\\bin\\x64\\dvips.exe";
  const std::string ghostscript = environment("SystemDrive") + "\\Tools\\gs64\\bin\\gswin64c.exe";
  ASSERT_TRUE(installed.install(dvips, fakeConverterPath()));
  ASSERT_TRUE(installed.install(ghostscript, fakeConverterPath()));
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\GPL Ghostscript\\10.00", 0, nullptr, 0,
                            KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::string library = ghostscript.substr(0, ghostscript.rfind('\\')) + "\\gsdll64.dll";
  RegSetValueExA(key, "GS_DLL", 0, REG_SZ, reinterpret_cast<const BYTE*>(library.c_str()),
                 static_cast<DWORD>(library.size() + 1));
  RegCloseKey(key);
  ASSERT_NE(open(defaultRecord()), nullptr);
  const std::string text = controlText(page(PDF_PAGE), IDC_PROGRAMS_THAT_RUN);
  EXPECT_TRUE(contains(text, "dvips: " + dvips + "\r\n")) << text;
  EXPECT_TRUE(contains(text, "Ghostscript: " + ghostscript)) << text;
  cancel();
}

}  // namespace
