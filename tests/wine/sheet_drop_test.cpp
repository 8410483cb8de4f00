// Files dropped on the open sheet: the first DVI file among them, or else the first file,
// becomes the DVI file, shown at once on the Files page or when it next becomes active.
#include "tests/wine/sheet_session.h"

namespace {

class SheetDrop : public SheetSession {
 protected:
  void TearDown() override {
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    SheetSession::TearDown();
  }

  // Drops the files on the sheet as the system does: a WM_DROPFILES posted to the sheet with a
  // drop block of corvane.exe's own (made there by the hook in drop_in_process.dll); returns once
  // the sheet has handled it.
  void drop(const std::string& names) { drop(wideOf(names)); }
  void drop(const std::wstring& names) {
    if (hook == nullptr) {
      const HMODULE library = LoadLibraryA((buildFolder() + "drop_in_process.dll").c_str());
      ASSERT_NE(library, nullptr);
      const auto procedure = reinterpret_cast<HOOKPROC>(
          reinterpret_cast<void*>(GetProcAddress(library, "dropRequestHook")));
      ASSERT_NE(procedure, nullptr);
      hook = SetWindowsHookExA(WH_GETMESSAGE, procedure, library, corvane.dwThreadId);
      ASSERT_NE(hook, nullptr);
    }
    const ATOM atom = GlobalAddAtomW(names.c_str());
    ASSERT_NE(atom, 0);
    PostMessageA(sheet, RegisterWindowMessageA("Corvane test drop"), atom, 0);
    ASSERT_TRUE(waitUntil([&] { return GlobalFindAtomW(names.c_str()) == 0; }))
        << "the drop was not made";
    // The drop is dispatched before the sheet takes its next message.
    SendMessageA(sheet, WM_NULL, 0, 0);
  }

  HHOOK hook = nullptr;
};

TEST_F(SheetDrop, OnTheFilesPageTheFirstDviFileShowsAtOnce) {
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  EXPECT_NE(GetWindowLongA(sheet, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  const HWND files = currentPage(sheet);
  setControlText(files, IDC_PS_FILE, "typed.ps");
  drop("C:\\in\\notes.tex|C:\\in\\Paper.DVI|C:\\in\\other.dvi");
  EXPECT_EQ(controlText(files, IDC_DVI_FILE), "C:\\in\\Paper.DVI");
  EXPECT_EQ(controlText(files, IDC_PS_FILE), "typed.ps");
  cancel();
}

TEST_F(SheetDrop, OnAnotherPageTheFilesPageShowsTheFirstFileWhenNextActive) {
  Options record = fakeConverterRecord();
  copyText(record.psFile, "kept.ps");
  ASSERT_NE(open(record), nullptr);
  page(RANGE_PAGE);
  drop("C:\\in\\first.tex|C:\\in\\second.tex");
  const HWND files = page(FILES_PAGE);
  EXPECT_EQ(controlText(files, IDC_DVI_FILE), "C:\\in\\first.tex");
  EXPECT_EQ(controlText(files, IDC_PS_FILE), "kept.ps");
  cancel();
}

// A name outside the code page goes in by its short form, which names the dropped file.
TEST_F(SheetDrop, ANameOutsideTheCodePageComesInItsShortForm) {
  const std::wstring folder = wideOf(scratchFolder("drop")) + L"\u8ad6\u6587";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(createFileWide(folder + L"\\paper.dvi", "dropped"));
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  drop(folder + L"\\paper.dvi");
  EXPECT_TRUE(namesTheFile(okAndReceive(), "dropped"));
}

}  // namespace
