// Operating the real corvane.exe from another process, as a user would, and observing it.
#include "tests/wine/driver.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

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
  // Wine reuses small process ids, so the start time makes the name unique across runs too.
  // Wine's short form of a long name is its first four characters and a hash of 15 bits, which
  // hundreds of folders in one place share by chance, and a short path then leads into another
  // folder; the counter first keeps those four characters apart.
  static const unsigned long long started = GetTickCount64();
  char unique[64];
  std::snprintf(unique, sizeof unique, "%04u-corvane-%lu-%llu-", ++counter, GetCurrentProcessId(),
                started);
  const std::string folder = std::string(temp) + unique + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

KeptRegistryValue::KeptRegistryValue(HKEY inRoot, std::string inKey, std::string inName)
    : root(inRoot), key(std::move(inKey)), name(std::move(inName)) {
  DWORD size = 0;
  if (RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                   &size) != ERROR_SUCCESS)
    return;
  data.resize(size);
  existed = RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                         data.data(), &size) == ERROR_SUCCESS;
  data.resize(size);
}

KeptRegistryValue::~KeptRegistryValue() {
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
  if (existed)
    RegSetValueExA(opened, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
  else
    RegDeleteValueA(opened, name.c_str());
  RegCloseKey(opened);
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

namespace {

void storeValue(const char* name, const std::vector<std::uint8_t>& bytes, DWORD type) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

std::vector<std::uint8_t> storedValue(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  DWORD size = 0;
  std::vector<std::uint8_t> bytes;
  if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    bytes.resize(size);
    if (RegQueryValueExA(key, name, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS)
      bytes.clear();
  }
  RegCloseKey(key);
  return bytes;
}

}  // namespace

void storeBytes(const std::vector<std::uint8_t>& bytes, DWORD type) {
  storeValue("Options", bytes, type);
}

PdfOptions defaultPdfRecord() {
  PdfOptions record;
  std::memset(&record, 0, sizeof record);
  record.magic = PDF_OPTIONS_MAGIC;
  record.size = PDF_OPTIONS_SIZE;
  record.version = PDF_OPTIONS_VERSION;
  record.reportFailure = 1;
  return record;
}

void storePdfRecord(const PdfOptions& record) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
  storeValue("PDF", std::vector<std::uint8_t>(bytes, bytes + sizeof record), REG_BINARY);
}

std::vector<std::uint8_t> storedPdfBytes() { return storedValue("PDF"); }

void storeRecord(const Options& record) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
  storeBytes(std::vector<std::uint8_t>(bytes, bytes + sizeof record));
}

std::vector<std::uint8_t> storedBytes() { return storedValue("Options"); }

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

PROCESS_INFORMATION startCorvaneWide(const std::wstring& arguments) {
  return startProgramWide(wideOf(corvanePath()), arguments);
}

PROCESS_INFORMATION startProgramWide(const std::wstring& program, const std::wstring& arguments,
                                     const std::wstring& directory) {
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &process))
    std::fprintf(stderr, "cannot start a program: error %lu\n", GetLastError());
  return process;
}

std::wstring wideOf(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(length));
  return wide;
}

std::string narrowOf(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow.data(), size, nullptr, nullptr);
  narrow.resize(std::strlen(narrow.c_str()));
  return narrow;
}

std::wstring extendedPath(const std::wstring& path) { return L"\\\\?\\" + path; }

