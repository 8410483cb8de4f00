// The sheet as a user first meets it: caption, tabs in order, the Files tab first, no Apply.
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

}  // namespace
