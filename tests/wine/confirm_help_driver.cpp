// What the confirmation and help tests share.
#include "tests/wine/confirm_help_driver.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "resources/resource.h"

namespace {

const char* const LIBRARY_ORDER_KEY = "Software\\Wine\\AppDefaults\\corvane.exe\\DllOverrides";
// The system's own hhctrl.ocx while a stand-in takes its place.
std::string savedSystemHelp;

struct TextSearch {
  const char* text;
  HWND found;
};

BOOL CALLBACK matchText(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<TextSearch*>(lParam);
  if (windowText(window) != search->text) return TRUE;
  search->found = window;
  return FALSE;
}

std::string field(const std::string& line, const std::string& name) {
  const std::string key = "\t" + name + "=";
  const auto start = line.find(key);
  if (start == std::string::npos) return {};
  const auto from = start + key.size();
  const auto end = line.find('\t', from);
  return line.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

HelpRecordLine parseLine(const std::string& line) {
  HelpRecordLine parsed;
  parsed.isCall = line.rfind("HtmlHelpA\t", 0) == 0;
  parsed.module = field(line, "module");
  if (!parsed.isCall) return parsed;
  parsed.window = static_cast<UINT_PTR>(std::strtoul(field(line, "window").c_str(), nullptr, 10));
  parsed.className = field(line, "class");
  parsed.id = std::atoi(field(line, "id").c_str());
  parsed.path = field(line, "path");
  parsed.command = static_cast<unsigned>(std::strtoul(field(line, "command").c_str(), nullptr, 10));
  const std::string topic = field(line, "topic");
  parsed.hasTopic = !topic.empty();
  parsed.topic = std::strtoul(topic.c_str(), nullptr, 10);
  const std::string data = field(line, "data");
  parsed.hasData = !data.empty();
  std::istringstream words(data);
  std::string word;
  for (int index = 0; index < 4 && std::getline(words, word, ','); ++index)
    parsed.data[index] = std::strtoul(word.c_str(), nullptr, 10);
  return parsed;
}

}  // namespace

HWND confirmDialogNow(DWORD processId) {
  return findWindowOf(processId, "#32770", "",
                      [](HWND window) { return GetDlgItem(window, IDC_COMMAND_EDIT) != nullptr; });
}

HWND waitForConfirmDialog(DWORD processId, DWORD deadlineMs) {
  HWND dialog = nullptr;
  waitUntil([&] { return (dialog = confirmDialogNow(processId)) != nullptr; }, deadlineMs);
  return dialog;
}

HWND focusedWindowOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                            : nullptr;
}

