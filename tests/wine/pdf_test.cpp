// The PDF page and what follows dvips: dvips found where TeX distributions put it, a real PDF made
// by Ghostscript and opened, a failed conversion told, and the page's settings saved.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
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

// Chooses an entry of a drop-down list as a user does: the selection changes and the page is told.
void chooseListEntry(HWND page, int id, int index) {
  const HWND list = GetDlgItem(page, id);
  selectComboItem(list, index);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

int chosenEntry(HWND page, int id) {
  return static_cast<int>(SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0));
}

// The first line of a control's text.
std::string firstLine(HWND page, int id) {
  const std::string text = controlText(page, id);
  return text.substr(0, text.find("\r\n"));
}

// The letters after '&' in the texts of the window's children, in lower case.
std::string mnemonicsOf(HWND window) {
  std::string letters;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string text = windowText(child);
    for (std::size_t at = text.find('&'); at != std::string::npos && at + 1 < text.size();
         at = text.find('&', at + 2))
      if (text[at + 1] != '&')
        letters += static_cast<char>(std::tolower(static_cast<unsigned char>(text[at + 1])));
  }
  return letters;
}

// The fake converter, which records how it was started, as the program that opens .pdf files.
// Wine reads the associations of all users only, so that is where it goes; the old one comes back.
std::string quoted(const std::string& text) { return '"' + text + '"'; }

struct RecordingPdfViewer {
  RecordingPdfViewer() {
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, oldType.key.c_str(), nullptr, REG_SZ, VIEWER_TYPE,
                    sizeof VIEWER_TYPE);
    const std::string command = quoted(fakeConverterPath()) + " \"%1\"";
    const std::string commandKey =
        std::string(CLASSES_KEY) + "\\" + VIEWER_TYPE + "\\shell\\open\\command";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, commandKey.c_str(), nullptr, REG_SZ, command.c_str(),
                    static_cast<DWORD>(command.size() + 1));
  }
  ~RecordingPdfViewer() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(CLASSES_KEY) + "\\" + VIEWER_TYPE).c_str());
  }
  RecordingPdfViewer(const RecordingPdfViewer&) = delete;
  RecordingPdfViewer& operator=(const RecordingPdfViewer&) = delete;
  const KeptRegistryValue oldType{HKEY_LOCAL_MACHINE, std::string(CLASSES_KEY) + "\\.pdf", ""};
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

  HWND waitForErrorBox(DWORD deadlineMs = DEADLINE_MS) {
    HWND box = nullptr;
    waitUntil([&] { return (box = findMessageBox(corvane.dwProcessId)) != nullptr; }, deadlineMs);
    return box;
  }

  // Waits until Corvane shows its error box, box then naming it, or ends; false when neither came.
  bool boxOrEnd(HWND& box, DWORD deadlineMs = DEADLINE_MS) {
    box = nullptr;
    return waitUntil(
        [&] {
          box = findMessageBox(corvane.dwProcessId);
          return box != nullptr || hasExited(corvane);
        },
        deadlineMs);
  }

  // A box of the checks on OK leads back to the sheet, which is then closed with Cancel.
  void closeBox(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    waitUntil([&] { return hasExited(corvane) || (!IsWindow(box) && IsWindowVisible(sheet)); });
    if (!hasExited(corvane) && IsWindow(sheet)) pressSheetButton(sheet, PSBTN_CANCEL);
    EXPECT_EQ(waitForExit(corvane), 0u);
  }
};

// Nothing on PATH, TeX Live for two years and MiKTeX for this user: the newest TeX Live runs. One
// on PATH wins. Each is named as it stands, which the code page represents. None at all: the error
// box says where Corvane looked and what to do.
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
    EXPECT_EQ(lowerCase(firstToken(okAndReceive())), lowerCase(newest));

    const std::string folder = scratchFolder("dvips-on-path");
    ASSERT_TRUE(installed.install(folder + "bin\\dvips.exe", fakeConverterPath()));
    ConverterOnPath onPath(folder);
    ASSERT_NE(open(record, "paper.dvi"), nullptr);
    EXPECT_EQ(lowerCase(firstToken(okAndReceive())), lowerCase(folder + "bin\\dvips.exe"));
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

// dvips where the user's TeX lies in a folder named outside the ANSI code page (a Cyrillic name on
// a Western Windows, a Korean one on a Japanese Windows): on PATH, where TeX Live's uninstall entry
// says, or where MiKTeX's configuration says. The command names it by its short form, and it runs.
enum class DvipsPlace { Path, TexLive, Miktex };

constexpr wchar_t UNINSTALL_KEY[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TeXLive2024";
constexpr wchar_t MIKTEX_KEY[] = L"Software\\MiKTeX.org";

std::wstring nameOutsideTheCodePage() {
  return GetACP() == 932 ? L"\ud504\ub85c\uadf8\ub7a8"
                         : L"\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u044b";
}

bool setRegistryText(const wchar_t* key, const wchar_t* value, const std::wstring& text) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, key, value, REG_SZ, text.c_str(),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

class FoundDvips : public PdfRun, public ::testing::WithParamInterface<DvipsPlace> {
 protected:
  void TearDown() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, UNINSTALL_KEY);
    RegDeleteTreeW(HKEY_CURRENT_USER, MIKTEX_KEY);
    PdfRun::TearDown();
  }
};

