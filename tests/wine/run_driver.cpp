// Plays the user for scripts/run on a display that nobody watches: opens the sheet on a DVI file,
// saves a picture of each page, ticks "Make a PDF file with Ghostscript" where the sheet has that
// page, presses OK, and waits for the programs that Corvane starts. Each step says what it did;
// a step that fails says which, and the driver ends with 1.
//   run_driver.exe DVI-FILE PICTURE-FOLDER
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/wine/driver.h"

namespace {

// The PDF page's check box, on sheets that have that page.
constexpr int MAKE_PDF_BOX = 5000;
// Fonts that TeX Live has to make first can hold dvips up for a while.
constexpr DWORD CONVERSION_DEADLINE_MS = 180000;

int failed(const std::string& step) {
  std::printf("run: FAILED: %s\n", step.c_str());
  std::fflush(stdout);
  return 1;
}

void say(const std::string& text) {
  std::printf("run: %s\n", text.c_str());
  std::fflush(stdout);
}

// A file name made of a page title: "Page Range" gives "page-range".
std::string slug(const std::string& title) {
  std::string name;
  for (const char c : title) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    else if (c == ' ' && !name.empty() && name.back() != '-')
      name += '-';
  }
  return name;
}

struct Started {
  DWORD id = 0;
  std::string name, command;
  HANDLE process = nullptr;
};

// The command line of another 32-bit process, read from its process parameters; empty while
// they are not yet in place.
std::string commandLineOf(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic = {};
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) !=
          0 ||
      basic.PebBaseAddress == nullptr)
    return {};
  PEB peb = {};
  RTL_USER_PROCESS_PARAMETERS parameters = {};
  if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
      peb.ProcessParameters == nullptr ||
      !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr) ||
      parameters.CommandLine.Length == 0)
    return {};
  std::wstring wide(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
  if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, wide.data(),
                         parameters.CommandLine.Length, nullptr))
    return {};
  char narrow[4096] = {};
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), narrow,
                      sizeof narrow - 1, nullptr, nullptr);
  return narrow;
}

// Adds the programs that the process has started since the last look; their handles are kept,
// so that their exit codes can be read after they have ended.
void noteChildren(DWORD parentId, std::vector<Started>& children) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID != parentId || lstrcmpiA(entry.szExeFile, "conhost.exe") == 0)
      continue;
    bool known = false;
    for (Started& child : children) {
      if (child.id != entry.th32ProcessID) continue;
      known = true;
      // A process that has only just been made has no file name in the list yet.
      if (child.name.empty()) child.name = entry.szExeFile;
    }
    if (known) continue;
    Started child;
    child.id = entry.th32ProcessID;
    child.name = entry.szExeFile;
    child.process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                                entry.th32ProcessID);
    children.push_back(child);
  }
  CloseHandle(snapshot);
  for (Started& child : children)
    if (child.command.empty() && child.process != nullptr)
      child.command = commandLineOf(child.process);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return failed("usage: run_driver.exe DVI-FILE PICTURE-FOLDER");
  const std::string dvi = argv[1];
  std::string pictures = argv[2];
  if (pictures.back() != '\\') pictures += '\\';
  CreateDirectoryA(pictures.c_str(), nullptr);

  PROCESS_INFORMATION corvane = startCorvane("\"" + dvi + "\"");
  if (corvane.hProcess == nullptr) return failed("corvane.exe did not start");
  const DWORD corvaneId = corvane.dwProcessId;
  const HWND sheet = waitForSheet(corvane);
  if (sheet == nullptr) return failed("the sheet did not open within 30 s");
  say("the sheet opened; DVI file: " + controlText(currentPage(sheet), IDC_DVI_FILE));

  // Each page in turn: settings that this run needs, then its picture. The last page stays
  // showing, so that OK stores it as leaving it would.
  bool pdf = false;
  const int pages = tabCount(sheet);
  for (int index = 0; index < pages; ++index) {
    const std::string title = tabTitle(sheet, index);
    const HWND page = selectTab(sheet, index);
    if (page == nullptr) return failed("page \"" + title + "\" did not show");
    if (GetDlgItem(page, IDC_CAPTURE) != nullptr && isButtonChecked(page, IDC_CAPTURE)) {
      // Capture would wait for a key that nobody here can press.
      clickButton(page, IDC_NORMAL);
      say("the stored settings use the Capture window, which waits for a key; this run uses "
          "Normal");
    }
    if (GetDlgItem(page, MAKE_PDF_BOX) != nullptr) {
      if (!isButtonChecked(page, MAKE_PDF_BOX)) clickButton(page, MAKE_PDF_BOX);
      if (!isButtonChecked(page, MAKE_PDF_BOX)) return failed("\"Make a PDF file\" did not tick");
      pdf = true;
      std::string label = controlText(page, MAKE_PDF_BOX);
      std::erase(label, '&');
      say("ticked \"" + label + "\" on page \"" + title + "\"");
    }
    char number[16];
    std::snprintf(number, sizeof number, "%d-", index + 1);
    const std::string picture = pictures + number + slug(title) + ".bmp";
    if (!saveWindowImage(sheet, picture)) return failed("no picture of page \"" + title + "\"");
    say("page \"" + title + "\": picture saved");
  }
  if (!pdf) say("this Corvane has no PDF page: dvips alone runs");

  pressSheetButton(sheet, PSBTN_OK);
  say("pressed OK");
  std::vector<Started> children;
  const DWORD pressed = GetTickCount();
  while (!hasExited(corvane)) {
    noteChildren(corvaneId, children);
    const HWND box = findWindowOf(corvaneId, "#32770", "Corvane Error");
    if (box != nullptr) {
      const std::string text = messageBoxText(box);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return failed("Corvane reported: " + text);
    }
    const HWND confirm = findWindowOf(corvaneId, "#32770", "");
    if (confirm != nullptr && GetDlgItem(confirm, IDC_COMMAND_EDIT) != nullptr) {
      say("the command line shown for review: " + controlText(confirm, IDC_COMMAND_EDIT));
      postClick(confirm, IDOK);
      say("pressed OK on it");
      Sleep(200);
    }
    if (GetTickCount() - pressed > CONVERSION_DEADLINE_MS)
      return failed("corvane.exe did not end after OK");
    Sleep(5);
  }
  noteChildren(corvaneId, children);
  const DWORD exitCode = waitForExit(corvane);
  if (exitCode != 0) return failed("corvane.exe ended with code " + std::to_string(exitCode));
  say("corvane.exe ended with code 0");

  if (children.empty()) say("no program started by corvane.exe was still running when looked at");
  std::string trouble;
  for (Started& child : children) {
    if (child.name.empty()) child.name = "a program (pid " + std::to_string(child.id) + ")";
    if (!child.command.empty()) say("corvane.exe ran: " + child.command);
    DWORD code = STILL_ACTIVE;
    if (child.process == nullptr ||
        WaitForSingleObject(child.process, CONVERSION_DEADLINE_MS) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(child.process, &code)) {
      trouble = child.name + " did not end in time, or could not be watched";
      say(trouble);
    } else {
      say(child.name + " ended with code " + std::to_string(code));
      if (code != 0) trouble = child.name + " ended with code " + std::to_string(code);
    }
    if (child.process != nullptr) CloseHandle(child.process);
  }
  if (!trouble.empty()) return failed(trouble);
  std::printf("pdf=%s\n", pdf ? "yes" : "no");
  return 0;
}
