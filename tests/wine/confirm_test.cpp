// The confirmation dialog: shown only when asked for, and what is left in it is what runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/wine/confirm_help_driver.h"
#include "tests/wine/driver.h"

namespace {

// The converter's path as the command starts with it: in short form, unquoted.
std::string shortConverterPath() {
  char path[MAX_PATH];
  const DWORD length = GetShortPathNameA(fakeConverterPath().c_str(), path, sizeof path);
  return length > 0 && length < sizeof path ? std::string(path, length) : fakeConverterPath();
}

// The converter's full path in quotes, then a blank: the start of an edited command.
std::string quotedConverter() {
  std::string text = "\"";
  text += fakeConverterPath();
  text += "\" ";
  return text;
}

class Confirm : public ::testing::Test {
 protected:
  void SetUp() override { clearStoredRecord(); }
  void TearDown() override {
    if (!hasExited(corvane)) waitForExit(corvane, 1);
  }

  // Starts corvane on paper.dvi with the fake converter and closes the sheet with OK.
  void runSheet(const std::string& name, bool showCommandLine) {
    Options record = defaultRecord();
    copyText(record.programFile, fakeConverterPath().c_str());
    record.showCommandLine = showCommandLine ? 1 : 0;
    storeRecord(record);
    converterLog = freshConverterLog(name);
    corvane = startCorvane("paper.dvi");
    const HWND sheet = waitForSheet(corvane);
    ASSERT_NE(sheet, nullptr);
    pressSheetButton(sheet, PSBTN_OK);
  }

  HWND openDialog(const std::string& name) {
    runSheet(name, true);
    return waitForConfirmDialog(corvane.dwProcessId);
  }

  // OK with this text in the edit; the converter must then receive exactly this command.
  void expectEditedCommandRuns(const std::string& name, const std::string& text) {
    const HWND dialog = openDialog(name);
    ASSERT_NE(dialog, nullptr);
    setControlText(dialog, IDC_COMMAND_EDIT, text);
    ASSERT_EQ(controlText(dialog, IDC_COMMAND_EDIT).size(), text.size());
    postClick(dialog, IDOK);
    EXPECT_EQ(waitForExit(corvane), 0u);
    const ConverterRecord received = waitForConverterRecord(converterLog);
    ASSERT_TRUE(received.found);
    EXPECT_EQ(received.command, text);
  }

  // The dialog is left by other means than OK: nothing runs and the process ends with 0.
  template <typename Leave>
  void expectNothingRunsAfter(const std::string& name, Leave leave) {
    const HWND dialog = openDialog(name);
    ASSERT_NE(dialog, nullptr);
    leave(dialog);
    const DWORD id = corvane.dwProcessId;
    EXPECT_EQ(waitForExit(corvane), 0u);
    EXPECT_TRUE(startedNoConverter(id, converterLog));
  }