TEST_P(FoundDvips, RunsByItsShortForm) {
  const std::wstring root = wideOf(scratchFolder("found-dvips")) + nameOutsideTheCodePage();
  InstalledForwarders installed;
  std::unique_ptr<ConverterOnPath> onPath;
  std::wstring dvips;
  switch (GetParam()) {
    case DvipsPlace::Path:
      dvips = root + L"\\bin\\dvips.exe";
      onPath = std::make_unique<ConverterOnPath>(root + L"\\");
      break;
    case DvipsPlace::TexLive:
      dvips = root + L"\\bin\\windows\\dvips.exe";
      ASSERT_TRUE(setRegistryText(UNINSTALL_KEY, L"UninstallString",
                                  L"\"" + root + L"\\tlpkg\\installer\\uninst.bat\""));
      break;
    case DvipsPlace::Miktex:
      dvips = root + L"\\miktex\\bin\\x64\\dvips.exe";
      ASSERT_TRUE(
          setRegistryText(L"Software\\MiKTeX.org\\MiKTeX\\24.1\\Core", L"UserInstall", root));
      break;
  }
  ASSERT_TRUE(installed.install(dvips, fakeConverterPath()));
  wchar_t shortForm[MAX_PATH];
  ASSERT_NE(GetShortPathNameW(dvips.c_str(), shortForm, MAX_PATH), 0u);
  ASSERT_NE(open(defaultRecord(), "paper.dvi"), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  // A name read with '?' for the characters outside the code page ends in the error box.
  HWND box = nullptr;
  ASSERT_TRUE(boxOrEnd(box));
  if (box != nullptr) {
    ADD_FAILURE() << messageBoxText(box);
    closeBox(box);
    return;
  }
  const ConverterRecord ran = waitForConverterRecord(log);
  ASSERT_TRUE(ran.found) << "dvips did not run";
  EXPECT_EQ(lowerCase(firstToken(ran.command)), lowerCase(narrowOf(shortForm)));
}

INSTANTIATE_TEST_SUITE_P(OutsideTheCodePage, FoundDvips,
                         ::testing::Values(DvipsPlace::Path, DvipsPlace::TexLive,
                                           DvipsPlace::Miktex));

// A Ghostscript named in the quotes that Explorer's "Copy as path" gives is the one that runs, as
// the PDF page says, not one that is missing.
TEST_F(PdfRun, AGhostscriptNamedInQuotesIsFound) {
  InstalledForwarders installed;
  const std::string ghostscript = scratchFolder("quoted-gs") + "gswin64c.exe";
  ASSERT_TRUE(installed.install(ghostscript, fakeConverterPath()));
  PdfOptions pdf = defaultPdfRecord();
  copyText(pdf.ghostscriptFile, ("\"" + ghostscript + "\"").c_str());
  ASSERT_NE(openWith(fakeConverterRecord(), pdf, ""), nullptr);
  const HWND pdfPage = page(PDF_PAGE);
  std::string text;
  ASSERT_TRUE(waitUntil([&] {
    text = controlText(pdfPage, IDC_PROGRAMS_THAT_RUN);
    return contains(text, "Ghostscript:");
  }));
  EXPECT_TRUE(contains(text, "Ghostscript: " + ghostscript)) << text;
  EXPECT_FALSE(contains(text, "was not found")) << text;
  cancel();
}

// A PATH that takes long to search, as one naming a network folder that is gone does: here
// hundreds of folders that do not exist in the system folder, which Wine looks through name by
// name for each. The PDF page says that it is looking while the sheet goes on working, and the
// answer takes the text's place when it comes. Shown again, the page has the answer at once: the
// lookup runs once per showing of the sheet.
TEST_F(PdfRun, ASlowLookupLeavesTheSheetWorking) {
  wchar_t system[MAX_PATH];
  ASSERT_NE(GetSystemDirectoryW(system, MAX_PATH), 0u);
  std::wstring folders;
  for (int index = 0; index < 300; ++index)
    folders += system + (L"\\corvane-missing-" + std::to_wstring(index) + L";");
  static wchar_t oldPath[32767];
  const DWORD length = GetEnvironmentVariableW(L"PATH", oldPath, 32767);
  ASSERT_TRUE(length < 32767 &&
              SetEnvironmentVariableW(L"PATH", (folders + std::wstring(oldPath, length)).c_str()));
  const HWND opened = open(defaultRecord());
  SetEnvironmentVariableW(L"PATH", std::wstring(oldPath, length).c_str());
  ASSERT_NE(opened, nullptr);

  const std::string looking = "Looking for dvips and Ghostscript...";
  const std::string shown = controlText(page(PDF_PAGE), IDC_PROGRAMS_THAT_RUN);
  EXPECT_TRUE(contains(shown, looking)) << shown;
  EXPECT_NE(findDescendant(page(FILES_PAGE), "Edit", IDC_DVI_FILE), nullptr);
  std::string answer;
  ASSERT_TRUE(waitUntil([&] {
    answer = controlText(page(PDF_PAGE), IDC_PROGRAMS_THAT_RUN);
    return contains(answer, "dvips:");
  })) << answer;
  EXPECT_TRUE(contains(answer, "Ghostscript")) << answer;
  page(FILES_PAGE);
  EXPECT_EQ(controlText(page(PDF_PAGE), IDC_PROGRAMS_THAT_RUN), answer);
  cancel();
}

// TeX Live's dvips and Debian's Ghostscript, each through a forwarder that corvane.exe can wait
// for, dvips on PATH and Ghostscript where TeX Live keeps its own (rungs.exe beside dvips).
class RealPdf : public PdfRun {
 protected:
  void SetUp() override {
    PdfRun::SetUp();
    inputs = texInputsFolder();
    if (inputs.empty()) GTEST_SKIP() << "CORVANE_TEX_INPUTS names no documentFolder with paper.dvi";
    tools = scratchFolder("pdf-tools");
    ASSERT_TRUE(installed.install(tools + "bin\\dvips.exe"));
    onPath = std::make_unique<ConverterOnPath>(tools);
  }
  void TearDown() override {
    onPath.reset();
    PdfRun::TearDown();
  }

  // paper.dvi copied into a new documentFolder of the name, converted with the record, and the
  // PDF's path; empty when no PDF was made.
  std::string convert(const std::string& folderName, const Options& record, const PdfOptions& pdf) {
    return convertIn(scratchFolder(folderName), record, pdf);
  }
  // The same in a folder that exists, with what it already holds.
  std::string convertIn(const std::string& folder, const Options& record, const PdfOptions& pdf) {
    documentFolder = folder;
    EXPECT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
    if (openWith(record, pdf, "\"" + folder + "paper.dvi\"") == nullptr) return {};
    pressSheetButton(sheet, PSBTN_OK);
    EXPECT_EQ(waitForExit(corvane, 120000), 0u);
    return fileExists(documentFolder + "paper.pdf") ? documentFolder + "paper.pdf" : std::string();
  }

  // The box that a run with a PDF asked for, on the folder's paper.dvi, begins with; dvips has
  // not run.
  HWND boxBeforeTheRun(const std::string& folder) {
    PdfOptions pdf = defaultPdfRecord();
    pdf.makePdf = 1;
    if (openWith(defaultRecord(), pdf, "\"" + folder + "paper.dvi\"") == nullptr) return nullptr;
    pressSheetButton(sheet, PSBTN_OK);
    const HWND box = waitForErrorBox();
    EXPECT_FALSE(fileExists(folder + "paper.ps")) << "dvips ran before the box was answered";
    if (box == nullptr)
      ADD_FAILURE() << "no box, and Corvane " << (hasExited(corvane) ? "ended" : "runs");
    return box;
  }

  // paper.dvi copied into a new folder of the name, and the sheet, opened on it in the window mode
  // with a PDF asked for of the stand-in as Ghostscript, closed with OK; the folder, empty when
  // the sheet did not open.
  std::string okWithStandInGhostscript(const std::string& folderName, int windowMode) {
    const std::string ghostscript = tools + "gswin32c.exe";
    if (!fileExists(ghostscript) && !installed.install(ghostscript, fakeConverterPath())) return {};
    Options record = defaultRecord();
    record.windowMode = windowMode;
    PdfOptions pdf = defaultPdfRecord();
    pdf.makePdf = 1;
    copyText(pdf.ghostscriptFile, ghostscript.c_str());
    const std::string folder = scratchFolder(folderName);
    if (!CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE) ||
        openWith(record, pdf, "\"" + folder + "paper.dvi\"") == nullptr)
      return {};
    pressSheetButton(sheet, PSBTN_OK);
    return folder;
  }

  // The document of the inputs (photo.dvi comes with photo.eps) copied into a new documentFolder of
  // the name, and the sheet, opened on it with the record, closed with OK.
  void startConversion(const std::string& folderName, const std::string& document,
                       const Options& record, const PdfOptions& pdf) {
    documentFolder = scratchFolder(folderName);
    const auto copyInput = [&](const std::string& file) {
      return CopyFileA((inputs + file).c_str(), (documentFolder + file).c_str(), FALSE) != FALSE;
    };
    ASSERT_TRUE(copyInput(document + ".dvi")) << document;
    if (document == "photo") {
      ASSERT_TRUE(copyInput("photo.eps"));
    }
    ASSERT_NE(openWith(record, pdf, "\"" + documentFolder + document + ".dvi\""), nullptr);
    pressSheetButton(sheet, PSBTN_OK);
  }

  // The document converted, with the PDF page's purpose, by TeX Live's own Ghostscript (rungs.exe
  // beside dvips); the PDF's path, empty when Corvane did not end well or no PDF was made.
  std::string convertFor(const std::string& document, std::int32_t purpose) {
    if (!fileExists(tools + "bin\\rungs.exe")) {
      EXPECT_TRUE(installed.install(tools + "bin\\rungs.exe"));
    }
    PdfOptions pdf = defaultPdfRecord();
    pdf.makePdf = 1;
    pdf.purpose = purpose;
    startConversion(document + "-" + std::to_string(purpose), document, defaultRecord(), pdf);
    if (HasFatalFailure() || waitForExit(corvane, 120000) != 0) return {};
    const std::string made = documentFolder + document + ".pdf";
    return fileExists(made) ? made : std::string();
  }

  // pdffonts's fonts of the PDF: each name and whether it is embedded.
  static std::vector<std::pair<std::string, bool>> fontsOf(const std::string& pdf) {
    std::vector<std::pair<std::string, bool>> fonts;
    const std::string listing = unixToolOutput("pdffonts", "\"" + pdf + "\"");
    std::printf("pdffonts \"%s\":\n%s", pdf.c_str(), listing.c_str());
    std::istringstream lines(listing);
    std::string line;
    bool body = false;
    while (std::getline(lines, line)) {
      if (line.rfind("---", 0) == 0) {
        body = true;
        continue;
      }
      std::istringstream words(line);
      std::vector<std::string> columns{std::istream_iterator<std::string>(words), {}};
      // ... emb sub uni object ID: "emb" is the fifth column from the end.
      if (body && columns.size() >= 6)
        fonts.emplace_back(columns.front(), columns[columns.size() - 5] == "yes");
    }
    return fonts;
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

  std::string inputs, tools, documentFolder;
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
  const HWND box = waitForErrorBox(60000);
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

// In the Capture window dvips's lines show in Corvane's console, and Ghostscript runs there once
// dvips has ended, before the console waits for a key.
TEST_F(RealPdf, CaptureRunsGhostscriptInTheConsoleBeforeTheKey) {
  if (!leaveOwnConsole()) GTEST_SKIP() << "standard output is this process's console";
  const std::string folder = okWithStandInGhostscript("capture-pdf", WINDOW_CAPTURE);
  ASSERT_FALSE(folder.empty());
  AttachedConsole console;
  ASSERT_TRUE(console.attach(corvane.dwProcessId));
  ASSERT_TRUE(
      waitUntil([&] { return console.title() == "Corvane: Press any key to close this window"; }));
  const ConverterRecord ran = waitForConverterRecord(log, 2000);
  ASSERT_TRUE(ran.found) << "Ghostscript had not run when the console waited for a key";
  EXPECT_EQ(ran.console, 1);
  EXPECT_TRUE(contains(console.characters(), "This is dvips")) << "dvips's lines are not shown";
  EXPECT_TRUE(contains(ran.command, " -sDEVICE=pdfwrite ")) << ran.command;
  // Ghostscript writes a new file beside the PDF, which takes the PDF's place once whole.
  EXPECT_TRUE(contains(ran.command, " \"-sOutputFile=" + folder + "paper.pdf.corvane-"))
      << ran.command;
  EXPECT_FALSE(hasExited(corvane));
  ASSERT_TRUE(console.write(keyEvent(true)));
  console.detach();
  // The stand-in wrote no PDF, and Corvane says so rather than open nothing.
  const HWND box = waitForErrorBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(messageBoxText(box), "Ghostscript ended without writing " + folder +
                                     "paper.pdf.\r\n\r\nCorvane made no PDF file.");
  closeBox(box);
}

// In Normal and Minimized mode with a PDF asked for, Corvane reads what dvips and Ghostscript say
// and shows it in a console of the run, titled with dvips and shown as the mode asks; the
// console goes when the run is over.
TEST_F(RealPdf, NormalAndMinimizedShowWhatTheProgramsSayInTheirConsole) {
  if (!leaveOwnConsole()) GTEST_SKIP() << "standard output is this process's console";
  for (const int mode : {WINDOW_NORMAL, WINDOW_MINIMIZED}) {
    SCOPED_TRACE(mode);
    const std::string release = scratchFolder("normal-release") + "release";
    SetEnvironmentVariableA("CORVANE_FAKE_HOLD", release.c_str());
    const std::string folder = okWithStandInGhostscript("normal-console", mode);
    SetEnvironmentVariableA("CORVANE_FAKE_HOLD", nullptr);
    ASSERT_FALSE(folder.empty());
    {
      AttachedConsole console;
      ASSERT_TRUE(console.attach(corvane.dwProcessId));
      EXPECT_TRUE(waitUntil([&] { return contains(console.characters(), "fake dvips: line 3"); }))
          << console.characters();
      const std::string shown = console.characters();
      EXPECT_TRUE(contains(shown, "This is dvips")) << shown;
      EXPECT_TRUE(contains(shown, "[11]")) << shown;
      EXPECT_EQ(lowerCase(console.title()), lowerCase(tools + "bin\\dvips.exe"));
      const HWND window = GetConsoleWindow();
      ASSERT_NE(window, nullptr);
      EXPECT_TRUE(IsWindowVisible(window));
      EXPECT_EQ(IsIconic(window) != FALSE, mode == WINDOW_MINIMIZED);
    }
    ASSERT_TRUE(createFileWide(wideOf(release), ""));
    const HWND box = waitForErrorBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(contains(messageBoxText(box), "Ghostscript ended without writing"));
    EXPECT_EQ(AttachConsole(corvane.dwProcessId), FALSE) << "the console is still there";
    FreeConsole();
    closeBox(box);
  }
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
// the Hidden mode: the box gives the cause in Corvane's words, then dvips's own last lines, and the
// run's kind by its icon.
class RunCauses : public RealPdf {
 protected:
  // The text of the box that the run in the Hidden mode ends with; empty when none shows.
  std::string boxAfter(Options record, const std::string& dvi,
                       const PdfOptions& pdf = defaultPdfRecord()) {
    record.windowMode = WINDOW_HIDDEN;
    if (openWith(record, pdf, "\"" + dvi + "\"") == nullptr) return {};
    pressSheetButton(sheet, PSBTN_OK);
    const HWND box = waitForErrorBox(60000);
    if (box == nullptr) return {};
    const std::string text = messageBoxText(box);
    icon = messageBoxIconKind(box);
    closeBox(box);
    return text;
  }

  char icon = '?';  // of the last box, as messageBoxIconKind tells it
};

TEST_F(RunCauses, AMissingFigureIsAWarningAndThePostScriptIsMade) {
  const std::string folder = scratchFolder("figure");
  ASSERT_TRUE(CopyFileA((inputs + "figure.dvi").c_str(), (folder + "figure.dvi").c_str(), FALSE));
  const std::string text = boxAfter(defaultRecord(), folder + "figure.dvi");
  EXPECT_EQ(text.rfind("Done, with warnings.", 0), 0u) << text;
  EXPECT_EQ(icon, 'w');
  EXPECT_TRUE(
      contains(text, "The figure missing.eps is missing; the PostScript was made without it."))
      << text;
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
  EXPECT_EQ(icon, 'e');
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

// A font with neither bitmap nor outline, with dvips told not to make one (-M): dvips replaces it
// and ends with 0, and the box names it and the font put in its place, once.
TEST_F(RunCauses, AReplacedFontIsAWarningThatNamesIt) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  const std::string folder = scratchFolder("missing-font");
  ASSERT_TRUE(
      CopyFileA((inputs + "missingfont.dvi").c_str(), (folder + "missingfont.dvi").c_str(), FALSE));
  Options record = defaultRecord();
  copyText(record.otherOptions, "-M");
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  const std::string text = boxAfter(record, folder + "missingfont.dvi", pdf);
  EXPECT_EQ(text.rfind("Done, with warnings.", 0), 0u) << text;
  EXPECT_TRUE(contains(text, "Font missingfont is missing; dvips used cmr10 in its place")) << text;
  // One cause for one problem: the stand-in that dvips put in as a bitmap is not named again.
  EXPECT_FALSE(contains(text, "will be bitmaps")) << text;
  EXPECT_TRUE(contains(text, "dvips: PK font missingfont not found; using cmr10")) << text;
  EXPECT_FALSE(contains(text, "ended with exit code 0")) << text;
}

// The texts of programs that this machine does not have (MiKTeX's, a Ghostscript without its
// resources), and one that needs a file held by a Windows program, said by a stand-in for dvips
// or for Ghostscript: the box gives each one's cause and kind.
TEST_F(RunCauses, TextsOfOtherProgramsGiveTheirCauses) {
  struct Row {
    bool byGhostscript;
    const char* said;
    const char* sentence;
  };
  const Row rows[] = {
      {false,
       "Sorry, but miktex-makepk did not succeed for the following reason: PK font rtcxr could "
       "not be created.",
       "There is no outline or METAFONT source for a font of the document"},
      {false, "dvips: ! couldn't open PostScript file",
       "The file is open in another program: close it and try again."},
      {true, "GPL Ghostscript 10.00.0: Can't find initialization file gs_init.ps.",
       "This Ghostscript is incomplete: install Ghostscript or use the one TeX brings."},
  };
  const std::string ghostscript = tools + "gswin32c.exe";
  ASSERT_TRUE(installed.install(ghostscript, fakeConverterPath()));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.said);
    const std::string folder = scratchFolder("stand-in");
    ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
    Options record = row.byGhostscript ? defaultRecord() : fakeConverterRecord();
    record.windowMode = WINDOW_HIDDEN;
    PdfOptions pdf = defaultPdfRecord();
    pdf.makePdf = 1;
    copyText(pdf.ghostscriptFile, ghostscript.c_str());
    SetEnvironmentVariableA("CORVANE_FAKE_SAY", row.said);
    SetEnvironmentVariableA("CORVANE_FAKE_EXIT", "1");
    ASSERT_NE(openWith(record, pdf, "\"" + folder + "paper.dvi\""), nullptr);
    pressSheetButton(sheet, PSBTN_OK);
    const HWND box = waitForErrorBox(60000);
    SetEnvironmentVariableA("CORVANE_FAKE_SAY", nullptr);
    ASSERT_NE(box, nullptr);
    const std::string text = messageBoxText(box);
    // A failure: the cause comes first, and no "Done, with warnings." before it.
    EXPECT_EQ(text.rfind(row.sentence, 0), 0u) << text;
    EXPECT_TRUE(contains(text, row.said)) << text;
    EXPECT_TRUE(contains(text, row.byGhostscript ? "Ghostscript ended with exit code 1 while "
                                                   "making " +
                                                       folder + "paper.pdf."
                                                 : "dvips ended with exit code 1."))
        << text;
    closeBox(box);
  }
}

// Transparency in the PostScript: Ghostscript stops, and the box says why in plain words.
TEST_F(RunCauses, TransparencyThatGhostscriptBlocksIsNamed) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  const std::string folder = scratchFolder("transparency");
  ASSERT_TRUE(CopyFileA((inputs + "transparency.dvi").c_str(),
                        (folder + "transparency.dvi").c_str(), FALSE));
  const std::string earlier = "%PDF-1.7 the earlier PDF\n%%EOF\n";
  ASSERT_TRUE(createFileWide(wideOf(folder + "transparency.pdf"), earlier));
  Options record = defaultRecord();
  record.windowMode = WINDOW_HIDDEN;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  ASSERT_NE(openWith(record, pdf, "\"" + folder + "transparency.dvi\""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const HWND box = waitForErrorBox(60000);
  ASSERT_NE(box, nullptr);
  const std::string text = messageBoxText(box);
  EXPECT_TRUE(contains(text,
                       "The PostScript uses transparency (PSTricks), which Ghostscript blocks by "
                       "default: tick \"Allow transparency (PSTricks)\" on the PDF page."))
      << text;
  EXPECT_TRUE(contains(text, "Error: /undefined in .setfillconstantalpha")) << text;
  EXPECT_TRUE(contains(text, "The earlier " + folder + "transparency.pdf is left as it was."))
      << text;
  closeBox(box);
  EXPECT_EQ(readFile(folder + "transparency.pdf"), earlier);
}

// A hidden dvips told to read the DVI file from its input (-f, and no DVI file named) gets NUL,
// not a console that nobody sees, and the run ends.
TEST_F(RunCauses, HiddenDvipsReadingItsInputEnds) {
  Options record = fakeConverterRecord();
  record.windowMode = WINDOW_HIDDEN;
  copyText(record.otherOptions, "-f");
  ASSERT_NE(openWith(record, defaultPdfRecord(), ""), nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const ConverterRecord ran = waitForConverterRecord(log);
  ASSERT_TRUE(ran.found) << "dvips did not end";
  EXPECT_EQ(waitForExit(corvane), 0u);
}

// A font map that names an outline that is not installed: dvips stops with "dvips: !" and leaves a
// PostScript without pages that still ends in %%EOF. That is a failure: no Ghostscript, and the
// earlier PDF stays byte for byte.
TEST_F(RunCauses, AFatalDvipsErrorLeavesTheEarlierPdf) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  const std::string folder = scratchFolder("fatal-font");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  ASSERT_TRUE(createFileWide(wideOf(folder + "bad.map"), "cmr10 CMR10 <nosuchfont.pfb\n"));
  const std::string earlier = "%PDF-1.7 the earlier PDF\n%%EOF\n";
  ASSERT_TRUE(createFileWide(wideOf(folder + "paper.pdf"), earlier));
  Options record = defaultRecord();
  copyText(record.otherOptions, "-u +bad.map");
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = pdf.openResult = 1;
  const std::string text = boxAfter(record, folder + "paper.dvi", pdf);
  EXPECT_EQ(icon, 'e') << text;
  EXPECT_TRUE(contains(text, "A font file that the font map names is not installed")) << text;
  EXPECT_TRUE(contains(text, "dvips: ! Couldn't find font file nosuchfont.pfb")) << text;
  EXPECT_TRUE(contains(text, "Corvane made no PDF file.")) << text;
  EXPECT_EQ(readFile(folder + "paper.pdf"), earlier);
}

// "PostScript file" out.ps and -f among the other options: the later -f wins, as in dvips, and
// the box says that the PostScript went to dvips's standard output.
TEST_F(RunCauses, DashFAfterAnOutputFileIsStandardOutput) {
  const std::string folder = scratchFolder("dash-f");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  Options record = defaultRecord();
  copyText(record.psFile, "out.ps");
  copyText(record.otherOptions, "-f");
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  const std::string text = boxAfter(record, folder + "paper.dvi", pdf);
  EXPECT_TRUE(contains(text, "dvips wrote the PostScript to its standard output (-f)")) << text;
  EXPECT_FALSE(fileExists(folder + "out.ps"));
}

// A document that sets a line in Times-Roman, one of PostScript's 14 standard fonts, through its
// own PostScript: for everyday use Ghostscript leaves that font out of the PDF, as its defaults
// do; for printing and journals every font is embedded.
TEST_F(RealPdf, PrintingAndJournalsEmbedsEveryFont) {
  const auto everyday = fontsOf(convertFor("standard-font", PDF_FOR_EVERYDAY_USE));
  const auto printing = fontsOf(convertFor("standard-font", PDF_FOR_PRINTING));
  const auto isTimes = [](const auto& font) {
    const std::string& name = font.first;
    return name.size() >= 11 && name.compare(name.size() - 11, 11, "Times-Roman") == 0;
  };
  const auto timesForEveryday = std::find_if(everyday.begin(), everyday.end(), isTimes);
  ASSERT_NE(timesForEveryday, everyday.end());
  EXPECT_FALSE(timesForEveryday->second) << "everyday use embeds Times-Roman";
  ASSERT_EQ(printing.size(), 2u);
  EXPECT_EQ(std::count_if(printing.begin(), printing.end(), isTimes), 1);
  for (const auto& [name, embedded] : printing) EXPECT_TRUE(embedded) << name;
}

// A page with a photograph of 300 dpi: for screen and mail the PDF is at most half the size of the
// everyday one.
TEST_F(RealPdf, SmallerFileIsAtMostHalfTheEverydaySize) {
  const std::string everyday = convertFor("photo", PDF_FOR_EVERYDAY_USE);
  const std::string smaller = convertFor("photo", PDF_FOR_SMALLER_FILE);
  ASSERT_FALSE(everyday.empty());
  ASSERT_FALSE(smaller.empty());
  const std::size_t everydaySize = readFile(everyday).size();
  const std::size_t smallerSize = readFile(smaller).size();
  std::printf("photo.pdf: %zu bytes for everyday use, %zu for screen and mail\n", everydaySize,
              smallerSize);
  EXPECT_GT(smallerSize, 0u);
  EXPECT_LE(2 * smallerSize, everydaySize);
}

// Transparency drawn by Ghostscript's own operator, as PSTricks draws it: without the box the
// conversion fails, and no PDF has the fill; with it, the PDF has the half-transparent fill.
TEST_F(RealPdf, TransparencyNeedsItsBox) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  ASSERT_NO_FATAL_FAILURE(startConversion("opaque", "transparency", defaultRecord(), pdf));
  HWND box = nullptr;
  ASSERT_TRUE(boxOrEnd(box, 120000));
  ASSERT_NE(box, nullptr) << "Corvane ended without saying that the conversion failed";
  closeBox(box);
  // Ghostscript stops at the operator and may leave what it wrote so far: a page without the fill.
  EXPECT_FALSE(contains(readFile(documentFolder + "transparency.pdf"), "/ca 0.5"))
      << "the fill was made without transparency allowed";

  pdf.allowTransparency = 1;
  ASSERT_NO_FATAL_FAILURE(startConversion("transparent", "transparency", defaultRecord(), pdf));
  ASSERT_EQ(waitForExit(corvane, 120000), 0u);
  const std::string made = readFile(documentFolder + "transparency.pdf");
  EXPECT_TRUE(contains(made, "/ca 0.5")) << "the PDF has no half-transparent fill";
}

// Corvane started in a folder named outside the code page, on a DVI file named relative to it,
// with "Use DVI directory" off: dvips writes the PostScript there, and Corvane finds it and makes
// the PDF beside it.
TEST_F(RealPdf, AStartFolderOutsideTheCodePageFindsThePostScript) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  const std::wstring folder = wideOf(scratchFolder("start-outside")) + nameOutsideTheCodePage();
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(
      CopyFileW(wideOf(inputs + "paper.dvi").c_str(), (folder + L"\\paper.dvi").c_str(), FALSE));
  Options record = defaultRecord();
  record.useDviDirectory = 0;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  storeRecord(record);
  storePdfRecord(pdf);
  corvane = startProgramWide(wideOf(corvanePath()), L"paper.dvi", folder);
  sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const std::wstring made = folder + L"\\paper.pdf";
  HWND box = nullptr;
  EXPECT_TRUE(boxOrEnd(box, 120000));
  EXPECT_EQ(box, nullptr) << messageBoxText(box);
  if (box != nullptr) closeBox(box);
  EXPECT_EQ(waitForExit(corvane, 120000), 0u);
  EXPECT_NE(GetFileAttributesW(made.c_str()), INVALID_FILE_ATTRIBUTES) << "no PDF was made";
}

