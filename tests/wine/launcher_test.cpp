// Starting the converter after OK: window modes, the Capture console, the working directory,
// a program that cannot be started, and a real conversion by TeX Live's dvips.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "resources/resource.h"
#include "tests/wine/console_probe.h"
#include "tests/wine/driver.h"
#include "tests/wine/real_dvips.h"

namespace {

const char* const FAKE_HOLD = "CORVANE_FAKE_HOLD";
const char* const FAKE_EXIT = "CORVANE_FAKE_EXIT";

std::string withoutTrailingBackslash(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

class LaunchFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    clearStoredRecord();
    SetEnvironmentVariableA(FAKE_HOLD, nullptr);
    SetEnvironmentVariableA(FAKE_EXIT, nullptr);
    withoutConsole = leaveOwnConsole();
  }
  void TearDown() override {
    if (!hasExited(corvane)) waitForExit(corvane, 1);
    releaseConverter();
    SetEnvironmentVariableA(FAKE_HOLD, nullptr);
    SetEnvironmentVariableA(FAKE_EXIT, nullptr);
  }

  // The converters started from now on keep running until releaseConverter.
  void holdConverter(const std::string& name) {
    releasePath = scratchFolder(name) + "release";
    SetEnvironmentVariableA(FAKE_HOLD, releasePath.c_str());
  }
  void releaseConverter() {
    if (!releasePath.empty()) createEmptyFile(releasePath);
  }

  // The record for the fake converter in the given window mode.
  static Options fakeRecord(int windowMode) {
    Options record = fakeConverterRecord();
    record.windowMode = static_cast<std::int8_t>(windowMode);
    return record;
  }

  // Stores the record, starts corvane.exe with the argument (in the directory, when one is
  // given; with a command line in wide characters when the argument is wide) and presses OK on
  // its sheet.
  template <typename Text>
  void runWithOk(const Options& record, const Text& argument, const std::string& directory = "") {
    storeRecord(record);
    if constexpr (std::is_same_v<Text, std::wstring>)
      corvane = startCorvaneWide(argument);
    else
      corvane = directory.empty() ? startCorvane(argument)
                                  : startProgramIn(corvanePath(), argument, directory);
    ASSERT_NE(corvane.hProcess, nullptr);
    const HWND sheet = waitForSheet(corvane);
    ASSERT_NE(sheet, nullptr);
    pressSheetButton(sheet, PSBTN_OK);
  }

  // A fresh record file for the fake converter; a file of that name left by an earlier run in
  // the same prefix is removed.
  static std::string newLog(const std::string& name) {
    const std::string log = newConverterLog(name);
    DeleteFileA(log.c_str());
    return log;
  }

  PROCESS_INFORMATION corvane = {};
  bool withoutConsole = false;
  std::string releasePath;
};

// ---------------------------------------------------------------------------------------------
// Window modes

class LaunchWindow : public LaunchFixture {
 protected:
  // A mode that does not wait, with the three boxes of the PDF page cleared: corvane ends while
  // the child is still held. The converter always has a console; only Hidden gives it one without
  // a window.
  void expectReturnsAtOnce(int windowMode, int showCommand) {
    PdfOptions off = defaultPdfRecord();
    off.reportFailure = 0;
    storePdfRecord(off);
    holdConverter("hold-mode");
    const std::string log = newLog("mode" + std::to_string(windowMode));
    runWithOk(fakeRecord(windowMode), "paper.dvi");
    EXPECT_EQ(waitForExit(corvane), 0u);
    releaseConverter();
    const ConverterRecord received = waitForConverterRecord(log);
    ASSERT_TRUE(received.found);
    EXPECT_EQ(received.show, showCommand);
    EXPECT_NE(received.flags & STARTF_USESHOWWINDOW, 0);
    EXPECT_NE(received.command.find(" \"paper.dvi\""), std::string::npos) << received.command;
    EXPECT_EQ(received.console, 1);
    EXPECT_EQ(received.window, windowMode == WINDOW_HIDDEN ? 0 : 1);
  }
};