  PROCESS_INFORMATION corvane = {};
  std::string converterLog;
  const std::string composed = shortConverterPath() + " \"paper.dvi\"";
};

TEST_F(Confirm, NotAskedForRunsAtOnceWithoutADialog) {
  runSheet("not-asked", false);
  bool sawDialog = false;
  // Nobody answers a dialog here: the run can only end if none was shown.
  waitUntil([&] {
    if (confirmDialogNow(corvane.dwProcessId) != nullptr) sawDialog = true;
    return hasExited(corvane);
  });
  EXPECT_FALSE(sawDialog);
  EXPECT_EQ(waitForExit(corvane, 1), 0u);
  const ConverterRecord received = waitForConverterRecord(converterLog);
  ASSERT_TRUE(received.found);
  EXPECT_EQ(received.command, composed);
}

TEST_F(Confirm, ShowsTheComposedCommandUnderAnEmptyCaption) {
  const HWND dialog = openDialog("shows");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(windowText(dialog), "");
  EXPECT_EQ(controlText(dialog, IDC_COMMAND_EDIT), composed);
  EXPECT_NE(childWithText(dialog, "&Execute:"), nullptr);
  EXPECT_EQ(controlText(dialog, IDOK), "OK");
  EXPECT_EQ(controlText(dialog, IDCANCEL), "Cancel");
  EXPECT_EQ(controlText(dialog, IDC_CONFIRM_HELP), "Help");
  EXPECT_NE(GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_NE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP, 0);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  // Nothing runs while the dialog waits for an answer.
  EXPECT_TRUE(startedNoConverter(corvane.dwProcessId, converterLog));
  postClick(dialog, IDCANCEL);
  EXPECT_EQ(waitForExit(corvane), 0u);
}

TEST_F(Confirm, OkUnchangedRunsTheComposedCommand) {
  const HWND dialog = openDialog("unchanged");
  ASSERT_NE(dialog, nullptr);
  postClick(dialog, IDOK);
  EXPECT_EQ(waitForExit(corvane), 0u);
  const ConverterRecord received = waitForConverterRecord(converterLog);
  ASSERT_TRUE(received.found);
  EXPECT_EQ(received.command, composed);
}

TEST_F(Confirm, EditedCommandRunsAsEdited) {
  expectEditedCommandRuns("edited", quotedConverter() + "-o \"edited.ps\" -q \"other paper.dvi\"");
}

TEST_F(Confirm, ShortenedCommandRunsWithoutTheRestOfTheComposedOne) {
  const std::string shorter = shortConverterPath();
  ASSERT_LT(shorter.size(), composed.size());
  expectEditedCommandRuns("shortened", shorter);
}

// The command's block starts at 1024 bytes: 1023 characters fit, 1024 and more need a larger one.
TEST_F(Confirm, CommandThatJustFitsTheBlockRunsWhole) {
  const std::string program = quotedConverter();
  expectEditedCommandRuns("fits", program + std::string(1023 - program.size(), 'f'));
}

TEST_F(Confirm, CommandOneLongerThanTheBlockRunsWhole) {
  const std::string program = quotedConverter();
  expectEditedCommandRuns("one-longer", program + std::string(1024 - program.size(), 'g'));
}

TEST_F(Confirm, CommandMuchLongerThanTheBlockRunsWhole) {
  const std::string program = quotedConverter();
  expectEditedCommandRuns("long", program + "-o long.ps " + std::string(3000, 'h'));
}

TEST_F(Confirm, EmptiedCommandIsTakenAndCannotStart) {
  const HWND dialog = openDialog("emptied");
  ASSERT_NE(dialog, nullptr);
  setControlText(dialog, IDC_COMMAND_EDIT, "");
  postClick(dialog, IDOK);
  const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error");
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(hasExited(corvane));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  // The box leads back to the sheet, where the program is set.
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  EXPECT_TRUE(
      waitUntil([&] { return GetDlgItem(currentPage(sheet), IDC_PROGRAM_FILE) != nullptr; }));
  pressSheetButton(sheet, PSBTN_CANCEL);
  const DWORD id = corvane.dwProcessId;
  EXPECT_EQ(waitForExit(corvane), 0u);
  EXPECT_TRUE(startedNoConverter(id, converterLog));
}

TEST_F(Confirm, CancelRunsNothing) {
  expectNothingRunsAfter("cancel", [](HWND dialog) { postClick(dialog, IDCANCEL); });
}

TEST_F(Confirm, CancelAfterEditingRunsNothing) {
  expectNothingRunsAfter("cancel-edited", [](HWND dialog) {
    setControlText(dialog, IDC_COMMAND_EDIT, quotedConverter() + "edited");
    postClick(dialog, IDCANCEL);
  });
}

TEST_F(Confirm, EscapeRunsNothing) {
  expectNothingRunsAfter("escape", [](HWND dialog) {
    const HWND edit = GetDlgItem(dialog, IDC_COMMAND_EDIT);
    PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(edit, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  });
}

TEST_F(Confirm, CloseBoxRunsNothing) {
  expectNothingRunsAfter("close-box",
                         [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
}

TEST_F(Confirm, CloseMessageRunsNothing) {
  expectNothingRunsAfter("close", [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); });
}

// A dialog template whose one control is of a class that does not exist: creating the
// dialog from it fails, as it does when the system is out of resources.
std::vector<std::uint8_t> unbuildableDialog() {
  std::vector<std::uint8_t> bytes;
  const auto put = [&](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  const auto putText = [&](const char* text) {
    do put(static_cast<std::uint8_t>(*text), 2);
    while (*text++ != '\0');
  };
  put(1, 2), put(0xFFFF, 2), put(0, 4), put(0, 4), put(WS_POPUP | WS_CAPTION, 4);
  put(1, 2), put(0, 2), put(0, 2), put(100, 2), put(40, 2);
  put(0, 2), put(0, 2), put(0, 2);  // no menu, the standard class, no title
  while (bytes.size() % 4 != 0) bytes.push_back(0);
  put(0, 4), put(0, 4), put(WS_CHILD | WS_VISIBLE, 4);
  put(0, 2), put(0, 2), put(50, 2), put(12, 2), put(IDC_COMMAND_EDIT, 4);
  putText("NoSuchClass");
  put(0, 2), put(0, 2);  // no text, no creation data
  return bytes;
}

// A copy of the program whose confirmation dialog cannot be created: the user asked to review
// the command, so it must not run unseen; the failure is reported instead.
TEST_F(Confirm, ADialogThatCannotOpenRunsNothingAndSaysSo) {
  const std::string copy = scratchFolder("no-dialog") + "corvane.exe";
  ASSERT_TRUE(CopyFileA(corvanePath().c_str(), copy.c_str(), FALSE));
  std::vector<std::uint8_t> dialog = unbuildableDialog();
  const HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
  ASSERT_NE(update, nullptr);
  ASSERT_TRUE(UpdateResourceA(update, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(IDD_CONFIRM),
                              MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), dialog.data(),
                              static_cast<DWORD>(dialog.size())));
  ASSERT_TRUE(EndUpdateResourceA(update, FALSE));

  Options record = defaultRecord();
  copyText(record.programFile, fakeConverterPath().c_str());
  record.showCommandLine = 1;
  storeRecord(record);
  converterLog = freshConverterLog("no-dialog");
  corvane = startProgram(copy, "paper.dvi");
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  pressSheetButton(sheet, PSBTN_OK);
  const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(confirmDialogNow(corvane.dwProcessId), nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  const DWORD id = corvane.dwProcessId;
  EXPECT_EQ(waitForExit(corvane), 0u);
  EXPECT_TRUE(startedNoConverter(id, converterLog));
}

}  // namespace
