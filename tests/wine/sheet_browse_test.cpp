// The browse buttons: the common open and save dialogs they show, what those start with, and
// what choosing or cancelling leaves in the edit beside the button.
#include <string>

#include "tests/wine/sheet_session.h"

namespace {

// Controls of the platform's file dialog.
constexpr int FILE_TYPE_BOX = 1136;
constexpr int FOLDER_BOX = 1137;
constexpr int FILE_NAME_BOX = 1148;
constexpr int READ_ONLY_BOX = 1040;

struct OwnedSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK matchOwned(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<OwnedSearch*>(lParam);
  if (GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// A visible window owned by the given one, such as a message box it shows.
HWND waitForOwnedWindow(HWND owner) {
  OwnedSearch search{owner, nullptr};
  waitUntil([&] {
    EnumWindows(matchOwned, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  });
  return search.found;
}

std::string lastFolderName(const std::string& folder) {
  const std::string bare = folder.substr(0, folder.size() - 1);
  return bare.substr(bare.find_last_of('\\') + 1);
}

class BrowseDialogs : public SheetSession {
 protected:
  void SetUp() override {
    SheetSession::SetUp();
    folder = scratchFolder("browse");
  }

  // Clicks the browse button and returns the file dialog that it opens.
  HWND browse(HWND shownPage, int button, const char* caption) {
    postClick(shownPage, button);
    return waitForWindow(corvane.dwProcessId, "#32770", caption);
  }

  static void typeName(HWND dialog, const std::string& name) {
    SendMessageA(findDescendant(dialog, "Edit", FILE_NAME_BOX), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(name.c_str()));
  }

  static void typeWideName(HWND dialog, const std::wstring& name) {
    SendMessageW(findDescendant(dialog, "Edit", FILE_NAME_BOX), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(name.c_str()));
  }

  static std::string typedName(HWND dialog) {
    return windowText(findDescendant(dialog, "Edit", FILE_NAME_BOX));
  }

  static void expectFilters(HWND dialog, const char* first) {
    const HWND types = findDescendant(dialog, "ComboBox", FILE_TYPE_BOX);
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(windowText(types), first);
    ASSERT_EQ(comboCount(types), 2);
    EXPECT_EQ(comboItem(types, 0), first);
    EXPECT_EQ(comboItem(types, 1), "All files (*.*)");
  }

  static bool closes(HWND dialog) {
    return waitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
  }

  std::string folder;
};

TEST_F(BrowseDialogs, DviFileOpensOnTheEditsNameAndWritesTheChosenPath) {
  createEmptyFile(folder + "given.dvi");
  createEmptyFile(folder + "chosen.dvi");
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND files = page(FILES_PAGE);
  setControlText(files, IDC_DVI_FILE, folder + "given.dvi");
  const HWND dialog = browse(files, IDC_DVI_BROWSE, "Open");
  ASSERT_NE(dialog, nullptr);
  expectFilters(dialog, "DVI files (*.dvi)");
  // The edit's text is the initial name: the dialog shows that file's folder and name.
  EXPECT_EQ(typedName(dialog), "given.dvi");
  EXPECT_EQ(windowText(findDescendant(dialog, "ComboBox", FOLDER_BOX)), lastFolderName(folder));
  const HWND readOnly = findDescendant(dialog, "Button", READ_ONLY_BOX);
  EXPECT_TRUE(readOnly == nullptr || !IsWindowVisible(readOnly));

  typeName(dialog, folder + "chosen.dvi");
  postCommand(dialog, IDOK);
  ASSERT_TRUE(closes(dialog));
  EXPECT_TRUE(waitUntil([&] { return controlText(files, IDC_DVI_FILE) == folder + "chosen.dvi"; }))
      << controlText(files, IDC_DVI_FILE);
  EXPECT_EQ(okAndReceive(), program() + " \"" + folder + "chosen.dvi\"");
}

TEST_F(BrowseDialogs, ANameOutsideTheCodePageComesInItsShortForm) {
  const std::wstring cjk = wideOf(folder) + L"\u8ad6\u6587";
  ASSERT_TRUE(CreateDirectoryW(cjk.c_str(), nullptr));
  ASSERT_TRUE(createFileWide(cjk + L"\\chosen.dvi", "chosen in CJK"));
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND files = page(FILES_PAGE);
  const HWND dialog = browse(files, IDC_DVI_BROWSE, "Open");
  ASSERT_NE(dialog, nullptr);
  typeWideName(dialog, cjk + L"\\chosen.dvi");
  postCommand(dialog, IDOK);
  ASSERT_TRUE(closes(dialog));
  EXPECT_TRUE(waitUntil([&] { return !controlText(files, IDC_DVI_FILE).empty(); }));
  EXPECT_TRUE(namesTheFile(okAndReceive(), "chosen in CJK"));
}

TEST_F(BrowseDialogs, ANameWithNoFormInTheCodePageKeepsTheEditAndSaysWhy) {
  const std::wstring cjk = wideOf(folder) + L"\u8ad6\u6587";
  ASSERT_TRUE(CreateDirectoryW(cjk.c_str(), nullptr));
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND files = page(FILES_PAGE);
  setControlText(files, IDC_PS_FILE, "kept.ps");
  const HWND dialog = browse(files, IDC_PS_BROWSE, "Save As");
  ASSERT_NE(dialog, nullptr);
  typeWideName(dialog, cjk + L"\\\u8ad6\u6587.ps");
  postCommand(dialog, IDOK);
  ASSERT_TRUE(closes(dialog));
  const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(messageBoxTextWide(box) ==
              pathErrorText(ERROR_NO_UNICODE_TRANSLATION, cjk + L"\\\u8ad6\u6587.ps"));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(closes(box));
  EXPECT_EQ(controlText(files, IDC_PS_FILE), "kept.ps");
  cancel();
}

// The dialogs move the current folder; a relative DVI file named on the command line is still
// the one in the folder Corvane started in.
TEST_F(BrowseDialogs, ARelativeDviFileIsStillFoundAfterBrowsingElsewhere) {
  const std::string start = scratchFolder("relative-start");
  ASSERT_TRUE(CreateDirectoryA((start + "sub").c_str(), nullptr));
  ASSERT_TRUE(createFileWide(wideOf(start + "sub\\paper.dvi"), "relative to the start"));
  storeRecord(fakeConverterRecord());
  log = newConverterLog("relative-browse");
  corvane = startProgramIn(corvanePath(), "sub\\paper.dvi", start);
  sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  const HWND files = page(FILES_PAGE);
  const HWND dialog = browse(files, IDC_PS_BROWSE, "Save As");
  ASSERT_NE(dialog, nullptr);
  typeName(dialog, folder + "out.ps");
  postCommand(dialog, IDOK);
  ASSERT_TRUE(closes(dialog));
  ASSERT_TRUE(waitUntil([&] { return controlText(files, IDC_PS_FILE) == folder + "out.ps"; }));
  EXPECT_TRUE(namesTheFile(okAndReceive(), "relative to the start"));
}

TEST_F(BrowseDialogs, CancellingKeepsTheEdit) {
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND files = page(FILES_PAGE);
  const std::string kept = folder + "kept.dvi";
  setControlText(files, IDC_DVI_FILE, kept);
  const HWND dialog = browse(files, IDC_DVI_BROWSE, "Open");
  ASSERT_NE(dialog, nullptr);
  typeName(dialog, folder + "other.dvi");
  postCommand(dialog, IDCANCEL);
  ASSERT_TRUE(closes(dialog));
  EXPECT_EQ(controlText(files, IDC_DVI_FILE), kept);
  cancel();
}

// The open dialog gives a bare name the default extension when a file of that name exists (Wine
// leaves the name bare otherwise), and accepts a file that does not exist yet.
TEST_F(BrowseDialogs, OpenAddsTheDefaultExtensionAndTakesNewNames) {
  createEmptyFile(folder + "fresh.dvi");
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND files = page(FILES_PAGE);
  HWND dialog = browse(files, IDC_DVI_BROWSE, "Open");
  ASSERT_NE(dialog, nullptr);
  typeName(dialog, folder + "fresh");
  postCommand(dialog, IDOK);
  ASSERT_TRUE(closes(dialog));
  EXPECT_TRUE(waitUntil([&] { return controlText(files, IDC_DVI_FILE) == folder + "fresh.dvi"; }))
      << controlText(files, IDC_DVI_FILE);

  dialog = browse(files, IDC_DVI_BROWSE, "Open");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(typedName(dialog), "fresh.dvi");
  typeName(dialog, folder + "not-yet-made.dvi");
  postCommand(dialog, IDOK);
  ASSERT_TRUE(closes(dialog));
  EXPECT_TRUE(waitUntil([&] {
    return controlText(files, IDC_DVI_FILE) == folder + "not-yet-made.dvi";
  })) << controlText(files, IDC_DVI_FILE);
  cancel();
}

TEST_F(BrowseDialogs, PsFileOpensTheSaveDialog) {
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND files = page(FILES_PAGE);
  clickButton(files, IDC_ENCAPSULATED);
  const HWND dialog = browse(files, IDC_PS_BROWSE, "Save As");
  ASSERT_NE(dialog, nullptr);
  expectFilters(dialog, "PostScript files (*.ps;*.eps)");
  typeName(dialog, folder + "out");
  postCommand(dialog, IDOK);
  ASSERT_TRUE(closes(dialog));
  EXPECT_TRUE(waitUntil([&] { return controlText(files, IDC_PS_FILE) == folder + "out.ps"; }))
      << controlText(files, IDC_PS_FILE);
  EXPECT_EQ(okAndReceive(), program() + " -o \"" + folder + "out.ps\" -E ");
}

TEST_F(BrowseDialogs, PsFileAsksBeforeReplacingAnExistingFile) {
  const std::string existing = folder + "exists.ps";
  createEmptyFile(existing);
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND files = page(FILES_PAGE);
  const HWND dialog = browse(files, IDC_PS_BROWSE, "Save As");
  ASSERT_NE(dialog, nullptr);
  typeName(dialog, existing);
  postCommand(dialog, IDOK);
  HWND question = waitForOwnedWindow(dialog);
  ASSERT_NE(question, nullptr);
  postCommand(question, IDNO);
  ASSERT_TRUE(closes(question));
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(controlText(files, IDC_PS_FILE), "");

  postCommand(dialog, IDOK);
  question = waitForOwnedWindow(dialog);
  ASSERT_NE(question, nullptr);
  postCommand(question, IDYES);
  ASSERT_TRUE(closes(dialog));
  EXPECT_TRUE(waitUntil([&] { return controlText(files, IDC_PS_FILE) == existing; }))
      << controlText(files, IDC_PS_FILE);
  cancel();
}

TEST_F(BrowseDialogs, ProgramBrowseOpensOnProgramFiles) {
  createEmptyFile(folder + "tool.exe");
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND dvips = page(DVIPS_PAGE);
  EXPECT_EQ(controlText(dvips, IDC_PROGRAM_FILE), fakeConverterPath());
  HWND dialog = browse(dvips, IDC_PROGRAM_BROWSE, "Open");
  ASSERT_NE(dialog, nullptr);
  expectFilters(dialog, "Program files (*.exe)");
  EXPECT_EQ(typedName(dialog), "fake_dvips.exe");
  postCommand(dialog, IDCANCEL);
  ASSERT_TRUE(closes(dialog));
  EXPECT_EQ(controlText(dvips, IDC_PROGRAM_FILE), fakeConverterPath());

  dialog = browse(dvips, IDC_PROGRAM_BROWSE, "Open");
  ASSERT_NE(dialog, nullptr);
  typeName(dialog, folder + "tool");
  postCommand(dialog, IDOK);
  ASSERT_TRUE(closes(dialog));
  EXPECT_TRUE(waitUntil([&] {
    return controlText(dvips, IDC_PROGRAM_FILE) == folder + "tool.exe";
  })) << controlText(dvips, IDC_PROGRAM_FILE);
  cancel();
}

}  // namespace
