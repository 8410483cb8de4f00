// The sheet as a user first meets it: where it opens, its caption, tabs in order, the Files tab
// first, no Apply.
#include "tests/wine/sheet_session.h"

namespace {

using SheetFrame = SheetSession;

TEST_F(SheetFrame, OpensOnFilesWithFiveTabsAndNoApply) {
  ASSERT_NE(openAgain(), nullptr);
  EXPECT_EQ(windowText(sheet), "Corvane");
  ASSERT_EQ(tabCount(sheet), 5);
  EXPECT_EQ(tabTitle(sheet, 0), "Files");
  EXPECT_EQ(tabTitle(sheet, 1), "Page Range");
  EXPECT_EQ(tabTitle(sheet, 2), "Page Style");
  EXPECT_EQ(tabTitle(sheet, 3), "DVIPS Options");
  EXPECT_EQ(tabTitle(sheet, 4), "PDF");
  EXPECT_NE(GetDlgItem(currentPage(sheet), IDC_DVI_FILE), nullptr);
  for (const int button : {IDOK, IDCANCEL, IDHELP})
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, button))) << button;
  const HWND apply = GetDlgItem(sheet, 0x3021);  // the sheet's Apply button
  EXPECT_TRUE(apply == nullptr || !IsWindowVisible(apply));
  cancel();
}

// Started from Explorer, the sheet has no owner: it opens in the middle of the work area of the
// monitor that holds the mouse pointer.
TEST_F(SheetFrame, OpensCentredOnTheWorkAreaOfThePointersMonitor) {
  SetCursorPos(200, 150);
  ASSERT_NE(openAgain(), nullptr);
  RECT frame;
  ASSERT_TRUE(GetWindowRect(sheet, &frame));
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(
      GetMonitorInfoA(MonitorFromPoint(POINT{200, 150}, MONITOR_DEFAULTTONEAREST), &monitor));
  const RECT& work = monitor.rcWork;
  const auto describe = [&] {
    return ::testing::Message() << "sheet (" << frame.left << ", " << frame.top << ", "
                                << frame.right << ", " << frame.bottom << "), work area ("
                                << work.left << ", " << work.top << ", " << work.right << ", "
                                << work.bottom << ")";
  };
  EXPECT_NEAR((frame.left + frame.right) / 2, (work.left + work.right) / 2, 2) << describe();
  EXPECT_NEAR((frame.top + frame.bottom) / 2, (work.top + work.bottom) / 2, 2) << describe();
  cancel();
}

// The Files page alone is given the program's icons, once per run: the pages made later get none.
TEST_F(SheetFrame, TheFilesPageAloneGetsTheIcons) {
  ASSERT_NE(openAgain(), nullptr);
  const HHOOK hook = placeIconHook(corvane.dwThreadId);
  ASSERT_NE(hook, nullptr);
  const auto iconsOf = [](HWND window) {
    return askThroughIconHook(window, "Corvane test icons",
                              {"Corvane icons: big small", "Corvane icons: big",
                               "Corvane icons: small", "Corvane icons:"});
  };
  const HWND files = currentPage(sheet);
  std::string filesIcons;
  EXPECT_TRUE(waitUntil([&] {
    filesIcons = iconsOf(files);
    return filesIcons == "Corvane icons: big small";
  })) << filesIcons;
  EXPECT_EQ(iconsOf(page(RANGE_PAGE)), "Corvane icons:");
  UnhookWindowsHookEx(hook);
  cancel();
}

}  // namespace
