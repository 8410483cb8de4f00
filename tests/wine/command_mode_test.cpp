// corvane /convert typed in cmd, through corvane.com and corvane.exe, with TeX Live's dvips and
// Ghostscript: the exit code, and what it prints.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/wine/console_probe.h"
#include "tests/wine/driver.h"
#include "tests/wine/real_dvips.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class CommandMode : public ::testing::Test {
 protected:
  void SetUp() override {
    clearStoredRecord();
    storePdfRecord(defaultPdfRecord());
    inputs = texInputsFolder();
    if (inputs.empty()) GTEST_SKIP() << "CORVANE_TEX_INPUTS names no folder with paper.dvi";
    // dvips on PATH, and TeX Live's Ghostscript beside it, as the sheet's runs find them.
    tools = scratchFolder("command-tools");
    ASSERT_TRUE(installed.install(tools + "bin\\dvips.exe"));
    ASSERT_TRUE(installed.install(tools + "bin\\rungs.exe"));
    folder = scratchFolder("command");
  }

  void copyInput(const std::string& name) {
    ASSERT_TRUE(CopyFileA((inputs + name).c_str(), (folder + name).c_str(), FALSE)) << name;
  }

  // "cmd /c corvane ARGUMENTS" in the document's folder (or in), with the build folder and the
  // tools on PATH, its output and errors into a file: cmd's exit code (STILL_ACTIVE when it did
  // not end, as a box on screen would keep it), and printed holds what it wrote.
  DWORD typed(const std::string& arguments, const std::wstring& in = L"") {
    const ConverterOnPath onPath(tools);
    const std::string build = buildFolder();
    const std::string path = environmentPath();
    SetEnvironmentVariableA("PATH", (build.substr(0, build.size() - 1) + ";" + path).c_str());
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    const std::string log = folder + "printed.txt";
    const HANDLE file = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inherited, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = startup.hStdError = file;
    PROCESS_INFORMATION process = {};
    std::string command = "cmd.exe /c corvane " + arguments;
    std::wstring wide = wideOf(command);
    const BOOL started =
        CreateProcessW(nullptr, wide.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       in.empty() ? wideOf(folder).c_str() : in.c_str(), &startup, &process);
    CloseHandle(file);
    SetEnvironmentVariableA("PATH", path.c_str());
    EXPECT_TRUE(started) << command;
    const DWORD code = started ? waitForExit(process, 120000) : STILL_ACTIVE;
    printed = readFile(log);
    std::printf("%s: exit code %lu\n%s", command.c_str(), code, printed.c_str());
    return code;
  }

  // The same in a console of its own, which holds the lines until a key: what it shows.
  std::wstring shownInConsole(const std::string& arguments, const std::wstring& in) {
    const ConverterOnPath onPath(tools);
    const std::string build = buildFolder();
    const std::string path = environmentPath();
    SetEnvironmentVariableA("PATH", (build.substr(0, build.size() - 1) + ";" + path).c_str());
    PROCESS_INFORMATION cmd =
        startProgramWide(L"cmd.exe", L"/c corvane " + wideOf(arguments) + L" & pause", in);
    SetEnvironmentVariableA("PATH", path.c_str());
    AttachedConsole console;
    EXPECT_TRUE(console.attach(cmd.dwProcessId));
    std::wstring shown;
    waitUntil([&] { return (shown = console.wideCharacters()).find(L"made ") != shown.npos; });
    console.write(keyEvent(true));
    console.detach();
    waitForExit(cmd);
    return shown;
  }

  static std::string environmentPath() {
    static char path[32767];
    const DWORD length = GetEnvironmentVariableA("PATH", path, sizeof path);
    return std::string(path, length < sizeof path ? length : 0);
  }

  std::string inputs, tools, folder, printed;
  InstalledForwarders installed;
};

TEST_F(CommandMode, ACleanRunPrintsWhatDvipsSaysAndMakesThePdf) {
  copyInput("paper.dvi");
  EXPECT_EQ(typed("/convert paper.dvi /pdf"), 0u);
  EXPECT_TRUE(contains(printed, "This is dvips")) << printed;
  EXPECT_TRUE(contains(printed, "made " + folder + "paper.pdf")) << printed;
  EXPECT_FALSE(contains(printed, "paper.dvi: ")) << printed;
  EXPECT_TRUE(fileExists(folder + "paper.pdf"));
}

TEST_F(CommandMode, AMissingFigureIsAWarningThatFailsOnlyUnderStrict) {
  copyInput("figure.dvi");
  EXPECT_EQ(typed("/convert figure.dvi /nopdf"), 0u);
  EXPECT_TRUE(contains(printed, "figure.dvi: warning: The figure missing.eps is missing"))
      << printed;
  EXPECT_TRUE(contains(printed, "made " + folder + "figure.ps")) << printed;
  EXPECT_EQ(typed("/convert figure.dvi /nopdf /strict"), 1u);
}