TEST_F(LaunchWindow, NormalShowsNormallyAndDoesNotWait) {
  expectReturnsAtOnce(WINDOW_NORMAL, SW_SHOWNORMAL);
}

TEST_F(LaunchWindow, MinimizedShowsMinimizedAndDoesNotWait) {
  expectReturnsAtOnce(WINDOW_MINIMIZED, SW_MINIMIZE);
}

TEST_F(LaunchWindow, HiddenHidesAndDoesNotWait) { expectReturnsAtOnce(WINDOW_HIDDEN, SW_HIDE); }

// A stored mode outside the four buttons is no Capture and shows the child normally.
TEST_F(LaunchWindow, UnknownModeShowsNormallyAndDoesNotWait) {
  expectReturnsAtOnce(9, SW_SHOWNORMAL);
}

// A command shows no window: while its converter runs, corvane.exe has loaded no window library.
TEST_F(LaunchWindow, ACommandLoadsNoWindowLibraryWhileItsConverterRuns) {
  storeRecord(fakeRecord(WINDOW_HIDDEN));
  holdConverter("hold-command");
  const std::string dvi = scratchFolder("command-document") + "paper.dvi";
  createEmptyFile(dvi);
  corvane = startCorvane("/convert \"" + dvi + "\" /nopdf");
  const auto converterRuns = [&] {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found;
         more = Process32Next(snapshot, &entry))
      found = entry.th32ParentProcessID == corvane.dwProcessId;
    CloseHandle(snapshot);
    return found;
  };
  ASSERT_TRUE(waitUntil(converterRuns));
  HMODULE modules[256];
  DWORD bytes = 0;
  ASSERT_TRUE(EnumProcessModules(corvane.hProcess, modules, sizeof modules, &bytes));
  std::string loaded;
  for (DWORD index = 0; index < bytes / sizeof modules[0]; ++index) {
    char name[MAX_PATH] = "";
    GetModuleBaseNameA(corvane.hProcess, modules[index], name, sizeof name);
    loaded += lowerCase(name) + " ";
  }
  EXPECT_NE(loaded.find("kernel32.dll"), std::string::npos) << loaded;
  EXPECT_EQ(loaded.find("user32.dll"), std::string::npos) << loaded;
  EXPECT_EQ(loaded.find("comctl32.dll"), std::string::npos) << loaded;
}

// A run that Corvane waits for ends with it, however Corvane ends (Windows ends it a few seconds
// after its console's window is closed): the converter goes too.
TEST_F(LaunchWindow, TheConverterThatCorvaneWaitsForEndsWithIt) {
  holdConverter("hold-job");
  newLog("job");
  runWithOk(fakeRecord(WINDOW_HIDDEN), "paper.dvi");
  ASSERT_TRUE(waitUntil([&] { return processIdOf("fake_dvips.exe", corvane.dwProcessId) != 0; }));
  TerminateProcess(corvane.hProcess, 1);
  EXPECT_TRUE(waitUntil([&] { return processIdOf("fake_dvips.exe", corvane.dwProcessId) == 0; }));
}

// ---------------------------------------------------------------------------------------------
// The Capture console, seen from outside by attaching to it

INPUT_RECORD mouseEvent() {
  INPUT_RECORD record = {};
  record.EventType = MOUSE_EVENT;
  record.Event.MouseEvent.dwMousePosition = COORD{5, 2};
  record.Event.MouseEvent.dwEventFlags = MOUSE_MOVED;
  return record;
}

INPUT_RECORD focusEvent(bool gained) {
  INPUT_RECORD record = {};
  record.EventType = FOCUS_EVENT;
  record.Event.FocusEvent.bSetFocus = gained ? TRUE : FALSE;
  return record;
}

INPUT_RECORD menuEvent() {
  INPUT_RECORD record = {};
  record.EventType = MENU_EVENT;
  record.Event.MenuEvent.dwCommandId = 1;
  return record;
}