bool focusControl(HWND control) {
  const HWND top = GetAncestor(control, GA_ROOT);
  if (!waitUntil([&] {
        if (GetForegroundWindow() == top) return true;
        SetForegroundWindow(top);
        return false;
      }))
    return false;
  PostMessageA(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  // A combo box passes the focus on to its edit.
  return waitUntil([&] {
    const HWND focus = focusedWindowOf(control);
    return focus == control || (focus != nullptr && GetParent(focus) == control);
  });
}

bool pressKey(WORD key, bool withShift) {
  INPUT keys[4] = {};
  UINT count = 0;
  const auto add = [&](WORD code, DWORD flags) {
    keys[count].type = INPUT_KEYBOARD;
    keys[count].ki.wVk = code;
    keys[count].ki.dwFlags = flags;
    ++count;
  };
  if (withShift) add(VK_SHIFT, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (withShift) add(VK_SHIFT, KEYEVENTF_KEYUP);
  return SendInput(count, keys, sizeof(INPUT)) == count;
}

bool pressF1In(HWND control) { return focusControl(control) && pressKey(VK_F1); }

void rightClick(HWND control) {
  RECT bounds;
  GetWindowRect(control, &bounds);
  POINT middle = {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
  // The click goes wherever the pointer is when it arrives: only once the control is the window
  // under that point (no sheet of an earlier test still closing over it) and the pointer has got
  // there (it may round to a neighbouring pixel) does the button go down.
  waitUntil([&] { return WindowFromPoint(middle) == control; });
  INPUT move = {};
  move.type = INPUT_MOUSE;
  // Absolute positions are in 65536ths of the screen; the extra unit keeps the rounding inside.
  move.mi.dx = middle.x * 65536 / GetSystemMetrics(SM_CXSCREEN) + 1;
  move.mi.dy = middle.y * 65536 / GetSystemMetrics(SM_CYSCREEN) + 1;
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &move, sizeof(INPUT));
  waitUntil([&] {
    POINT pointer;
    return GetCursorPos(&pointer) && WindowFromPoint(pointer) == control;
  });
  INPUT click[2] = {};
  for (INPUT& input : click) input.type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(2, click, sizeof(INPUT));
}

void postF1To(HWND control) {
  constexpr UINT WM_KEYF1 = 0x004D;
  PostMessageA(control, WM_KEYF1, 0, 0);
}

void postContextMenuFor(HWND control) {
  RECT bounds;
  GetWindowRect(control, &bounds);
  PostMessageA(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control),
               MAKELPARAM(bounds.left + 2, bounds.top + 2));
}

HWND childWithText(HWND dialog, const char* text) {
  TextSearch search{text, nullptr};
  EnumChildWindows(dialog, matchText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string recordingHelpPath() { return buildFolder() + "recording-help\\hhctrl.ocx"; }
std::string noHtmlHelpPath() { return buildFolder() + "no-html-help\\hhctrl.ocx"; }

std::string systemHelpPath() {
  char folder[MAX_PATH];
  GetSystemDirectoryA(folder, sizeof folder);
  return std::string(folder) + "\\hhctrl.ocx";
}

namespace {

// A library that a program which has just ended still maps cannot be replaced at once.
bool replaceFile(const std::string& from, const std::string& to) {
  return waitUntil([&] { return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0; }, 5000);
}

}  // namespace

bool installSystemHelp(const std::string& standIn) {
  if (savedSystemHelp.empty()) {
    savedSystemHelp = scratchFolder("system-help") + "hhctrl.ocx";
    if (!CopyFileA(systemHelpPath().c_str(), savedSystemHelp.c_str(), FALSE)) {
      savedSystemHelp.clear();
      return false;
    }
  }
  if (!replaceFile(standIn, systemHelpPath())) return false;
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, LIBRARY_ORDER_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) == ERROR_SUCCESS) {
    const char order[] = "native,builtin";
    RegSetValueExA(key, "hhctrl.ocx", 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                   sizeof order);
    RegCloseKey(key);
    return true;
  }
  return false;
}

bool restoreSystemHelp() {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\corvane.exe");
  return savedSystemHelp.empty() || replaceFile(savedSystemHelp, systemHelpPath());
}

std::string corvaneCopyWith(const std::string& planted, const std::string& name) {
  const std::string folder = scratchFolder(name);
  const std::string copy = folder + "corvane.exe";
  CopyFileA(corvanePath().c_str(), copy.c_str(), FALSE);
  if (!planted.empty()) CopyFileA(planted.c_str(), (folder + "hhctrl.ocx").c_str(), FALSE);
  return copy;
}

std::string helpFileOf(const std::string& exePath) {
  return exePath.substr(0, exePath.size() - 3) + "chm";
}

std::string newHelpLog(const std::string& name) {
  const std::string path = scratchFolder("help-" + name) + "help.log";
  DeleteFileA(path.c_str());
  SetEnvironmentVariableA("CORVANE_HELP_LOG", path.c_str());
  return path;
}

std::string freshConverterLog(const std::string& name) {
  const std::string path = newConverterLog(name);
  DeleteFileA(path.c_str());
  return path;
}

std::vector<HelpRecordLine> readHelpRecord(const std::string& logPath) {
  const std::string content = readFile(logPath);
  std::vector<HelpRecordLine> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(parseLine(content.substr(start, end - start)));
  return lines;
}

std::vector<HelpRecordLine> helpCalls(const std::string& logPath) {
  std::vector<HelpRecordLine> calls;
  for (const HelpRecordLine& line : readHelpRecord(logPath))
    if (line.isCall) calls.push_back(line);
  return calls;
}

std::vector<HelpRecordLine> waitForHelpCalls(const std::string& logPath, std::size_t count,
                                             DWORD deadlineMs) {
  std::vector<HelpRecordLine> calls;
  waitUntil([&] { return (calls = helpCalls(logPath)).size() >= count; }, deadlineMs);
  return calls;
}