bool createFileWide(const std::wstring& path, const std::string& content) {
  const HANDLE file =
      CreateFileW(extendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL wrote =
      WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  return wrote && written == content.size();
}

std::string lastQuoted(const std::string& command) {
  const std::size_t close = command.rfind('"');
  if (close == std::string::npos || close == 0) return {};
  const std::size_t open = command.rfind('"', close - 1);
  if (open == std::string::npos) return {};
  return command.substr(open + 1, close - open - 1);
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
  const std::function<bool(HWND)>* accept;
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
  if (*search->accept && !(*search->accept)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND findWindowOf(DWORD processId, const char* className, const char* caption,
                  const std::function<bool(HWND)>& accept) {
  WindowSearch search{processId, className, caption, &accept, nullptr};
  EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND findMessageBox(DWORD processId) {
  constexpr int MESSAGE_TEXT_ID = 0xFFFF;
  return findWindowOf(processId, "#32770", nullptr,
                      [](HWND box) { return GetDlgItem(box, MESSAGE_TEXT_ID) != nullptr; });
}

HWND waitForWindow(DWORD processId, const char* className, const char* caption, DWORD deadlineMs) {
  HWND found = nullptr;
  waitUntil([&] { return (found = findWindowOf(processId, className, caption)) != nullptr; },
            deadlineMs);
  return found;
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

void setControlTextWide(HWND dialog, int id, const std::wstring& text) {
  SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
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
  // The record is renamed into place complete, but for a moment after the rename the system may
  // still hold it open and refuse to share it: read until it reads.
  std::string content;
  if (!waitUntil(
          [&] {
            content = fileExists(logPath) ? readFile(logPath) : std::string();
            return !content.empty();
          },
          deadlineMs))
    return record;
  std::istringstream lines(content);
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
    if (name == "window") record.window = std::stoi(value);
  }
  record.found = true;
  return record;
}

bool onWindows64() {
  BOOL emulated = FALSE;
  return IsWow64Process(GetCurrentProcess(), &emulated) && emulated;
}

std::string nativeSystemFolder() {
  char folder[MAX_PATH];
  const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
  return std::string(folder, length) + "\\sysnative\\";
}

WORD machineOf(const std::string& path) {
  const std::string file = readFile(path);
  if (file.size() < 0x40 || file.compare(0, 2, "MZ") != 0) return 0;
  std::uint32_t header = 0;
  std::memcpy(&header, file.data() + 0x3C, sizeof header);
  if (file.size() < std::size_t{header} + 6 ||
      file.compare(header, 4, std::string("PE\0\0", 4)) != 0)
    return 0;
  WORD machine = 0;
  std::memcpy(&machine, file.data() + header + 4, sizeof machine);
  return machine;
}

bool sameFile(const std::string& first, const std::string& second) {
  BY_HANDLE_FILE_INFORMATION identities[2] = {};
  const std::string* paths[2] = {&first, &second};
  for (int index = 0; index < 2; ++index) {
    const HANDLE file = CreateFileA(paths[index]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const BOOL read = GetFileInformationByHandle(file, &identities[index]);
    CloseHandle(file);
    if (!read) return false;
  }
  return identities[0].dwVolumeSerialNumber == identities[1].dwVolumeSerialNumber &&
         identities[0].nFileIndexHigh == identities[1].nFileIndexHigh &&
         identities[0].nFileIndexLow == identities[1].nFileIndexLow;
}

DWORD processIdOf(const char* program, DWORD parentId) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD found = 0;
  for (BOOL more = Process32First(snapshot, &entry); more && found == 0;
       more = Process32Next(snapshot, &entry))
    if ((parentId == 0 || entry.th32ParentProcessID == parentId) &&
        lstrcmpiA(entry.szExeFile, program) == 0)
      found = entry.th32ProcessID;
  CloseHandle(snapshot);
  return found;
}

PROCESS_INFORMATION openProcess(DWORD processId) {
  PROCESS_INFORMATION process = {};
  process.hProcess =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
  if (process.hProcess != nullptr) process.dwProcessId = processId;
  return process;
}

bool startedNoConverter(DWORD parentId, const std::string& logPath) {
  const bool found = processIdOf("fake_dvips.exe", parentId) != 0;
  // Looked at after the process list: a converter that ended meanwhile has written its record.
  return !found && !fileExists(logPath);
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

std::wstring messageBoxTextWide(HWND box) {
  const HWND text = GetDlgItem(box, 0xFFFF);
  if (text == nullptr) return {};
  static wchar_t buffer[4096];
  const LRESULT length = SendMessageW(text, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer));
  return std::wstring(buffer, static_cast<std::size_t>(length));
}

std::wstring pathErrorText(DWORD code, const std::wstring& name) {
  std::wstring text = wideOf(systemMessage(code));
  if (text.empty() || text.back() != L'\n') text += L"\r\n";
  return text + L"\r\n" + name;
}

// --- Sheet and page checks ---

Options fakeConverterRecord() {
  Options record = defaultRecord();
  copyText(record.programFile, fakeConverterPath().c_str());
  record.windowMode = WINDOW_NORMAL;
  return record;
}

std::vector<std::uint8_t> bytesOf(const Options& record) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
  return std::vector<std::uint8_t>(bytes, bytes + sizeof record);
}

Options recordOf(const std::vector<std::uint8_t>& bytes) {
  Options record;
  std::memset(&record, 0, sizeof record);
  std::memcpy(&record, bytes.data(), bytes.size() < sizeof record ? bytes.size() : sizeof record);
  return record;
}

void createEmptyFile(const std::string& path) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

namespace {

struct DescendantSearch {
  const char* className;
  int id;
  HWND found;
};

BOOL CALLBACK matchDescendant(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<DescendantSearch*>(lParam);
  char name[256];
  if (GetDlgCtrlID(window) != search->id || GetClassNameA(window, name, sizeof name) == 0 ||
      std::strcmp(name, search->className) != 0)
    return TRUE;
  search->found = window;
  return FALSE;
}

struct OtherWindowSearch {
  DWORD processId;
  const char* caption;
  HWND other;
  HWND found;
};

BOOL CALLBACK matchOtherWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<OtherWindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || window == search->other || !IsWindowVisible(window) ||
      windowText(window) != search->caption)
    return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND findDescendant(HWND parent, const char* className, int id) {
  DescendantSearch search{className, id, nullptr};
  EnumChildWindows(parent, matchDescendant, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND waitForOtherWindow(DWORD processId, const char* caption, HWND other, DWORD deadlineMs) {
  OtherWindowSearch search{processId, caption, other, nullptr};
  waitUntil(
      [&] {
        EnumWindows(matchOtherWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      deadlineMs);
  return search.found;
}

int comboCount(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0)); }

// Asked from another process in the ANSI form, Wine hands back only an entry's first character;
// the wide form comes back whole.
std::string comboItem(HWND combo, int index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  char narrow[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, text.data(), -1, narrow, sizeof narrow - 1, nullptr, nullptr);
  return narrow;
}

void selectComboItem(HWND combo, int index) {
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void postCommand(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(findDescendant(dialog, "Button", id)));
}

namespace {

// The window's client area as the screen shows it, as bottom-up 24-bit rows padded to 4 bytes.
// (Without a window manager nobody draws the title bar, so the frame would come out black.)
bool captureWindow(HWND window, BITMAPINFOHEADER& header, std::vector<std::uint8_t>& pixels) {
  RECT client;
  if (!GetClientRect(window, &client)) return false;
  POINT corner = {0, 0};
  ClientToScreen(window, &corner);
  const RECT frame = {corner.x, corner.y, corner.x + client.right, corner.y + client.bottom};
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  if (width <= 0 || height <= 0) return false;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  const bool copied =
      BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY) != FALSE;
  SelectObject(memory, previous);
  header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  pixels.assign(stride * static_cast<std::size_t>(height), 0);
  header.biSizeImage = static_cast<DWORD>(pixels.size());
  const bool read =
      copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                          reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return read;
}

}  // namespace

char messageBoxIconKind(HWND box) {
  HWND icon = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr && icon == nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = child;
  if (icon == nullptr) return '?';
  char kind = '?';
  // The box paints when its process gets to it: look until one colour stands out.
  waitUntil([&] {
    BITMAPINFOHEADER header = {};
    std::vector<std::uint8_t> pixels;
    if (!captureWindow(icon, header, pixels)) return false;
    std::size_t yellow = 0, red = 0;
    for (std::size_t at = 0; at + 3 <= pixels.size(); at += 3) {
      const int blue = pixels[at], green = pixels[at + 1], redPart = pixels[at + 2];
      if (redPart > 180 && green > 150 && blue < 100) ++yellow;
      if (redPart > 150 && green < 90 && blue < 90) ++red;
    }
    if (yellow > 20 && yellow > 2 * red) kind = 'w';
    if (red > 20 && red > 2 * yellow) kind = 'e';
    return kind != '?';
  });
  return kind;
}

bool saveWindowImage(HWND window, const std::string& path) {
  BITMAPINFOHEADER header = {};
  std::vector<std::uint8_t> pixels, previous;
  // Painting happens when the other process gets to it: wait until the picture stands still.
  const bool steady = waitUntil([&] {
    previous.swap(pixels);
    if (!captureWindow(window, header, pixels)) return false;
    Sleep(250);
    return !previous.empty() && previous == pixels;
  });
  if (!steady) return false;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(pixels.data()),
            static_cast<std::streamsize>(pixels.size()));
  return out.good();
}

std::size_t colourCount(const std::string& path) {
  const std::string file = readFile(path);
  BITMAPFILEHEADER fileHeader;
  BITMAPINFOHEADER header;
  if (file.size() < sizeof fileHeader + sizeof header) return 0;
  std::memcpy(&fileHeader, file.data(), sizeof fileHeader);
  std::memcpy(&header, file.data() + sizeof fileHeader, sizeof header);
  if (fileHeader.bfType != 0x4D42 || header.biBitCount != 24 || file.size() != fileHeader.bfSize)
    return 0;
  std::set<std::uint32_t> colours;
  for (std::size_t at = fileHeader.bfOffBits; at + 3 <= file.size(); at += 3) {
    const auto* pixel = reinterpret_cast<const unsigned char*>(file.data() + at);
    colours.insert(pixel[0] | pixel[1] << 8 | pixel[2] << 16);
  }
  return colours.size();
}

std::string screenshotFolder(const std::string& subfolder) {
  std::string folder = buildFolder() + "screenshots\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  if (subfolder.empty()) return folder;
  folder += subfolder + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}
