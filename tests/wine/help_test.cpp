// Help requests as the help library receives them: a copy of corvane.exe runs with a recording
// stand-in for hhctrl.ocx in the system's place, or with a library of that name that lacks
// HtmlHelpA; and a hhctrl.ocx left beside the program is never loaded.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "resources/resource.h"
#include "tests/wine/confirm_help_driver.h"
#include "tests/wine/driver.h"

namespace {

constexpr unsigned HH_HELP_CONTEXT = 0x0F;
constexpr unsigned HH_TP_HELP_CONTEXTMENU = 0x10;
constexpr unsigned HH_TP_HELP_WM_HELP = 0x11;

UINT_PTR handleOf(HWND window) { return reinterpret_cast<UINT_PTR>(window); }

class Help : public ::testing::Test {
 protected:
  void SetUp() override { clearStoredRecord(); }
  void TearDown() override {
    if (!hasExited(corvane)) waitForExit(corvane, 1);
    EXPECT_TRUE(restoreSystemHelp());
  }

  // The confirmation dialog of a run with the recording stand-in, after OK on the sheet.
  HWND openConfirmDialog(const std::string& name) {
    const HWND sheet = start(recordingHelpPath(), name, true);
    if (sheet == nullptr) return nullptr;
    pressSheetButton(sheet, PSBTN_OK);
    return waitForConfirmDialog(corvane.dwProcessId);
  }

  // Starts a copy of corvane.exe with the given hhctrl.ocx in the system's place (and, when
  // planted is not empty, that file beside the copy), on paper.dvi and a record that runs the
  // fake converter; returns its sheet.
  HWND start(const std::string& library, const std::string& name, bool showCommandLine = false,
             const std::string& planted = "") {
    if (!installSystemHelp(library)) {
      ADD_FAILURE() << "could not put " << library << " in the system's place";
      return nullptr;
    }
    Options record = defaultRecord();
    copyText(record.programFile, fakeConverterPath().c_str());
    record.showCommandLine = showCommandLine ? 1 : 0;
    storeRecord(record);
    helpLog = newHelpLog(name);
    converterLog = freshConverterLog(name);
    exe = corvaneCopyWith(planted, name);
    corvane = startProgram(exe, "paper.dvi");
    return waitForSheet(corvane);
  }

  // The next call after the ones seen so far. Once one has not come, later ones are not awaited.
  HelpRecordLine nextCall() {
    if (callMissing) return {};
    const auto calls = waitForHelpCalls(helpLog, ++callsSeen);
    if (calls.size() < callsSeen) {
      ADD_FAILURE() << "no help call number " << callsSeen;
      callMissing = true;
      return {};
    }
    return calls[callsSeen - 1];
  }

  void expectTopic(const HelpRecordLine& call, unsigned long topic) {
    EXPECT_EQ(call.module, systemLibrary);
    EXPECT_EQ(call.window, 0u);
    EXPECT_EQ(call.path, helpFileOf(exe));
    EXPECT_EQ(call.command, HH_HELP_CONTEXT);
    EXPECT_TRUE(call.hasTopic);
    EXPECT_EQ(call.topic, topic);
  }

  // A context-help request names the control and carries its id twice, then the two zeros.
  void expectControlHelp(const HelpRecordLine& call, HWND control, unsigned command, int id) {
    EXPECT_EQ(call.module, systemLibrary);
    EXPECT_EQ(call.window, handleOf(control));
    EXPECT_EQ(call.id, id);
    EXPECT_EQ(call.path, helpFileOf(exe));
    EXPECT_EQ(call.command, command);
    ASSERT_TRUE(call.hasData);
    EXPECT_EQ(call.data[0], static_cast<unsigned long>(id));
    EXPECT_EQ(call.data[1], static_cast<unsigned long>(id));
    EXPECT_EQ(call.data[2], 0u);
    EXPECT_EQ(call.data[3], 0u);
  }

  void expectConverterRunsAfterOk(HWND sheet) {
    pressSheetButton(sheet, PSBTN_OK);
    EXPECT_EQ(waitForExit(corvane), 0u);
    const ConverterRecord received = waitForConverterRecord(converterLog);
    ASSERT_TRUE(received.found);
    EXPECT_NE(received.command.find("\"paper.dvi\""), std::string::npos) << received.command;
  }