// A folder in which nothing can be made, for as long as this lives: not writable, and immutable
// too where the tests run as root, who writes anywhere else.
struct UnwritableFolder {
  explicit UnwritableFolder(std::string folder) : path(std::move(folder)) {
    unixToolOutput("chmod", "a-w \"" + path + "\"");
    unixToolOutput("chattr", "+i \"" + path + "\"");
  }
  ~UnwritableFolder() {
    unixToolOutput("chattr", "-i \"" + path + "\"");
    unixToolOutput("chmod", "u+w \"" + path + "\"");
  }
  UnwritableFolder(const UnwritableFolder&) = delete;
  UnwritableFolder& operator=(const UnwritableFolder&) = delete;
  std::string path;
};

// The DVI file in a folder in which no file can be made, with "Use DVI directory": on OK the box
// names the folder, and leads back to the sheet, on the Files page, with nothing run.
TEST_F(RealPdf, AFolderThatCannotBeWrittenIsNamedBeforeTheRun) {
  const std::string folder = scratchFolder("read-only");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  const UnwritableFolder unwritable(folder.substr(0, folder.size() - 1));
  if (createFileWide(wideOf(folder + "probe"), ""))
    GTEST_SKIP() << "no folder that cannot be written can be made on this machine";
  const HWND box = boxBeforeTheRun(folder);
  ASSERT_NE(box, nullptr);
  const std::string text = messageBoxText(box);
  EXPECT_TRUE(contains(text, "No file can be made in the folder " + unwritable.path + ".")) << text;
  PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(waitUntil([&] { return GetDlgItem(currentPage(sheet), IDC_DVI_FILE) != nullptr; }));
  EXPECT_EQ(controlText(currentPage(sheet), IDC_DVI_FILE), folder + "paper.dvi");
  EXPECT_FALSE(hasExited(corvane));
  cancel();
  EXPECT_FALSE(fileExists(folder + "paper.ps")) << "dvips ran after Cancel";
}