INPUT_RECORD bufferSizeEvent() {
  INPUT_RECORD record = {};
  record.EventType = WINDOW_BUFFER_SIZE_EVENT;
  record.Event.WindowBufferSizeEvent.dwSize = COORD{80, 25};
  return record;
}

constexpr const char* RUNNING_TITLE = "Corvane";
constexpr const char* DONE_TITLE = "Corvane: Press any key to close this window";
constexpr WORD CAPTURE_COLOUR = 0x1F;

class LaunchCapture : public LaunchFixture {
 protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    if (!withoutConsole) GTEST_SKIP() << "standard output is a console: send it to a pipe or file";
    holdConverter("hold-capture");
  }
  void TearDown() override {
    console.detach();
    LaunchFixture::TearDown();
  }

  // Starts the capture run and joins its console while the converter is held.
  void startAndAttach(const std::string& logName) {
    log = newLog(logName);
    runWithOk(fakeRecord(WINDOW_CAPTURE), "paper.dvi");
    ASSERT_TRUE(console.attach(corvane.dwProcessId));
  }

  bool converterEnded() {
    releaseConverter();
    return waitForConverterRecord(log).found;
  }

  // Corvane waits for a key: it reads each record written to its console and lives on to read the
  // next, and last a key release, on which nothing ends.
  bool readsEachAndWaitsOn(std::vector<INPUT_RECORD> records) {
    records.push_back(keyEvent(false));
    for (const INPUT_RECORD& record : records) {
      if (!console.write(record)) return false;
      waitUntil([&] { return console.unreadInput() == 0 || hasExited(corvane); });
      if (console.unreadInput() != 0 || hasExited(corvane)) return false;
    }
    return true;
  }

  std::string log;
  AttachedConsole console;
};

TEST_F(LaunchCapture, ConverterStartsShownNormallyInTheConsole) {
  startAndAttach("capture-show");
  ASSERT_TRUE(converterEnded());
  const ConverterRecord received = waitForConverterRecord(log);
  ASSERT_TRUE(received.found);
  EXPECT_EQ(received.show, SW_SHOWNORMAL);
  EXPECT_NE(received.flags & STARTF_USESHOWWINDOW, 0);
  EXPECT_EQ(received.console, 1);
  EXPECT_TRUE(readsEachAndWaitsOn({})) << "corvane did not wait for a key";
  ASSERT_TRUE(console.write(keyEvent(true)));
  EXPECT_EQ(waitForExit(corvane), 0u);
}

TEST_F(LaunchCapture, TitledCorvaneWhileTheConverterRuns) {
  startAndAttach("capture-title");
  EXPECT_TRUE(waitUntil([&] { return console.title() == RUNNING_TITLE; })) << console.title();
  ASSERT_TRUE(converterEnded());
  EXPECT_TRUE(waitUntil([&] { return console.title() == DONE_TITLE; })) << console.title();
  ASSERT_TRUE(console.write(keyEvent(true)));
  EXPECT_EQ(waitForExit(corvane), 0u);
}

