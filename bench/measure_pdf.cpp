// The time to the PDF against a batch file that runs the same two commands, dvips then
// Ghostscript, for each document named: "corvane /convert DOCUMENT.dvi /pdf" typed in cmd (through
// corvane.com), and for the first document also Corvane's sheet from OK in the Hidden mode.
// Corvane's commands are taken from what it gives the stand-in converter, so the batch file runs
// exactly those. Each comparison runs in pairs, the order alternating; printed are the medians and
// the median of the per-pair ratios with its 95% interval from resampling the pairs. Then one run
// of each, the command and the batch file, with Wine's trace of processes and libraries on
// standard error, between lines "trace: NAME" and "trace end", for bench/time_split.py.
//   measure_pdf.exe PAIRS DOCUMENT...   (CORVANE_TEX_INPUTS: the folder holding DOCUMENT.dvi and
//                                        bin\dvips.exe, which prepare-inputs.sh made)
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "tests/wine/driver.h"
#include "tests/wine/real_dvips.h"

namespace {

std::string folder, dvips, ghostscript, document;

double nowMilliseconds() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The command with its first word, the program, put in quotes and replaced.
std::string withProgram(const std::string& command, const std::string& program) {
  const std::size_t end = command[0] == '"' ? command.find('"', 1) + 1 : command.find(' ');
  return "\"" + program + "\"" + command.substr(end);
}

// Corvane started on the document with the settings; the milliseconds from OK until it has ended,
// or a negative number when it did not end well.
double corvaneRun(const Options& record, const PdfOptions& pdf) {
  storeRecord(record);
  storePdfRecord(pdf);
  PROCESS_INFORMATION corvane = startCorvane("\"" + folder + document + ".dvi\"");
  const HWND sheet = waitForSheet(corvane);
  if (sheet == nullptr) return -1;
  const double began = nowMilliseconds();
  pressSheetButton(sheet, PSBTN_OK);
  const DWORD code = waitForExit(corvane, 120000);
  const double ended = nowMilliseconds();
  return code == 0 ? ended - began : -1;
}

// The command that Corvane gives the stand-in when it stands for dvips or for Ghostscript.
std::string commandGiven(bool forGhostscript) {
  Options record = defaultRecord();
  record.windowMode = WINDOW_HIDDEN;
  if (!forGhostscript) copyText(record.programFile, fakeConverterPath().c_str());
  PdfOptions pdf = defaultPdfRecord();
  pdf.reportFailure = 0;
  pdf.makePdf = forGhostscript ? 1 : 0;
  copyText(pdf.ghostscriptFile, fakeConverterPath().c_str());
  storeRecord(record);
  storePdfRecord(pdf);
  const std::string log = newConverterLog(forGhostscript ? "pdf-ghostscript" : "pdf-dvips");
  PROCESS_INFORMATION corvane = startCorvane("\"" + folder + document + ".dvi\"");
  const HWND sheet = waitForSheet(corvane);
  if (sheet == nullptr) return {};
  pressSheetButton(sheet, PSBTN_OK);
  const ConverterRecord ran = waitForConverterRecord(log, 60000);
  // The stand-in writes no PDF, which Corvane tells in a box.
  HWND box = nullptr;
  waitUntil([&] {
    box = findWindowOf(corvane.dwProcessId, "#32770", "Corvane Error");
    return box != nullptr || hasExited(corvane);
  });
  if (box != nullptr) PostMessageA(box, WM_COMMAND, IDOK, 0);
  waitForExit(corvane);
  return ran.found ? ran.command : std::string();
}

std::string resultFile(const char* extension) { return folder + document + extension; }

void removeResults() {
  DeleteFileA(resultFile(".ps").c_str());
  DeleteFileA(resultFile(".pdf").c_str());
}

double corvaneRound() {
  removeResults();
  Options record = defaultRecord();
  record.windowMode = WINDOW_HIDDEN;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  copyText(pdf.ghostscriptFile, ghostscript.c_str());
  const double milliseconds = corvaneRun(record, pdf);
  return fileExists(resultFile(".pdf")) ? milliseconds : -1;
}

// A command typed in cmd with no window, as an editor or make runs it; the milliseconds until the
// PDF, or a negative number when none was made.
double typedRound(const std::string& typed) {
  removeResults();
  std::string command = "cmd.exe /c \"" + typed + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const double began = nowMilliseconds();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      folder.c_str(), &startup, &process))
    return -1;
  CloseHandle(process.hThread);
  waitForExit(process, 120000);
  const double ended = nowMilliseconds();
  return fileExists(resultFile(".pdf")) ? ended - began : -1;
}

double commandRound() {
  Options record = defaultRecord();
  PdfOptions pdf = defaultPdfRecord();
  copyText(pdf.ghostscriptFile, ghostscript.c_str());
  storeRecord(record);
  storePdfRecord(pdf);
  std::string typed = "\"";
  typed += buildFolder();
  typed += "corvane.com\" /convert " + document + ".dvi /pdf";
  return typedRound(typed);
}

double median(std::vector<double> figures) {
  std::sort(figures.begin(), figures.end());
  const std::size_t middle = figures.size() / 2;
  return figures.size() % 2 ? figures[middle] : (figures[middle - 1] + figures[middle]) / 2;
}