// Another document's output file and page range, saved on the sheet, are not this one's.
TEST_F(CommandMode, TheWholeDocumentGoesBesideItsDviFile) {
  copyInput("paper.dvi");
  const std::string other = scratchFolder("command-other");
  ASSERT_TRUE(createFileWide(wideOf(other + "other.pdf"), "%PDF-1.4 earlier"));
  Options record = defaultRecord();
  std::snprintf(record.psFile, sizeof record.psFile, "%sother.ps", other.c_str());
  std::snprintf(record.pageRanges, sizeof record.pageRanges, "12");
  storeRecord(record);
  EXPECT_EQ(typed("/convert paper.dvi /pdf"), 0u);
  EXPECT_EQ(readFile(other + "other.pdf"), "%PDF-1.4 earlier");
  EXPECT_EQ(pageLines(readFile(folder + "paper.ps")).size(), 6u);
  EXPECT_TRUE(fileExists(folder + "paper.pdf"));
}

// latexmk -outdir=out: the DVI file in out\, its figure named from the document's folder.
TEST_F(CommandMode, ABuildFolderGetsThePdfWithItsFigure) {
  copyInput("photo.eps");
  ASSERT_TRUE(CreateDirectoryA((folder + "out").c_str(), nullptr));
  copyInput("photo.dvi");
  ASSERT_TRUE(MoveFileA((folder + "photo.dvi").c_str(), (folder + "out\\photo.dvi").c_str()));
  EXPECT_EQ(typed("/convert out\\photo.dvi /pdf"), 0u);
  EXPECT_TRUE(contains(readFile(folder + "out\\photo.ps"), "%%BeginDocument: photo.eps"));
  EXPECT_TRUE(contains(printed, "made " + folder + "out\\photo.pdf")) << printed;
}

// Lines reach a file in UTF-8 and a console in its wide characters, by the long name.
TEST_F(CommandMode, ANameOutsideTheCodePageReadsAsItIs) {
  copyInput("paper.dvi");
  const std::wstring greek = wideOf(folder) + L"\x03A9mega";
  ASSERT_TRUE(CreateDirectoryW(greek.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(wideOf(folder + "paper.dvi").c_str(), (greek + L"\\paper.dvi").c_str(), 0));
  EXPECT_EQ(typed("/convert paper.dvi /nopdf", greek), 0u);
  EXPECT_TRUE(contains(printed, "made " + folder + "\xCE\xA9mega\\paper.ps")) << printed;
  if (!leaveOwnConsole()) GTEST_SKIP() << "standard output is this process's console";
  const std::wstring shown = shownInConsole("/convert paper.dvi /nopdf", greek);
  EXPECT_NE(shown.find(L"made " + greek + L"\\paper.ps"), std::wstring::npos);
}

// A forgotten /convert under a build: the usage, and no sheet that waits for a person.
TEST_F(CommandMode, ASlipEndsWithFourAndOpensNoWindow) {
  copyInput("paper.dvi");
  EXPECT_EQ(typed("-convert paper.dvi"), 4u);
  EXPECT_TRUE(contains(printed, "corvane: error: -convert is no command")) << printed;
}

// The sheet, typed at the prompt, is a program with windows: cmd goes on at once.
TEST_F(CommandMode, TheSheetGivesThePromptBackAtOnce) {
  copyInput("paper.dvi");
  EXPECT_EQ(typed("paper.dvi"), 0u);
  DWORD sheet = 0;
  ASSERT_TRUE(waitUntil([&] { return (sheet = processIdOf("corvane.exe")) != 0; }));
  const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, sheet);
  TerminateProcess(process, 0);
  CloseHandle(process);
}

TEST_F(CommandMode, ATruncatedDviFileIsAnErrorWithNoBox) {
  ASSERT_TRUE(
      createFileWide(wideOf(folder + "paper.dvi"), readFile(inputs + "paper.dvi").substr(0, 100)));
  EXPECT_EQ(typed("/convert paper.dvi"), 2u);
  EXPECT_TRUE(contains(printed, "paper.dvi: error: The file is not a DVI file")) << printed;
}

TEST_F(CommandMode, TransparencyThatGhostscriptBlocksEndsWithThree) {
  copyInput("transparency.dvi");
  EXPECT_EQ(typed("/convert transparency.dvi /pdf /for journal"), 3u);
  EXPECT_TRUE(contains(printed, "transparency.dvi: error: The PostScript uses transparency"))
      << printed;
}

TEST_F(CommandMode, APdfHeldOpenRunsNothing) {
  copyInput("paper.dvi");
  ASSERT_TRUE(createFileWide(wideOf(folder + "paper.pdf"), "old"));
  const HANDLE held = CreateFileA((folder + "paper.pdf").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(typed("/convert \"" + folder + "paper.dvi\" /pdf"), 4u);
  CloseHandle(held);
  EXPECT_TRUE(contains(printed, "paper.dvi: error: " + folder + "paper.pdf is open in another"))
      << printed;
  EXPECT_FALSE(fileExists(folder + "paper.ps")) << "dvips ran";
}

TEST_F(CommandMode, UsageGivesTheExitCodes) {
  EXPECT_EQ(typed("/?"), 0u);
  EXPECT_TRUE(contains(printed, "Usage: corvane /convert FILE.dvi")) << printed;
  EXPECT_TRUE(contains(printed, "4 nothing was run")) << printed;
}

}  // namespace
