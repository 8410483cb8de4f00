// How much of the processor Corvane takes while it waits for a converter that runs 5 seconds: the
// processor time that corvane.exe uses in those 5 seconds, one figure per round and their median.
// The wait serves Corvane's windows and reads the converter's output, and should cost next to
// nothing. Wine counts processor time in steps of 10 ms.
//   measure_wait.exe [ROUNDS]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/driver.h"

namespace {

constexpr DWORD CONVERTER_MS = 5000;

double processorMilliseconds(HANDLE process) {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

// One round: the milliseconds of processor time, or a negative number when it went wrong.
double round(int number) {
  Options record = fakeConverterRecord();
  record.windowMode = WINDOW_HIDDEN;
  storeRecord(record);
  storePdfRecord(defaultPdfRecord());  // "Tell me when something goes wrong": Corvane waits
  const std::string release = scratchFolder("wait-" + std::to_string(number)) + "release";
  SetEnvironmentVariableA("CORVANE_FAKE_HOLD", release.c_str());
  newConverterLog("wait-" + std::to_string(number));
  PROCESS_INFORMATION corvane = startCorvane("paper.dvi");
  const HWND sheet = waitForSheet(corvane);
  if (sheet == nullptr) {
    std::printf("no sheet\n");
    return -1;
  }
  pressSheetButton(sheet, PSBTN_OK);
  if (!waitUntil([&] { return processIdOf("fake_dvips.exe", corvane.dwProcessId) != 0; })) {
    std::printf("no converter\n");
    return -1;
  }
  const double before = processorMilliseconds(corvane.hProcess);
  Sleep(CONVERTER_MS);
  const double after = processorMilliseconds(corvane.hProcess);
  createEmptyFile(release);
  if (waitForExit(corvane) != 0) {
    std::printf("corvane did not end\n");
    return -1;
  }
  return after - before;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  std::vector<double> figures;
  for (int number = 0; number < rounds; ++number) {
    const double milliseconds = round(number);
    if (milliseconds < 0) {
      std::printf("round %d failed\n", number + 1);
      return 1;
    }
    std::printf("  round %d: %.1f ms\n", number + 1, milliseconds);
    figures.push_back(milliseconds);
  }
  std::sort(figures.begin(), figures.end());
  std::printf(
      "processor time of corvane.exe while a converter runs %lu s: median %.1f ms "
      "(target: under 50 ms)\n",
      CONVERTER_MS / 1000, figures[figures.size() / 2]);
  return 0;
}
