// The time from OK to the PDF: Corvane running the real dvips and Ghostscript on paper.dvi in
// the Hidden mode, against a batch file that runs the same two commands; then the same for
// "corvane /convert paper.dvi /pdf" typed in cmd, through corvane.com. Corvane's commands are
// taken from what it gives the stand-in converter, so the batch file runs exactly those. Each
// comparison runs in pairs, the order alternating; printed are the medians and the median of the
// per-pair ratios.
//   measure_pdf.exe [PAIRS]     (CORVANE_TEX_INPUTS: the folder that prepare-inputs.sh made)
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/driver.h"
#include "tests/wine/real_dvips.h"

namespace {

std::string folder, dvips, ghostscript;

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
  PROCESS_INFORMATION corvane = startCorvane("\"" + folder + "paper.dvi\"");
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
  PROCESS_INFORMATION corvane = startCorvane("\"" + folder + "paper.dvi\"");
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

void removeResults() {
  DeleteFileA((folder + "paper.ps").c_str());
  DeleteFileA((folder + "paper.pdf").c_str());
}

double corvaneRound() {
  removeResults();
  Options record = defaultRecord();
  record.windowMode = WINDOW_HIDDEN;
  PdfOptions pdf = defaultPdfRecord();
  pdf.makePdf = 1;
  copyText(pdf.ghostscriptFile, ghostscript.c_str());
  const double milliseconds = corvaneRun(record, pdf);
  return fileExists(folder + "paper.pdf") ? milliseconds : -1;
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
  return fileExists(folder + "paper.pdf") ? ended - began : -1;
}

double commandRound() {
  Options record = defaultRecord();
  PdfOptions pdf = defaultPdfRecord();
  copyText(pdf.ghostscriptFile, ghostscript.c_str());
  storeRecord(record);
  storePdfRecord(pdf);
  std::string typed = "\"";
  typed += buildFolder();
  typed += "corvane.com\" /convert paper.dvi /pdf";
  return typedRound(typed);
}

double median(std::vector<double> figures) {
  std::sort(figures.begin(), figures.end());
  return figures[figures.size() / 2];
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
    std::printf("  pair %d: Corvane %.0f ms, batch file %.0f ms, ratio %.3f\n", pair + 1, corvane,
                batchTime, corvane / batchTime);
    corvaneTimes.push_back(corvane);
    batchTimes.push_back(batchTime);
    ratios.push_back(corvane / batchTime);
  }
  std::printf(
      "%s: median %.0f ms; the same commands in a batch file: median %.0f ms; "
      "median ratio %.3f (target: within 1.05)\n",
      what, median(corvaneTimes), median(batchTimes), median(ratios));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string inputs = texInputsFolder();
  if (inputs.empty()) {
    std::printf("CORVANE_TEX_INPUTS names no folder with paper.dvi and bin\\dvips.exe\n");
    return 1;
  }
  folder = scratchFolder("pdf-bench");
  dvips = folder + "bin\\dvips.exe";
  ghostscript = folder + "bin\\gswin32c.exe";
  InstalledForwarders installed;
  if (!CopyFileA((inputs + "paper.dvi").c_str(), (folder + "paper.dvi").c_str(), FALSE) ||
      !installed.install(dvips) || !installed.install(ghostscript)) {
    std::printf("the document or the forwarders could not be copied\n");
    return 1;
  }
  const ConverterOnPath onPath(folder);

  const std::string dvipsCommand = commandGiven(false);
  const std::string ghostscriptCommand = commandGiven(true);
  if (dvipsCommand.empty() || ghostscriptCommand.empty()) {
    std::printf("Corvane's commands could not be learnt\n");
    return 1;
  }
  // Corvane has Ghostscript write a new file beside the PDF and puts it in the PDF's place; the
  // batch file writes the PDF itself, as such a file usually does.
  std::string batchGhostscript = ghostscriptCommand;
  const std::size_t output = batchGhostscript.find("-sOutputFile=");
  if (output != std::string::npos) {
    const std::size_t begin = output + 13, end = batchGhostscript.find('"', begin);
    batchGhostscript.replace(begin, end - begin, folder + "paper.pdf");
  }
  const std::string batch = folder + "convert.bat";
  const std::string script = "@echo off\r\n" + withProgram(dvipsCommand, dvips) + "\r\n" +
                             withProgram(batchGhostscript, ghostscript) + "\r\n";
  if (!createFileWide(wideOf(batch), script)) return 1;
  std::printf("the batch file runs:\n%s", script.c_str() + 11);

  return compare("from OK to the PDF", corvaneRound, batch, pairs) &&
                 compare("corvane /convert paper.dvi /pdf in cmd", commandRound, batch, pairs)
             ? 0
             : 1;
}
