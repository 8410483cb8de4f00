// Operating the real corvane.exe from another process, as a user would, and observing it.
#include "tests/wine/driver.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

const char* const SETTINGS_KEY = "Software\\Tolmarek\\Corvane\\Version 1.00";

}  // namespace

std::string buildFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string corvanePath() { return buildFolder() + "corvane.exe"; }
std::string fakeConverterPath() { return buildFolder() + "fake_dvips.exe"; }

std::string scratchFolder(const std::string& name) {
  static unsigned counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  char unique[64];
  std::snprintf(unique, sizeof unique, "corvane-%lu-%u-", GetCurrentProcessId(), ++counter);
  const std::string folder = std::string(temp) + unique + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

Options defaultRecord() {
  Options record;
  std::memset(&record, 0, sizeof record);
  record.magic = OPTIONS_MAGIC;
  record.size = OPTIONS_SIZE;
  copyText(record.programFile, "dvips.exe");
  record.createFonts = record.useTexNumbers = record.useDviDirectory = 1;
  record.windowMode = WINDOW_NORMAL;
  return record;
}

void clearStoredRecord() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tolmarek"); }

void storeBytes(const std::vector<std::uint8_t>& bytes, DWORD type) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, "Options", 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

void storeRecord(const Options& record) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
  storeBytes(std::vector<std::uint8_t>(bytes, bytes + sizeof record));
}

std::vector<std::uint8_t> storedBytes() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  DWORD size = 0;
  std::vector<std::uint8_t> bytes;
  if (RegQueryValueExA(key, "Options", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    bytes.resize(size);
    if (RegQueryValueExA(key, "Options", nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS)
      bytes.clear();
  }
  RegCloseKey(key);
  return bytes;
}

PROCESS_INFORMATION startProgram(const std::string& program, const std::string& arguments) {
  std::string command = "\"" + program + "\"";
  if (!arguments.empty()) command += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    std::fprintf(stderr, "cannot start %s: error %lu\n", command.c_str(), GetLastError());
  return process;
}

PROCESS_INFORMATION startCorvane(const std::string& arguments) {
  return startProgram(corvanePath(), arguments);
}

bool hasExited(const PROCESS_INFORMATION& process) {
  return process.hProcess == nullptr || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
}

DWORD waitForExit(PROCESS_INFORMATION& process, DWORD deadlineMs) {
  if (process.hProcess == nullptr) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, deadlineMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  } else {
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, 5000);
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  process = {};
  return code;
}

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* caption;
  HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  char name[256];
  if (search->className != nullptr &&
      (GetClassNameA(window, name, sizeof name) == 0 || std::strcmp(name, search->className) != 0))
    return TRUE;
  if (search->caption != nullptr && windowText(window) != search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND waitForWindow(DWORD processId, const char* className, const char* caption, DWORD deadlineMs) {
  WindowSearch search{processId, className, caption, nullptr};
  waitUntil(
      [&] {
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      deadlineMs);
  return search.found;
}

HWND waitForSheet(const PROCESS_INFORMATION& process) {
  const HWND sheet = waitForWindow(process.dwProcessId, "#32770", "Corvane");
  // The sheet is shown before its first page has been filled; wait for that page.
  if (sheet != nullptr) waitUntil([&] { return currentPage(sheet) != nullptr; });
  return sheet;
}

HWND currentPage(HWND sheet) {
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

HWND selectTab(HWND sheet, int index) {
  SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  return currentPage(sheet);
}

int tabCount(HWND sheet) {
  const HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  return static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
}

// The tab control's item texts live in the other process: ask for them through memory there.
std::string tabTitle(HWND sheet, int index) {
  const HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  DWORD processId = 0;
  GetWindowThreadProcessId(tabs, &processId);
  const HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return {};
  constexpr SIZE_T textSize = 128;
  auto* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, sizeof(TCITEMA) + textSize, MEM_COMMIT, PAGE_READWRITE));
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = remote + sizeof(TCITEMA);
  item.cchTextMax = textSize;
  WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
  SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote));
  char text[textSize] = {};
  ReadProcessMemory(process, remote + sizeof(TCITEMA), text, textSize - 1, nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return text;
}

void pressSheetButton(HWND sheet, int button) {
  PostMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
}

std::string windowText(HWND window) {
  char text[4096];
  const LRESULT length =
      SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, static_cast<std::size_t>(length));
}

std::string controlText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }

void setControlText(HWND dialog, int id, const std::string& text) {
  SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool isButtonChecked(HWND dialog, int id) {
  return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void clickButton(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void postClick(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool fileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

std::string newConverterLog(const std::string& name) {
  const std::string path = scratchFolder("log-" + name) + "converter.log";
  SetEnvironmentVariableA("CORVANE_FAKE_LOG", path.c_str());
  return path;
}

ConverterRecord waitForConverterRecord(const std::string& logPath, DWORD deadlineMs) {
  ConverterRecord record;
  if (!waitUntil([&] { return fileExists(logPath); }, deadlineMs)) return record;
  std::istringstream lines(readFile(logPath));
  std::string line;
  while (std::getline(lines, line)) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = line.substr(0, equals), value = line.substr(equals + 1);
    if (name == "command") record.command = value;
    if (name == "directory") record.directory = value;
    if (name == "show") record.show = std::stoi(value);
    if (name == "flags") record.flags = std::stoi(value);
    if (name == "console") record.console = std::stoi(value);
  }
  record.found = true;
  return record;
}

PROCESS_INFORMATION startProgramIn(const std::string& program, const std::string& arguments,
                                   const std::string& directory) {
  std::string command = "\"" + program + "\"";
  if (!arguments.empty()) command += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &process))
    std::fprintf(stderr, "cannot start %s in %s: error %lu\n", command.c_str(), directory.c_str(),
                 GetLastError());
  return process;
}

std::string shortPathOf(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return {};
  return std::string(buffer, length);
}

std::string systemMessage(DWORD code) {
  char buffer[260];
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, buffer, sizeof buffer, nullptr);
  return std::string(buffer, length);
}

std::string messageBoxText(HWND box) {
  const HWND text = GetDlgItem(box, 0xFFFF);
  return text == nullptr ? std::string() : windowText(text);
}