// The PDF of the run held open by another program that shares reading and writing but not
// deleting, as a viewer may, which would keep the new PDF from its place: before dvips starts,
// the box names it with Retry and Cancel; Retry once it is closed makes the PDF.
TEST_F(RealPdf, APdfHeldOpenIsNamedBeforeTheRunWithRetry) {
  ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
  const std::string folder = scratchFolder("held-open");
  ASSERT_TRUE(CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE));
  ASSERT_TRUE(createFileWide(wideOf(folder + "paper.pdf"), "old"));
  HANDLE held = CreateFileA((folder + "paper.pdf").c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const HWND box = boxBeforeTheRun(folder);
  ASSERT_NE(box, nullptr);
  const std::string text = messageBoxText(box);
  EXPECT_TRUE(contains(text, folder + "paper.pdf is open in another program")) << text;
  CloseHandle(held);
  PostMessageA(box, WM_COMMAND, IDRETRY, 0);
  EXPECT_EQ(waitForExit(corvane, 120000), 0u);
  EXPECT_EQ(pageCount(folder + "paper.pdf"), 6);
}

// dvips ending with code 1 in the Normal mode, with the default settings and a PDF asked for: the
// box says so and gives the last lines that dvips wrote, and Ghostscript does not run.
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
  EXPECT_TRUE(contains(text, "The last lines that dvips wrote:\r\nfake dvips: line 1\r\n")) << text;
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
  chooseListEntry(pdfPage, IDC_PDF_PURPOSE, PDF_FOR_PRINTING);
  clickButton(pdfPage, IDC_ALLOW_TRANSPARENCY);
  setControlText(pdfPage, IDC_GHOSTSCRIPT_FILE, "C:\\gs\\gswin32c.exe");
  clickButton(page(DVIPS_PAGE), IDC_SAVE_OPTIONS);
  std::vector<std::uint8_t> saved;
  ASSERT_TRUE(waitUntil([&] { return !(saved = storedPdfBytes()).empty(); }));
  EXPECT_TRUE(sameBytes(record, storedBytes()));
  ASSERT_EQ(saved.size(), PDF_OPTIONS_SIZE);
  PdfOptions expected = defaultPdfRecord();
  expected.makePdf = expected.openResult = 1;
  expected.reportFailure = 0;
  expected.purpose = PDF_FOR_PRINTING;
  expected.allowTransparency = 1;
  copyText(expected.ghostscriptFile, "C:\\gs\\gswin32c.exe");
  EXPECT_EQ(std::memcmp(saved.data(), &expected, PDF_OPTIONS_SIZE), 0);
  cancel();

  ASSERT_NE(openAgain(), nullptr);
  pdfPage = page(PDF_PAGE);
  EXPECT_TRUE(isButtonChecked(pdfPage, IDC_MAKE_PDF));
  EXPECT_TRUE(isButtonChecked(pdfPage, IDC_OPEN_RESULT));
  EXPECT_FALSE(isButtonChecked(pdfPage, IDC_REPORT_FAILURE));
  EXPECT_EQ(chosenEntry(pdfPage, IDC_PDF_PURPOSE), PDF_FOR_PRINTING);
  EXPECT_TRUE(isButtonChecked(pdfPage, IDC_ALLOW_TRANSPARENCY));
  EXPECT_EQ(controlText(pdfPage, IDC_GHOSTSCRIPT_FILE), "C:\\gs\\gswin32c.exe");
  cancel();
}