// The 95% interval of the median ratio, from resampling the pairs.
std::pair<double, double> ratioInterval(const std::vector<double>& ratios) {
  std::mt19937 random(20261208);  // fixed, so that the same times give the same interval
  std::uniform_int_distribution<std::size_t> pick(0, ratios.size() - 1);
  constexpr int RESAMPLES = 4000;
  std::vector<double> medians, sample(ratios.size());
  for (int resample = 0; resample < RESAMPLES; ++resample) {
    for (double& value : sample) value = ratios[pick(random)];
    medians.push_back(median(sample));
  }
  std::sort(medians.begin(), medians.end());
  return {medians[RESAMPLES * 25 / 1000], medians[RESAMPLES * 975 / 1000 - 1]};
}

// Pairs of Corvane's round and the batch file's, the order alternating, each of one first so
// that both find the programs and the document in the file cache.
bool compare(const char* what, double (*corvaneRound)(), const std::string& batch, int pairs) {
  if (corvaneRound() < 0 || typedRound(batch) < 0) {
    std::printf("%s: a first run made no PDF\n", what);
    return false;
  }
  std::vector<double> corvaneTimes, batchTimes, ratios;
  for (int pair = 0; pair < pairs; ++pair) {
    const bool corvaneFirst = pair % 2 == 0;
    const double first = corvaneFirst ? corvaneRound() : typedRound(batch);
    const double second = corvaneFirst ? typedRound(batch) : corvaneRound();
    const double corvane = corvaneFirst ? first : second, batchTime = corvaneFirst ? second : first;
    if (corvane < 0 || batchTime < 0) {
      std::printf("pair %d made no PDF\n", pair + 1);
      return false;
    }
    corvaneTimes.push_back(corvane);
    batchTimes.push_back(batchTime);
    ratios.push_back(corvane / batchTime);
  }
  const auto [low, high] = ratioInterval(ratios);
  std::printf(
      "%s: median %.0f ms; the same commands in a batch file: median %.0f ms; "
      "median ratio %.3f, 95%% interval %.3f to %.3f (%d pairs)\n",
      what, median(corvaneTimes), median(batchTimes), median(ratios), low, high, pairs);
  std::fflush(stdout);
  return true;
}

// One run of each, the command and the batch file, with Wine's trace of process starts, exit
// codes read and libraries loaded, the run's own processes and not this one's.
void traceRuns(const std::string& batch) {
  for (const bool corvane : {true, false}) {
    std::fprintf(stderr, "trace: %s on %s\n", corvane ? "corvane /convert" : "batch file",
                 document.c_str());
    std::fflush(stderr);
    SetEnvironmentVariableA("WINEDEBUG", "+timestamp,+pid,+loaddll,+process");
    corvane ? commandRound() : typedRound(batch);
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    std::fprintf(stderr, "trace end\n");
    std::fflush(stderr);
  }
}

// The batch file of the commands that Corvane runs on the document, or an empty name.
std::string writeBatchFile() {
  const std::string dvipsCommand = commandGiven(false);
  const std::string ghostscriptCommand = commandGiven(true);
  if (dvipsCommand.empty() || ghostscriptCommand.empty()) {
    std::printf("Corvane's commands could not be learnt\n");
    return {};
  }
  // Corvane has Ghostscript write a new file beside the PDF and puts it in the PDF's place; the
  // batch file writes the PDF itself, as such a file usually does.
  std::string batchGhostscript = ghostscriptCommand;
  const std::size_t output = batchGhostscript.find("-sOutputFile=");
  if (output != std::string::npos) {
    const std::size_t begin = output + 13, end = batchGhostscript.find('"', begin);
    batchGhostscript.replace(begin, end - begin, resultFile(".pdf"));
  }
  const std::string batch = folder + document + ".bat";
  const std::string script = "@echo off\r\n" + withProgram(dvipsCommand, dvips) + "\r\n" +
                             withProgram(batchGhostscript, ghostscript) + "\r\n";
  if (!createFileWide(wideOf(batch), script)) return {};
  std::printf("for %s.dvi the batch file runs:\n%s", document.c_str(), script.c_str() + 11);
  return batch;
}

}  // namespace

int main(int argc, char** argv) {
  const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string inputs = texInputsFolder();
  if (inputs.empty() || argc < 3) {
    std::printf(
        "usage: measure_pdf PAIRS DOCUMENT... with CORVANE_TEX_INPUTS naming the folder "
        "of the DVI files and bin\\dvips.exe\n");
    return 1;
  }
  folder = scratchFolder("pdf-bench");
  dvips = folder + "bin\\dvips.exe";
  ghostscript = folder + "bin\\gswin32c.exe";
  InstalledForwarders installed;
  if (!installed.install(dvips) || !installed.install(ghostscript)) {
    std::printf("the forwarders could not be copied\n");
    return 1;
  }
  const ConverterOnPath onPath(folder);
  for (int index = 2; index < argc; ++index) {
    document = argv[index];
    if (!CopyFileA((inputs + document + ".dvi").c_str(), resultFile(".dvi").c_str(), FALSE)) {
      std::printf("%s.dvi could not be copied\n", document.c_str());
      return 1;
    }
    const std::string batch = writeBatchFile();
    const std::string typed = "corvane /convert " + document + ".dvi /pdf in cmd";
    if (batch.empty() ||
        (index == 2 && !compare("from OK to the PDF", corvaneRound, batch, pairs)) ||
        !compare(typed.c_str(), commandRound, batch, pairs))
      return 1;
    traceRuns(batch);
  }
  return 0;
}