TEST_F(LaunchCapture, AfterTheConverterTheWholeBufferIsWhiteOnBlueWithItsOutput) {
  startAndAttach("capture-colour");
  ASSERT_TRUE(converterEnded());
  ASSERT_TRUE(waitUntil([&] { return console.title() == DONE_TITLE; })) << console.title();
  const COORD size = console.size();
  const std::vector<WORD> attributes = console.attributes();
  ASSERT_EQ(attributes.size(), static_cast<std::size_t>(size.X) * size.Y);
  ASSERT_FALSE(attributes.empty());
  const auto other = std::find_if(attributes.begin(), attributes.end(),
                                  [](WORD attribute) { return attribute != CAPTURE_COLOUR; });
  EXPECT_EQ(other, attributes.end())
      << "cell " << (other - attributes.begin()) << " has attribute " << *other;
  const std::string text = console.characters();
  for (const char* line : {"fake dvips: line 1", "fake dvips: line 2", "fake dvips: line 3"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " missing from\n" << text;
  const ConverterRecord received = waitForConverterRecord(log);
  EXPECT_EQ(received.console, 1);
  ASSERT_TRUE(console.write(keyEvent(true)));
  EXPECT_EQ(waitForExit(corvane), 0u);
}

TEST_F(LaunchCapture, ReleasesMouseAndFocusDoNotEndTheWaitAKeyPressDoes) {
  startAndAttach("capture-keys");
  ASSERT_TRUE(converterEnded());
  ASSERT_TRUE(waitUntil([&] { return console.title() == DONE_TITLE; })) << console.title();
  EXPECT_TRUE(readsEachAndWaitsOn({keyEvent(false), mouseEvent(), focusEvent(true),
                                   focusEvent(false), menuEvent(), bufferSizeEvent()}));
  ASSERT_TRUE(console.write(keyEvent(true)));
  EXPECT_EQ(waitForExit(corvane), 0u);
}

// The converter fails, so that Corvane reports its exit code: a sign that Corvane, though a key
// was pressed before, still waited when the converter ended; the key then ends the wait.
TEST_F(LaunchCapture, AKeyPressedWhileTheConverterRunsEndsTheWaitWhenItEnds) {
  SetEnvironmentVariableA(FAKE_EXIT, "3");
  startAndAttach("capture-early-key");
  ASSERT_TRUE(console.write(keyEvent(true)));
  ASSERT_TRUE(console.write(keyEvent(false)));
  ASSERT_TRUE(converterEnded());
  console.detach();
  const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error");
  ASSERT_NE(box, nullptr);
  const std::string text = messageBoxText(box);
  EXPECT_NE(text.find("dvips ended with exit code 3."), std::string::npos) << text;
  postCommand(box, IDOK);
  EXPECT_EQ(waitForExit(corvane), 0u);
}

// ---------------------------------------------------------------------------------------------
// Working directory

class LaunchDirectory : public LaunchFixture {
 protected:
  // Runs the fake converter in Normal mode and returns the directory it started in.
  template <typename Text>
  std::string childDirectory(const Text& dviFile, bool useDviDirectory,
                             const std::string& corvaneDirectory = "") {
    Options record = fakeRecord(WINDOW_NORMAL);
    record.useDviDirectory = useDviDirectory ? 1 : 0;
    const std::string log = newLog("directory");
    runWithOk(record, dviFile, corvaneDirectory);
    EXPECT_EQ(waitForExit(corvane), 0u);
    const ConverterRecord received = waitForConverterRecord(log);
    EXPECT_TRUE(received.found);
    return received.directory;
  }
};

TEST_F(LaunchDirectory, DviFolderInShortForm) {
  const std::string folder = scratchFolder("Papers With Long Names");
  createEmptyFile(folder + "paper.dvi");
  const std::string expected = withoutTrailingBackslash(shortPathOf(folder));
  ASSERT_FALSE(expected.empty());
  ASSERT_NE(lowerCase(expected), lowerCase(withoutTrailingBackslash(folder)))
      << "the folder has no shorter name";
  const std::string start = scratchFolder("start");
  EXPECT_EQ(lowerCase(childDirectory(folder + "paper.dvi", true, start)), lowerCase(expected));
}

TEST_F(LaunchDirectory, DviFileInADriveRootKeepsTheBackslash) {
  const std::string dvi =
      "C:\\corvane-launcher-root-" + std::to_string(GetCurrentProcessId()) + ".dvi";
  createEmptyFile(dvi);
  const std::string start = scratchFolder("start-root");
  EXPECT_EQ(childDirectory(dvi, true, start), "C:\\");
  DeleteFileA(dvi.c_str());
}

TEST_F(LaunchDirectory, MissingDviFileStartsInCorvanesDirectory) {
  const std::string folder = scratchFolder("missing");
  const std::string start = scratchFolder("start-missing");
  EXPECT_EQ(lowerCase(childDirectory(folder + "no-such-paper.dvi", true, start)),
            lowerCase(withoutTrailingBackslash(start)));
}

// A relative name is found from the folder Corvane started in; the converter then starts in the
// file's folder, given in short form like any other.
TEST_F(LaunchDirectory, NameWithoutBackslashIsFoundFromCorvanesDirectory) {
  const std::string start = scratchFolder("Start Folder With Long Name");
  createEmptyFile(start + "paper.dvi");
  EXPECT_EQ(lowerCase(childDirectory("paper.dvi", true, start)),
            lowerCase(withoutTrailingBackslash(shortPathOf(start))));
}

TEST_F(LaunchDirectory, FlagOffStartsInCorvanesDirectory) {
  const std::string folder = scratchFolder("Papers Not Used");
  createEmptyFile(folder + "paper.dvi");
  const std::string start = scratchFolder("start-flag-off");
  EXPECT_EQ(lowerCase(childDirectory(folder + "paper.dvi", false, start)),
            lowerCase(withoutTrailingBackslash(start)));
}

// 表ソ能\表.dvi: its short form in the field with a Western code page; as it stands with the
// Japanese one, where 表, ソ and 能 each end in the byte of a backslash. Either way the converter
// starts in the file's own folder.
TEST_F(LaunchDirectory, DviFolderNamedInJapaneseInShortForm) {
  const std::wstring folder = wideOf(scratchFolder("japanese")) + L"\u8868\u30bd\u80fd";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(createFileWide(folder + L"\\\u8868.dvi", ""));
  wchar_t shortFolder[MAX_PATH];
  ASSERT_NE(GetShortPathNameW(folder.c_str(), shortFolder, MAX_PATH), 0u);
  EXPECT_EQ(lowerCase(childDirectory(L"\"" + folder + L"\\\u8868.dvi\"", true)),
            lowerCase(narrowOf(shortFolder)));
}

// ---------------------------------------------------------------------------------------------
// A program that cannot be started

class LaunchFailure : public LaunchFixture {
 protected:
  // Runs with a program that does not exist and returns the error box, left open.
  HWND runMissingProgram(int windowMode) {
    Options record = fakeRecord(windowMode);
    copyText(record.programFile, (buildFolder() + "no-such-converter.exe").c_str());
    runWithOk(record, "paper.dvi");
    return waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error");
  }

  // The system's text, an empty line, and the program that could not be started.
  static std::string boxText() {
    return systemMessage(ERROR_FILE_NOT_FOUND) + "\r\n" + buildFolder() + "no-such-converter.exe";
  }

  // The box leads back to the sheet, on the DVIPS Options page, which is then closed.
  void closeBox(HWND box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const HWND sheet = waitForSheet(corvane);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(
        waitUntil([&] { return GetDlgItem(currentPage(sheet), IDC_PROGRAM_FILE) != nullptr; }));
    pressSheetButton(sheet, PSBTN_CANCEL);
    EXPECT_EQ(waitForExit(corvane), 0u);
  }
};

TEST_F(LaunchFailure, NormalModeShowsTheSystemsTextAndTheProgram) {
  const HWND box = runMissingProgram(WINDOW_NORMAL);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(messageBoxText(box), boxText());
  closeBox(box);
}

TEST_F(LaunchFailure, CaptureModeReleasesTheConsoleBeforeTheBox) {
  if (!withoutConsole) GTEST_SKIP() << "standard output is a console: send it to a pipe or file";
  const HWND box = runMissingProgram(WINDOW_CAPTURE);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(messageBoxText(box), boxText());
  const BOOL attached = AttachConsole(corvane.dwProcessId);
  const DWORD error = GetLastError();
  if (attached) FreeConsole();
  EXPECT_FALSE(attached) << "corvane still has a console while its error box shows";
  EXPECT_NE(error, static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "this process had a console";
  closeBox(box);
}

// ---------------------------------------------------------------------------------------------
// TeX Live's dvips, reached through a forwarder installed as dvips.exe

class LaunchDvips : public LaunchFixture {
 protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    inputs = texInputsFolder();
    if (inputs.empty()) GTEST_SKIP() << "CORVANE_TEX_INPUTS names no folder with paper.dvi";
    onPath = std::make_unique<ConverterOnPath>(inputs);
  }
  void TearDown() override {
    onPath.reset();
    LaunchFixture::TearDown();
  }

  // Converts paper.dvi with the record's page selection and returns the PostScript made.
  std::string convert(Options record, const std::string& name) {
    const std::string output = scratchFolder("dvips-" + name) + name + ".ps";
    record.windowMode = WINDOW_NORMAL;
    copyText(record.programFile, "dvips.exe");
    record.quiet = 1;
    copyText(record.psFile, output.c_str());
    runWithOk(record, "\"" + inputs + "paper.dvi\"");
    EXPECT_EQ(waitForExit(corvane), 0u);
    return waitForPostScript(output);
  }

  std::string inputs;
  std::unique_ptr<ConverterOnPath> onPath;
};

// paper.dvi has six pages counted 11 to 16.
TEST_F(LaunchDvips, PageRangeByTexNumbers) {
  Options record = defaultRecord();
  copyText(record.pageRanges, "12-14");
  const std::string postScript = convert(record, "range");
  ASSERT_FALSE(postScript.empty()) << "no PostScript was written";
  EXPECT_EQ(pageLines(postScript),
            (std::vector<std::string>{"%%Page: 12 1", "%%Page: 13 2", "%%Page: 14 3"}));
}

TEST_F(LaunchDvips, FirstAndLastPageByTexNumbers) {
  Options record = defaultRecord();
  record.firstPage = 13;
  record.lastPage = 15;
  const std::string postScript = convert(record, "numbers");
  ASSERT_FALSE(postScript.empty()) << "no PostScript was written";
  EXPECT_EQ(pageLines(postScript),
            (std::vector<std::string>{"%%Page: 13 1", "%%Page: 14 2", "%%Page: 15 3"}));
}

TEST_F(LaunchDvips, FirstAndLastPageByPosition) {
  Options record = defaultRecord();
  record.useTexNumbers = 0;
  record.firstPage = 2;
  record.lastPage = 3;
  const std::string postScript = convert(record, "position");
  ASSERT_FALSE(postScript.empty()) << "no PostScript was written";
  EXPECT_EQ(pageLines(postScript), (std::vector<std::string>{"%%Page: 12 1", "%%Page: 13 2"}));
}

// On 64-bit Windows the converter is often a 64-bit program (TeX Live since 2023, MiKTeX's x64
// folder). Wine's own 64-bit hostname.exe stands in for one, reached as a 32-bit program reaches
// it: Capture runs it in its console, waits for it, keeps what it printed and waits for a key.
class Win64Launch : public LaunchFixture {
 protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    if (!onWindows64()) GTEST_SKIP() << "needs a 64-bit prefix (WINEARCH=win64)";
    if (!withoutConsole) GTEST_SKIP() << "standard output is a console: send it to a pipe or file";
  }
};

TEST_F(Win64Launch, A64BitConverterRunsInTheCaptureConsoleAndIsWaitedFor) {
  const std::string program = nativeSystemFolder() + "hostname.exe";
  ASSERT_EQ(machineOf(program), IMAGE_FILE_MACHINE_AMD64) << program;
  Options record = defaultRecord();
  copyText(record.programFile, program.c_str());
  record.windowMode = WINDOW_CAPTURE;
  // hostname.exe refuses the DVI file as an argument; the PDF page's three boxes cleared, its exit
  // code is not told.
  PdfOptions off = defaultPdfRecord();
  off.reportFailure = 0;
  storePdfRecord(off);
  runWithOk(record, "paper.dvi");
  AttachedConsole console;
  ASSERT_TRUE(console.attach(corvane.dwProcessId));
  ASSERT_TRUE(waitUntil([&] { return console.title() == DONE_TITLE; })) << console.title();
  const std::string text = console.characters();
  EXPECT_NE(text.find("hostname"), std::string::npos) << text;
  ASSERT_TRUE(console.write(keyEvent(true)));
  EXPECT_EQ(waitForExit(corvane), 0u);
}

}  // namespace
