// Hostile input: stored records of every length, huge texts in every edit, missing files.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "app/app.h"
#include "resources/resource.h"
#include "tests/wine/driver.h"

// The loader linked into the tests reads the string table of this module.
HINSTANCE appInstance = GetModuleHandleA(nullptr);

namespace {

// A stored value of the given length: a recognisable body under a right or a wrong header.
std::vector<std::uint8_t> storedValue(std::size_t length, bool rightHeader) {
  std::vector<std::uint8_t> bytes(length);
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>('a' + i % 26);
  const std::uint32_t header[2] = {rightHeader ? OPTIONS_MAGIC : OPTIONS_MAGIC ^ 0x100u,
                                   static_cast<std::uint32_t>(length)};
  std::memcpy(bytes.data(), header, std::min<std::size_t>(length, sizeof header));
  return bytes;
}

// What the loader makes of an accepted value: an overlay, each unterminated text ended.
std::vector<std::uint8_t> expectedOverlay(const std::vector<std::uint8_t>& value) {
  std::vector<std::uint8_t> expected = bytesOf(defaultRecord());
  std::memcpy(expected.data(), value.data(), value.size());
  const std::pair<std::size_t, std::size_t> texts[] = {{8, 260},   {268, 260},  {536, 64},
                                                       {628, 64},  {708, 64},   {772, 64},
                                                       {848, 260}, {1108, 260}, {1368, 260}};
  for (const auto& [at, size] : texts)
    if (std::memchr(expected.data() + at, 0, size) == nullptr) expected[at + size - 1] = 0;
  expected[4] = 0x6C;
  expected[5] = 0x06;
  expected[6] = expected[7] = 0;
  return expected;
}

TEST(StoredRecord, EveryLengthUpTo2000AgainstTheRealRegistry) {
  const std::vector<std::uint8_t> defaults = bytesOf(defaultRecord());
  for (std::size_t length = 0; length <= 2000; ++length) {
    for (const bool rightHeader : {true, false}) {
      const auto value = storedValue(length, rightHeader);
      storeBytes(value);
      std::memset(&options, 0, sizeof options);
      loadOptions();
      const bool accepted = rightHeader && length >= 8 && length <= OPTIONS_SIZE;
      ASSERT_EQ(bytesOf(options), accepted ? expectedOverlay(value) : defaults)
          << "length " << length << (rightHeader ? " right header" : " wrong header");
    }
  }
  clearStoredRecord();
}

TEST(StoredRecord, AValueOfAnotherTypeIsAccepted) {
  Options record = defaultRecord();
  copyText(record.printer, "laserjet");
  storeBytes(bytesOf(record), REG_NONE);
  std::memset(&options, 0, sizeof options);
  loadOptions();
  EXPECT_STREQ(options.printer, "laserjet");
  clearStoredRecord();
}

class Robustness : public ::testing::Test {
 protected:
  void SetUp() override { clearStoredRecord(); }
  void TearDown() override {
    if (!hasExited(corvane)) waitForExit(corvane, 1);
    clearStoredRecord();
  }
  PROCESS_INFORMATION corvane = {};
};

TEST_F(Robustness, StoredRecordsOfAnyLengthStillOpenTheSheet) {
  for (const std::size_t length : {0u, 4u, 7u, 8u, 9u, 848u, 1643u, 1644u, 1645u, 2000u}) {
    for (const bool rightHeader : {true, false}) {
      SCOPED_TRACE(testing::Message() << "length " << length << " right header " << rightHeader);
      storeBytes(storedValue(length, rightHeader));
      corvane = startCorvane();
      const HWND sheet = waitForSheet(corvane);
      ASSERT_NE(sheet, nullptr);
      const HWND page = selectTab(sheet, 3);
      const bool programStored = rightHeader && length > 848 && length <= OPTIONS_SIZE;
      EXPECT_EQ(controlText(page, IDC_PROGRAM_FILE).size(),
                programStored ? std::min<std::size_t>(length - 848, 259) : 9u);
      pressSheetButton(sheet, PSBTN_CANCEL);
      EXPECT_EQ(waitForExit(corvane), 0u);
    }
  }
}

TEST_F(Robustness, HugeTextsInEveryEditAreCutToTheirFields) {
  Options record = defaultRecord();
  copyText(record.programFile, fakeConverterPath().c_str());
  storeRecord(record);
  const std::string log = newConverterLog("huge");
  corvane = startCorvane();
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  // Number edits get letters: Wine's edit control takes seconds over a long run of digits,
  // and overflowing numbers are tried elsewhere.
  const auto huge = [](char c) { return std::string(100000, c); };
  HWND page = selectTab(sheet, 1);
  setControlText(page, IDC_PAGE_RANGES, huge('r'));
  for (const int id : {IDC_FIRST_PAGE, IDC_LAST_PAGE, IDC_COPIES})
    setControlText(page, id, huge('n'));
  page = selectTab(sheet, 2);
  setControlText(page, IDC_PAPER_TYPE, huge('t'));
  setControlText(page, IDC_MAGNIFICATION, huge('n'));
  setControlText(page, IDC_OFFSET, huge('f'));
  setControlText(page, IDC_PAPER_SIZE, huge('s'));
  for (const int id : {IDC_RESOLUTION, IDC_HORIZONTAL_RESOLUTION, IDC_VERTICAL_RESOLUTION})
    setControlText(page, id, huge('n'));
  page = selectTab(sheet, 3);
  setControlText(page, IDC_PRINTER, huge('p'));
  setControlText(page, IDC_OTHER_OPTIONS, huge('x'));
  page = selectTab(sheet, 0);
  setControlText(page, IDC_DVI_FILE, huge('d'));
  setControlText(page, IDC_PS_FILE, huge('o'));
  // A path that long names no file: the page says so, twice, and keeps the user on it until
  // the path edits hold what fits.
  for (const int id : {IDC_DVI_FILE, IDC_PS_FILE}) {
    pressSheetButton(sheet, PSBTN_OK);
    const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box).rfind(systemMessage(ERROR_FILENAME_EXCED_RANGE), 0), 0u);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(box); }));
    setControlText(page, id, id == IDC_DVI_FILE ? "paper.dvi" : "out.ps");
  }
  pressSheetButton(sheet, PSBTN_OK);
  EXPECT_EQ(waitForExit(corvane), 0u);
  const ConverterRecord received = waitForConverterRecord(log);
  ASSERT_TRUE(received.found);
  const auto run = [](char c, std::size_t n) { return std::string(n, c); };
  const std::string expected = " -o \"out.ps\" -pp " + run('r', 63) + " -t " + run('t', 63) +
                               " -O " + run('f', 63) + " -T " + run('s', 63) + " -P " +
                               run('p', 259) + " " + run('x', 259) + " \"paper.dvi\"";
  ASSERT_GE(received.command.size(), expected.size());
  EXPECT_EQ(received.command.substr(received.command.size() - expected.size()), expected);
}

