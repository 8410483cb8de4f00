// Times how long programs take from their start to a visible property sheet, side by side:
//   measure_start.exe RUNS program-a.exe program-b.exe ...
// Each round starts every program once, so that all see the same conditions. The first program
// is compared with each other one round by round: the figure is the median of the per-round
// ratios, with a 95% interval from resampling the rounds, so that a slow spell of the machine
// weighs on both programs of a round alike instead of on one program's median.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// The process's visible top-level dialog window, or null. Only windows of the dialog class are
// looked at, so that a check costs little of the machine that the measured program runs on.
HWND visibleSheetOf(DWORD processId) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// Milliseconds from the start to a visible sheet, or a negative value.
double timeToSheet(const std::string& program) {
  std::string command = "\"" + program + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER frequency, begin, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return -1;
  HWND sheet = nullptr;
  const DWORD deadline = GetTickCount() + 30000;
  // Checked every millisecond: a coarser step would round each start up to the next step, and a
  // step of 10 ms is a tenth of a start under Wine.
  while ((sheet = visibleSheetOf(process.dwProcessId)) == nullptr && GetTickCount() < deadline)
    Sleep(1);
  QueryPerformanceCounter(&end);
  if (sheet != nullptr) PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  if (sheet == nullptr) return -1;
  return 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Median of the per-round ratios and its 95% bootstrap interval over rounds.
struct PairedRatio {
  double median, low, high;
};

PairedRatio pairedRatio(const std::vector<double>& first, const std::vector<double>& other) {
  std::vector<double> ratios;
  for (std::size_t round = 0; round < first.size(); ++round)
    ratios.push_back(first[round] / other[round]);
  std::mt19937 random(20261207);  // fixed, so that the same times give the same interval
  std::uniform_int_distribution<std::size_t> pick(0, ratios.size() - 1);
  constexpr int RESAMPLES = 4000;
  std::vector<double> medians;
  std::vector<double> sample(ratios.size());
  for (int resample = 0; resample < RESAMPLES; ++resample) {
    for (double& value : sample) value = ratios[pick(random)];
    medians.push_back(median(sample));
  }
  std::sort(medians.begin(), medians.end());
  return {median(ratios), medians[RESAMPLES * 25 / 1000], medians[RESAMPLES * 975 / 1000 - 1]};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: measure_start RUNS program...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  if (runs < 1) {
    std::fprintf(stderr, "measure_start: RUNS must be 1 or more\n");
    return 2;
  }
  const int programs = argc - 2;
  std::vector<std::vector<double>> times(static_cast<std::size_t>(programs));
  for (int p = 0; p < programs; ++p) timeToSheet(argv[2 + p]);  // warm the caches once
  // Each round starts with the next program in turn, so that none always goes first.
  for (int run = 0; run < runs; ++run)
    for (int turn = 0; turn < programs; ++turn) {
      const int p = (run + turn) % programs;
      const double ms = timeToSheet(argv[2 + p]);
      if (ms < 0) {
        std::fprintf(stderr, "no sheet from %s\n", argv[2 + p]);
        return 1;
      }
      times[static_cast<std::size_t>(p)].push_back(ms);
    }
  for (int p = 0; p < programs; ++p) {
    const auto& t = times[static_cast<std::size_t>(p)];
    std::printf("%-40s median %8.1f ms  min %8.1f ms  max %8.1f ms  (%d runs)\n", argv[2 + p],
                median(t), *std::min_element(t.begin(), t.end()),
                *std::max_element(t.begin(), t.end()), runs);
  }
  for (int p = 1; p < programs; ++p) {
    const auto& other = times[static_cast<std::size_t>(p)];
    const PairedRatio ratio = pairedRatio(times[0], other);
    std::printf(
        "ratio %s / %s: paired median %.3f, 95%% interval %.3f to %.3f"
        "  (ratio of medians %.3f)\n",
        argv[2], argv[2 + p], ratio.median, ratio.low, ratio.high,
        median(times[0]) / median(other));
  }
  return 0;
}