  std::size_t loads() {
    std::size_t count = 0;
    for (const HelpRecordLine& line : readHelpRecord(helpLog))
      if (!line.isCall && line.module == systemLibrary) ++count;
    return count;
  }

  PROCESS_INFORMATION corvane = {};
  const std::string systemLibrary = systemHelpPath();
  std::string exe, helpLog, converterLog;
  std::size_t callsSeen = 0;
  bool callMissing = false;
};

TEST_F(Help, PageHelpOpensTheTopicOfThePageShowing) {
  const HWND sheet = start(recordingHelpPath(), "pages");
  ASSERT_NE(sheet, nullptr);
  // Bound on the first request, not at start-up.
  EXPECT_TRUE(readHelpRecord(helpLog).empty());
  for (int index = 0; index < 5; ++index) {
    SCOPED_TRACE(index);
    selectTab(sheet, index);
    pressSheetButton(sheet, PSBTN_HELP);
    expectTopic(nextCall(), HELP_TOPIC_FIRST_PAGE + static_cast<unsigned long>(index));
  }
  // Again on a page shown before, after another: the topic follows the page.
  selectTab(sheet, 2);
  pressSheetButton(sheet, PSBTN_HELP);
  expectTopic(nextCall(), 10242);
  // The system's library is the one bound, and only once.
  EXPECT_EQ(loads(), 1u);
  expectConverterRunsAfterOk(sheet);
}

TEST_F(Help, ConfirmationHelpButtonOpensItsTopicAndTheDialogStays) {
  const HWND dialog = openConfirmDialog("dialog-topic");
  ASSERT_NE(dialog, nullptr);
  postClick(dialog, IDC_CONFIRM_HELP);
  expectTopic(nextCall(), HELP_TOPIC_CONFIRM);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_FALSE(hasExited(corvane));
  postClick(dialog, IDOK);
  EXPECT_EQ(waitForExit(corvane), 0u);
  EXPECT_TRUE(waitForConverterRecord(converterLog).found);
}

TEST_F(Help, F1InTheOffsetEditShowsItsPopUp) {
  const HWND sheet = start(recordingHelpPath(), "f1-offset");
  ASSERT_NE(sheet, nullptr);
  const HWND offset = GetDlgItem(selectTab(sheet, 2), IDC_OFFSET);
  ASSERT_NE(offset, nullptr);
  ASSERT_TRUE(pressF1In(offset));
  expectControlHelp(nextCall(), offset, HH_TP_HELP_WM_HELP, IDC_OFFSET);
  expectConverterRunsAfterOk(sheet);
}

TEST_F(Help, RightClickOnSaveOptionsShowsItsContextMenu) {
  const HWND sheet = start(recordingHelpPath(), "right-click-save");
  ASSERT_NE(sheet, nullptr);
  const HWND page = selectTab(sheet, 3);
  const HWND save = GetDlgItem(page, IDC_SAVE_OPTIONS);
  ASSERT_NE(save, nullptr);
  const auto stored = storedBytes();
  setControlText(page, IDC_PRINTER, "unsaved");
  rightClick(save);
  expectControlHelp(nextCall(), save, HH_TP_HELP_CONTEXTMENU, IDC_SAVE_OPTIONS);
  // Asking about the button is not pressing it: nothing new was stored.
  EXPECT_EQ(storedBytes(), stored);
  pressSheetButton(sheet, PSBTN_CANCEL);
  EXPECT_EQ(waitForExit(corvane), 0u);
}

TEST_F(Help, LabelsStandForTheControlTheyLabel) {
  const HWND sheet = start(recordingHelpPath(), "labels");
  ASSERT_NE(sheet, nullptr);
  const HWND style = selectTab(sheet, 2);
  const HWND vertical = childWithText(style, "&Vertical:");
  ASSERT_NE(vertical, nullptr);
  EXPECT_TRUE(GetDlgCtrlID(vertical) == -1 || GetDlgCtrlID(vertical) == 0xFFFF);
  postF1To(vertical);
  expectControlHelp(nextCall(), GetDlgItem(style, IDC_VERTICAL_RESOLUTION), HH_TP_HELP_WM_HELP,
                    IDC_VERTICAL_RESOLUTION);
  postContextMenuFor(vertical);
  expectControlHelp(nextCall(), GetDlgItem(style, IDC_VERTICAL_RESOLUTION), HH_TP_HELP_CONTEXTMENU,
                    IDC_VERTICAL_RESOLUTION);
  postF1To(childWithText(style, "&Type:"));
  expectControlHelp(nextCall(), GetDlgItem(style, IDC_PAPER_TYPE), HH_TP_HELP_WM_HELP,
                    IDC_PAPER_TYPE);

  const HWND dvips = selectTab(sheet, 3);
  // A group box without an id stands for the Browse button after it; one with an id is itself.
  postF1To(childWithText(dvips, "DVIPS program file"));
  expectControlHelp(nextCall(), GetDlgItem(dvips, IDC_PROGRAM_BROWSE), HH_TP_HELP_WM_HELP,
                    IDC_PROGRAM_BROWSE);
  postF1To(GetDlgItem(dvips, IDC_WINDOW_GROUP));
  expectControlHelp(nextCall(), GetDlgItem(dvips, IDC_WINDOW_GROUP), HH_TP_HELP_WM_HELP,
                    IDC_WINDOW_GROUP);

  const HWND pdf = selectTab(sheet, 4);
  postF1To(childWithText(pdf, "Ghostscript program file (empty: Corvane finds it)"));
  expectControlHelp(nextCall(), GetDlgItem(pdf, IDC_GHOSTSCRIPT_BROWSE), HH_TP_HELP_WM_HELP,
                    IDC_GHOSTSCRIPT_BROWSE);
  postF1To(childWithText(pdf, "PDF &for:"));
  expectControlHelp(nextCall(), GetDlgItem(pdf, IDC_PDF_PURPOSE), HH_TP_HELP_WM_HELP,
                    IDC_PDF_PURPOSE);
  expectConverterRunsAfterOk(sheet);
}

TEST_F(Help, ConfirmationDialogControlsHaveTheirOwnHelp) {
  const HWND dialog = openConfirmDialog("dialog-controls");
  ASSERT_NE(dialog, nullptr);
  const HWND ok = GetDlgItem(dialog, IDOK);
  const HWND edit = GetDlgItem(dialog, IDC_COMMAND_EDIT);

  ASSERT_TRUE(pressF1In(ok));
  expectControlHelp(nextCall(), ok, HH_TP_HELP_WM_HELP, IDOK);
  ASSERT_TRUE(pressF1In(edit));
  expectControlHelp(nextCall(), edit, HH_TP_HELP_WM_HELP, IDC_COMMAND_EDIT);
  // A right click on the edit opens the edit's own menu, as everywhere; on OK, its help menu.
  rightClick(ok);
  expectControlHelp(nextCall(), ok, HH_TP_HELP_CONTEXTMENU, IDOK);
  const HWND execute = childWithText(dialog, "&Execute:");
  ASSERT_NE(execute, nullptr);
  postF1To(execute);
  expectControlHelp(nextCall(), edit, HH_TP_HELP_WM_HELP, IDC_COMMAND_EDIT);
  postContextMenuFor(GetDlgItem(dialog, IDCANCEL));
  expectControlHelp(nextCall(), GetDlgItem(dialog, IDCANCEL), HH_TP_HELP_CONTEXTMENU, IDCANCEL);
  postContextMenuFor(GetDlgItem(dialog, IDC_CONFIRM_HELP));
  expectControlHelp(nextCall(), GetDlgItem(dialog, IDC_CONFIRM_HELP), HH_TP_HELP_CONTEXTMENU,
                    IDC_CONFIRM_HELP);

  // Help leaves the dialog as it was: Cancel still drops the run.
  EXPECT_TRUE(IsWindowVisible(dialog));
  postClick(dialog, IDCANCEL);
  const DWORD id = corvane.dwProcessId;
  EXPECT_EQ(waitForExit(corvane), 0u);
  EXPECT_TRUE(startedNoConverter(id, converterLog));
}

TEST_F(Help, ManyRequestsLeaveTheEndOfTheListZero) {
  const HWND sheet = start(recordingHelpPath(), "many");
  ASSERT_NE(sheet, nullptr);
  // Edits and combo boxes answer a right click with their own menu, so only F1 asks about them.
  struct Asked {
    int tab;
    int id;
    bool takesText;
  };
  const Asked asked[] = {
      {0, IDC_DVI_BROWSE, false},   {0, IDC_PS_FILE, true},      {0, IDC_ENCAPSULATED, false},
      {1, IDC_COPIES, true},        {1, IDC_EVEN_PAGES, false},  {1, IDC_REVERSE_ORDER, false},
      {2, IDC_MAGNIFICATION, true}, {2, IDC_MANUAL_FEED, false}, {2, IDC_LANDSCAPE, false},
      {3, IDC_OTHER_OPTIONS, true}, {3, IDC_HIDDEN, false},      {3, IDC_SAVE_OPTIONS, false}};
  for (int round = 0; round < 3; ++round) {
    for (const Asked& request : asked) {
      SCOPED_TRACE(request.id);
      const HWND control = GetDlgItem(selectTab(sheet, request.tab), request.id);
      ASSERT_NE(control, nullptr);
      const bool popUp = request.takesText || (round + request.id) % 2 == 0;
      if (popUp) {
        postF1To(control);
      } else {
        postContextMenuFor(control);
      }
      expectControlHelp(nextCall(), control, popUp ? HH_TP_HELP_WM_HELP : HH_TP_HELP_CONTEXTMENU,
                        request.id);
      ASSERT_FALSE(HasFailure());
    }
  }
  for (const HelpRecordLine& call : helpCalls(helpLog)) {
    EXPECT_EQ(call.data[2], 0u);
    EXPECT_EQ(call.data[3], 0u);
  }
  expectConverterRunsAfterOk(sheet);
}

// The installer puts the program under the user's profile, whose name may lie outside the code
// page (Cyrillic on a Western system) or hold characters whose second byte is a backslash's
// (表, ソ, 能 with the Japanese one): the help engine still gets a help file that exists.
TEST_F(Help, ProgramFolderNamedInAnyScriptFindsItsHelpFile) {
  ASSERT_TRUE(installSystemHelp(recordingHelpPath()));
  const std::wstring folder =
      wideOf(scratchFolder("help-named")) + L"\u0418\u0432\u0430\u043d\u8868\u30bd\u80fd";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring copy = folder + L"\\corvane.exe";
  ASSERT_TRUE(CopyFileW(wideOf(corvanePath()).c_str(), copy.c_str(), FALSE));
  const std::string helpFile = helpFileOf(corvanePath());
  ASSERT_TRUE(fileExists(helpFile));
  ASSERT_TRUE(CopyFileW(wideOf(helpFile).c_str(), (folder + L"\\corvane.chm").c_str(), FALSE));
  Options record = defaultRecord();
  copyText(record.programFile, fakeConverterPath().c_str());
  storeRecord(record);
  helpLog = newHelpLog("named");
  converterLog = freshConverterLog("named");
  corvane = startProgramWide(copy, L"paper.dvi");
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  pressSheetButton(sheet, PSBTN_HELP);
  const HelpRecordLine call = nextCall();
  EXPECT_EQ(call.topic, HELP_TOPIC_FIRST_PAGE);
  EXPECT_TRUE(fileExists(call.path)) << call.path;
  EXPECT_EQ(readFile(call.path), readFile(helpFile));
  expectConverterRunsAfterOk(sheet);
}

// A hhctrl.ocx beside a downloaded program, which Wine is told to prefer to its own: help still
// binds the system's copy, and the planted one is never loaded.
TEST_F(Help, ALibraryBesideTheProgramIsNeverLoaded) {
  const HWND sheet = start(recordingHelpPath(), "planted", false, recordingHelpPath());
  ASSERT_NE(sheet, nullptr);
  ASSERT_TRUE(fileExists(exe.substr(0, exe.rfind('\\') + 1) + "hhctrl.ocx"));
  pressSheetButton(sheet, PSBTN_HELP);
  expectTopic(nextCall(), HELP_TOPIC_FIRST_PAGE);
  const HWND offset = GetDlgItem(selectTab(sheet, 2), IDC_OFFSET);
  postF1To(offset);
  expectControlHelp(nextCall(), offset, HH_TP_HELP_WM_HELP, IDC_OFFSET);
  // Both copies record their loading: only the system's was loaded.
  for (const HelpRecordLine& line : readHelpRecord(helpLog)) EXPECT_EQ(line.module, systemLibrary);
  expectConverterRunsAfterOk(sheet);
}

// A library named hhctrl.ocx without HtmlHelpA: each request tries to bind it again, shows
// nothing, and the run goes on as if help had not been asked for.
TEST_F(Help, WithoutHtmlHelpRequestsDoNothingAndTheRunGoesOn) {
  const HWND sheet = start(noHtmlHelpPath(), "no-html-help", true);
  ASSERT_NE(sheet, nullptr);
  pressSheetButton(sheet, PSBTN_HELP);
  EXPECT_TRUE(waitUntil([&] { return loads() >= 1; }));
  HWND page = selectTab(sheet, 3);
  pressSheetButton(sheet, PSBTN_HELP);
  EXPECT_TRUE(waitUntil([&] { return loads() >= 2; }));
  postF1To(GetDlgItem(page, IDC_PRINTER));
  EXPECT_TRUE(waitUntil([&] { return loads() >= 3; }));
  rightClick(GetDlgItem(page, IDC_SAVE_OPTIONS));
  EXPECT_TRUE(waitUntil([&] { return loads() >= 4; }));
  EXPECT_TRUE(helpCalls(helpLog).empty());

  // The sheet still answers and moves values between its pages.
  page = selectTab(sheet, 1);
  ASSERT_NE(GetDlgItem(page, IDC_COPIES), nullptr);
  setControlText(page, IDC_COPIES, "2");
  page = selectTab(sheet, 0);
  EXPECT_EQ(controlText(page, IDC_DVI_FILE), "paper.dvi");
  pressSheetButton(sheet, PSBTN_OK);

  const HWND dialog = waitForConfirmDialog(corvane.dwProcessId);
  ASSERT_NE(dialog, nullptr);
  postClick(dialog, IDC_CONFIRM_HELP);
  EXPECT_TRUE(waitUntil([&] { return loads() >= 5; }));
  EXPECT_TRUE(IsWindowVisible(dialog));
  const std::string shown = controlText(dialog, IDC_COMMAND_EDIT);
  EXPECT_NE(shown.find("-C 2 "), std::string::npos) << shown;
  postClick(dialog, IDOK);
  EXPECT_EQ(waitForExit(corvane), 0u);
  const ConverterRecord received = waitForConverterRecord(converterLog);
  ASSERT_TRUE(received.found);
  EXPECT_EQ(received.command, shown);
}

// On 64-bit Windows a 32-bit program's system folder is SysWOW64, which holds the 32-bit
// hhctrl.ocx; System32 holds the 64-bit one, which it cannot load.
class Win64Help : public Help {
 protected:
  void SetUp() override {
    if (!onWindows64()) GTEST_SKIP() << "needs a 64-bit prefix (WINEARCH=win64)";
    Help::SetUp();
  }
};

// The stand-in in the system's place is the file in SysWOW64, the 64-bit library stays as it is,
// and help binds the stand-in: page help and pop-up help reach it.
TEST_F(Win64Help, BindsTheSystems32BitLibraryInSysWow64) {
  char folder[MAX_PATH];
  const UINT length = GetSystemWow64DirectoryA(folder, sizeof folder);
  ASSERT_GT(length, 0u);
  const std::string wow64Library = std::string(folder, length) + "\\hhctrl.ocx";
  const std::string nativeLibrary = nativeSystemFolder() + "hhctrl.ocx";
  const std::string nativeBefore = readFile(nativeLibrary);
  const HWND sheet = start(recordingHelpPath(), "win64");
  ASSERT_NE(sheet, nullptr);
  EXPECT_TRUE(sameFile(systemLibrary, wow64Library)) << systemLibrary;
  EXPECT_EQ(readFile(wow64Library), readFile(recordingHelpPath()));
  EXPECT_EQ(machineOf(nativeLibrary), IMAGE_FILE_MACHINE_AMD64) << nativeLibrary;
  EXPECT_EQ(readFile(nativeLibrary), nativeBefore);

  pressSheetButton(sheet, PSBTN_HELP);
  expectTopic(nextCall(), HELP_TOPIC_FIRST_PAGE);
  const HWND offset = GetDlgItem(selectTab(sheet, 2), IDC_OFFSET);
  postF1To(offset);
  expectControlHelp(nextCall(), offset, HH_TP_HELP_WM_HELP, IDC_OFFSET);
  for (const HelpRecordLine& line : readHelpRecord(helpLog))
    EXPECT_TRUE(sameFile(line.module, wow64Library)) << line.module;
  expectConverterRunsAfterOk(sheet);
}

}  // namespace