// "PDF for" offers four purposes, everyday use first and chosen; the text at the bottom of the
// page begins with the switches that the purpose and "Allow transparency" add, as they change.
// No two controls of the page share a mnemonic.
TEST_F(PdfRun, PurposeAndTransparencyShowTheSwitchesTheyAdd) {
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND pdfPage = page(PDF_PAGE);
  const HWND list = GetDlgItem(pdfPage, IDC_PDF_PURPOSE);
  ASSERT_EQ(comboCount(list), 4);
  EXPECT_EQ(comboItem(list, 0), "Everyday use");
  EXPECT_EQ(comboItem(list, 1), "Printing and journals: every font embedded");
  EXPECT_EQ(comboItem(list, 2), "Smaller file for screen and mail");
  EXPECT_EQ(comboItem(list, 3), "Archiving (PDF/A-2b)");
  EXPECT_EQ(chosenEntry(pdfPage, IDC_PDF_PURPOSE), PDF_FOR_EVERYDAY_USE);
  EXPECT_FALSE(isButtonChecked(pdfPage, IDC_ALLOW_TRANSPARENCY));
  EXPECT_EQ(firstLine(pdfPage, IDC_PROGRAMS_THAT_RUN), "Switches for this PDF: none");
  chooseListEntry(pdfPage, IDC_PDF_PURPOSE, PDF_FOR_PRINTING);
  EXPECT_EQ(firstLine(pdfPage, IDC_PROGRAMS_THAT_RUN),
            "Switches for this PDF: -dPDFSETTINGS=/prepress -dEmbedAllFonts=true "
            "-dSubsetFonts=true -dMaxSubsetPct=100");
  chooseListEntry(pdfPage, IDC_PDF_PURPOSE, PDF_FOR_SMALLER_FILE);
  clickButton(pdfPage, IDC_ALLOW_TRANSPARENCY);
  EXPECT_EQ(firstLine(pdfPage, IDC_PROGRAMS_THAT_RUN),
            "Switches for this PDF: -dPDFSETTINGS=/ebook -dALLOWPSTRANSPARENCY");
  EXPECT_TRUE(contains(controlText(pdfPage, IDC_PROGRAMS_THAT_RUN), "\r\ndvips: ")) << "lines lost";

  std::string letters = mnemonicsOf(pdfPage);
  EXPECT_TRUE(contains(letters, "f") && contains(letters, "t")) << letters;
  std::sort(letters.begin(), letters.end());
  EXPECT_EQ(std::adjacent_find(letters.begin(), letters.end()), letters.end()) << letters;
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
  // The answer replaces "Looking..." when the lookup takes more than a moment.
  const HWND pdfPage = page(PDF_PAGE);
  std::string text;
  waitUntil([&] { return contains(text = controlText(pdfPage, IDC_PROGRAMS_THAT_RUN), "dvips:"); });
  EXPECT_TRUE(contains(text, "dvips: " + dvips + "\r\n")) << text;
  EXPECT_TRUE(contains(text, "Ghostscript: " + ghostscript)) << text;
  cancel();
}

}  // namespace