// What is missing for the run is named on OK, and the box leads back to the sheet, on the page of
// the fix: the output's folder on the Files page, the program on the DVIPS Options page.
TEST_F(Robustness, MissingFilesAreNamedAndLeadBackToTheirPage) {
  Options record = defaultRecord();
  copyText(record.programFile, fakeConverterPath().c_str());
  copyText(record.psFile, "C:\\no such folder\\out.ps");
  for (const auto& [programFile, said, control] :
       {std::tuple{fakeConverterPath(), std::string("The folder C:\\no such folder does not exist"),
                   IDC_PS_FILE},
        std::tuple{std::string("C:\\no such folder\\dvips.exe"),
                   std::string("C:\\no such folder\\dvips.exe"), IDC_PROGRAM_FILE}}) {
    copyText(record.programFile, programFile.c_str());
    storeRecord(record);
    corvane = startCorvane("\"C:\\no such folder\\paper.dvi\"");
    const HWND sheet = waitForSheet(corvane);
    ASSERT_NE(sheet, nullptr);
    pressSheetButton(sheet, PSBTN_OK);
    const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(messageBoxText(box).find(said), std::string::npos) << messageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return GetDlgItem(currentPage(sheet), control) != nullptr; }));
    pressSheetButton(sheet, PSBTN_CANCEL);
    EXPECT_EQ(waitForExit(corvane), 0u);
  }
}

TEST_F(Robustness, AMissingHelpFileLeavesTheSheetWorking) {
  const std::string folder = scratchFolder("no-help");
  const std::string copy = folder + "corvane.exe";
  ASSERT_TRUE(CopyFileA(corvanePath().c_str(), copy.c_str(), FALSE));
  Options record = defaultRecord();
  copyText(record.programFile, fakeConverterPath().c_str());
  storeRecord(record);
  const std::string log = newConverterLog("no-help");
  corvane = startProgram(copy, "paper.dvi");
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  pressSheetButton(sheet, PSBTN_HELP);
  const HWND page = selectTab(sheet, 1);
  ASSERT_NE(page, nullptr);
  setControlText(page, IDC_FIRST_PAGE, "2");
  pressSheetButton(sheet, PSBTN_OK);
  EXPECT_EQ(waitForExit(corvane), 0u);
  const ConverterRecord received = waitForConverterRecord(log);
  ASSERT_TRUE(received.found);
  EXPECT_NE(received.command.find(" -p 2 "), std::string::npos) << received.command;
}

}  // namespace
