// Joining the console of another process: reading its title and cells, writing its input.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/wine/driver.h"

// Under Wine a program started from this one shares this one's console, a graphical program
// too, which then cannot allocate a console of its own; so this process leaves its console
// first. Its report goes through the C runtime's standard output, which stays bound to the pipe
// or file it was started with. When standard output is that console, it stays: false.
inline bool leaveOwnConsole() {
  DWORD mode = 0;
  if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) return false;
  FreeConsole();
  return true;
}

// This process joins another's console for a while. Its own output goes through the C
// runtime's standard output, which stays bound to the pipe it was started with.
class AttachedConsole {
 public:
  AttachedConsole() = default;
  AttachedConsole(const AttachedConsole&) = delete;
  AttachedConsole& operator=(const AttachedConsole&) = delete;
  ~AttachedConsole() { detach(); }

  // Polls until the process has a console to join.
  bool attach(DWORD processId, DWORD deadlineMs = DEADLINE_MS) {
    detach();
    FreeConsole();
    attached_ = waitUntil([&] { return AttachConsole(processId) != 0; }, deadlineMs);
    if (!attached_) return false;
    output_ = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    input_ = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
    return output_ != INVALID_HANDLE_VALUE && input_ != INVALID_HANDLE_VALUE;
  }

  void detach() {
    if (output_ != INVALID_HANDLE_VALUE) CloseHandle(output_);
    if (input_ != INVALID_HANDLE_VALUE) CloseHandle(input_);
    output_ = input_ = INVALID_HANDLE_VALUE;
    if (attached_) FreeConsole();
    attached_ = false;
  }

  std::string title() const {
    char text[512];
    const DWORD length = GetConsoleTitleA(text, sizeof text);
    return std::string(text, length);
  }

  COORD size() const {
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    if (!GetConsoleScreenBufferInfo(output_, &info)) return COORD{0, 0};
    return info.dwSize;
  }

  std::vector<WORD> attributes() const {
    const COORD cells = size();
    std::vector<WORD> result(static_cast<std::size_t>(cells.X) * cells.Y);
    DWORD read = 0;
    if (!result.empty() &&
        !ReadConsoleOutputAttribute(output_, result.data(), result.size(), COORD{0, 0}, &read))
      return {};
    result.resize(read);
    return result;
  }

  // The whole buffer, one line of text per row with its trailing blanks removed.
  std::string characters() const {
    const COORD cells = size();
    std::string all;
    std::vector<char> row(static_cast<std::size_t>(cells.X));
    for (SHORT y = 0; y < cells.Y; ++y) {
      DWORD read = 0;
      if (!ReadConsoleOutputCharacterA(output_, row.data(), row.size(), COORD{0, y}, &read)) break;
      std::string line(row.data(), read);
      line.erase(line.find_last_not_of(' ') + 1);
      all += line + "\n";
    }
    return all;
  }

  // The same in wide characters, as the console holds them.
  std::wstring wideCharacters() const {
    const COORD cells = size();
    std::wstring all;
    std::vector<wchar_t> row(static_cast<std::size_t>(cells.X));
    for (SHORT y = 0; y < cells.Y; ++y) {
      DWORD read = 0;
      if (!ReadConsoleOutputCharacterW(output_, row.data(), row.size(), COORD{0, y}, &read)) break;
      std::wstring line(row.data(), read);
      all += line.erase(line.find_last_not_of(L' ') + 1) + L"\n";
    }
    return all;
  }

  // The records written to the console's input that no process has read yet.
  DWORD unreadInput() const {
    DWORD count = 0;
    return GetNumberOfConsoleInputEvents(input_, &count) ? count : 0;
  }

  bool write(const INPUT_RECORD& record) const {
    DWORD written = 0;
    return WriteConsoleInputA(input_, &record, 1, &written) && written == 1;
  }

 private:
  bool attached_ = false;
  HANDLE output_ = INVALID_HANDLE_VALUE;
  HANDLE input_ = INVALID_HANDLE_VALUE;
};

inline INPUT_RECORD keyEvent(bool down) {
  INPUT_RECORD record = {};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = down ? TRUE : FALSE;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualKeyCode = 'Q';
  record.Event.KeyEvent.uChar.AsciiChar = 'q';
  return record;
}
