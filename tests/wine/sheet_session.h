// One run of corvane.exe with a preset record and the fake converter, for the sheet's tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <string>
#include <type_traits>
#include <vector>

#include "resources/resource.h"
#include "tests/wine/driver.h"

enum PageIndex { FILES_PAGE = 0, RANGE_PAGE = 1, STYLE_PAGE = 2, DVIPS_PAGE = 3, PDF_PAGE = 4 };

class SheetSession : public ::testing::Test {
 protected:
  void SetUp() override { clearStoredRecord(); }
  void TearDown() override {
    if (!hasExited(corvane)) waitForExit(corvane, 1);
  }

  // Stores the record, points the fake converter at a new log and opens the sheet.
  HWND open(const Options& record, const std::string& arguments = "") {
    storeRecord(record);
    return openAgain(arguments);
  }

  // Opens the sheet on what the registry holds now.
  HWND openAgain(const std::string& arguments = "") {
    startWithNewLog(arguments);
    sheet = waitForSheet(corvane);
    return sheet;
  }

  // Points the fake converter at a new log and starts corvane.exe, with a command line in wide
  // characters when the arguments are wide.
  template <typename Text>
  void startWithNewLog(const Text& arguments) {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name)
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
    log = newConverterLog(name);
    if constexpr (std::is_same_v<Text, std::wstring>)
      corvane = startCorvaneWide(arguments);
    else
      corvane = startCorvane(arguments);
    corvaneId = corvane.dwProcessId;
  }

  HWND page(int index) {
    const HWND shown = selectTab(sheet, index);
    EXPECT_NE(shown, nullptr) << "tab " << index;
    return shown;
  }

  // Presses "Save options now!" on the DVIPS Options page and returns the stored bytes once
  // they differ from what was stored before.
  std::vector<std::uint8_t> saveNow() {
    const std::vector<std::uint8_t> before = storedBytes();
    clickButton(page(DVIPS_PAGE), IDC_SAVE_OPTIONS);
    std::vector<std::uint8_t> after;
    waitUntil(
        [&] {
          after = storedBytes();
          return after != before;
        },
        DEADLINE_MS);
    return after;
  }

  // Closes the sheet with OK and returns the command the fake converter received.
  std::string okAndReceive() {
    pressSheetButton(sheet, PSBTN_OK);
    EXPECT_EQ(waitForExit(corvane), 0u);
    const ConverterRecord received = waitForConverterRecord(log);
    EXPECT_TRUE(received.found) << "the converter was not started";
    return received.command;
  }

  void cancel() {
    pressSheetButton(sheet, PSBTN_CANCEL);
    EXPECT_EQ(waitForExit(corvane), 0u);
  }

  // Asked once the run is over: a converter that was started is still running or has written
  // its record, so the answer needs no wait.
  bool converterRan() const { return !startedNoConverter(corvaneId, log); }

  static std::string program() { return shortPathOf(fakeConverterPath()); }

  PROCESS_INFORMATION corvane = {};
  // Kept after the process has ended, to look for converters that it started.
  DWORD corvaneId = 0;
  HWND sheet = nullptr;
  std::string log;
};

// Places the icon tests' message hook (icons_in_process.dll) in corvane.exe's thread, which
// answers there what a window's icons are; null when it cannot be placed.
inline HHOOK placeIconHook(DWORD threadId) {
  const HMODULE library = LoadLibraryA((buildFolder() + "icons_in_process.dll").c_str());
  if (library == nullptr) return nullptr;
  const auto procedure =
      reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library, "iconQueryHook")));
  return procedure == nullptr ? nullptr
                              : SetWindowsHookExA(WH_GETMESSAGE, procedure, library, threadId);
}

// Asks a window of corvane.exe, through the hook, the request; returns the one of the answers
// that came, or "no answer".
inline std::string askThroughIconHook(HWND window, const char* request,
                                      std::initializer_list<const char*> answers) {
  const UINT message = RegisterWindowMessageA(request);
  const ATOM asked = GlobalAddAtomA("Corvane icons?");
  PostMessageA(window, message, asked, 0);
  std::string answer = "no answer";
  waitUntil([&] { return GlobalFindAtomA("Corvane icons?") == 0; });
  for (const char* known : answers)
    if (const ATOM atom = GlobalFindAtomA(known)) {
      answer = known;
      GlobalDeleteAtom(atom);
    }
  return answer;
}

// The last quoted path of a command, the DVI file, names a file that exists, holds no '?' left by
// a lossy conversion, and has the content that was written into the file that the user named.
inline ::testing::AssertionResult namesTheFile(const std::string& command,
                                               const std::string& content) {
  const std::string path = lastQuoted(command);
  if (path.empty() || path.find('?') != std::string::npos || !fileExists(path) ||
      readFile(path) != content)
    return ::testing::AssertionFailure() << "the command names another file: " << command;
  return ::testing::AssertionSuccess();
}

// Equal records, or the offsets at which they first differ.
inline ::testing::AssertionResult sameBytes(const std::vector<std::uint8_t>& expected,
                                            const std::vector<std::uint8_t>& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << "sizes " << expected.size() << " and " << actual.size() << "; differences at";
  int shown = 0;
  for (std::size_t at = 0; at < expected.size() && at < actual.size() && shown < 16; ++at) {
    if (expected[at] == actual[at]) continue;
    failure << " " << at << " (" << int{expected[at]} << " expected, " << int{actual[at]} << ")";
    ++shown;
  }
  return failure;
}

inline ::testing::AssertionResult sameBytes(const Options& expected,
                                            const std::vector<std::uint8_t>& actual) {
  return sameBytes(bytesOf(expected), actual);
}
