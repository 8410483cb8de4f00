// The sheet as a user first meets it: caption, tabs, buttons, and what Cancel and OK do.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "resources/resource.h"
#include "tests/wine/driver.h"

namespace {

class SheetFrame : public ::testing::Test {
 protected:
  void SetUp() override { clearStoredRecord(); }
  void TearDown() override {
    if (!hasExited(corvane)) waitForExit(corvane, 1);
  }
  PROCESS_INFORMATION corvane = {};
};

TEST_F(SheetFrame, OpensOnFilesWithFourTabsAndNoApply) {
  corvane = startCorvane();
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(windowText(sheet), "Corvane");
  ASSERT_EQ(tabCount(sheet), 4);
  EXPECT_EQ(tabTitle(sheet, 0), "Files");
  EXPECT_EQ(tabTitle(sheet, 1), "Page Range");
  EXPECT_EQ(tabTitle(sheet, 2), "Page Style");
  EXPECT_EQ(tabTitle(sheet, 3), "DVIPS Options");
  EXPECT_NE(GetDlgItem(currentPage(sheet), IDC_DVI_FILE), nullptr);
  EXPECT_NE(GetDlgItem(sheet, IDOK), nullptr);
  EXPECT_NE(GetDlgItem(sheet, IDCANCEL), nullptr);
  const HWND apply = GetDlgItem(sheet, 0x3021);  // the sheet's Apply button
  EXPECT_TRUE(apply == nullptr || !IsWindowVisible(apply));
  pressSheetButton(sheet, PSBTN_CANCEL);
  EXPECT_EQ(waitForExit(corvane), 0u);
}

TEST_F(SheetFrame, CancelRunsNothing) {
  Options record = defaultRecord();
  copyText(record.programFile, fakeConverterPath().c_str());
  storeRecord(record);
  const std::string log = newConverterLog("cancel");
  corvane = startCorvane("paper.dvi");
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  pressSheetButton(sheet, PSBTN_CANCEL);
  EXPECT_EQ(waitForExit(corvane), 0u);
  EXPECT_FALSE(waitForConverterRecord(log, 2000).found);
}

TEST_F(SheetFrame, OkRunsTheConverterWithTheDviFile) {
  Options record = defaultRecord();
  copyText(record.programFile, fakeConverterPath().c_str());
  storeRecord(record);
  const std::string log = newConverterLog("ok");
  corvane = startCorvane("\"C:\\My Papers\\paper.dvi\"");
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(controlText(currentPage(sheet), IDC_DVI_FILE), "C:\\My Papers\\paper.dvi");
  pressSheetButton(sheet, PSBTN_OK);
  EXPECT_EQ(waitForExit(corvane), 0u);
  const ConverterRecord received = waitForConverterRecord(log);
  ASSERT_TRUE(received.found);
  EXPECT_NE(received.command.find(" \"C:\\My Papers\\paper.dvi\""), std::string::npos)
      << received.command;
}

}  // namespace
