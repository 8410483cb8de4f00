// corvane.com, the console twin of corvane.exe: cmd, PowerShell and make wait for a console
// program and pass on its exit code, which they do not for a program with windows. For a command
// it starts corvane.exe beside it with the same arguments and its own standard handles, waits,
// and ends with its exit code; for the sheet it starts corvane.exe as cmd starts a program with
// windows, and gives the prompt back at once. It has no C runtime: kernel32 alone, so that it
// stays a few KiB.
#include <windows.h>

namespace {

wchar_t program[MAX_PATH];
// The quoted program and the arguments, at most the longest command line that Windows takes.
wchar_t command[MAX_PATH + 3 + 32768];
STARTUPINFOW startup;
PROCESS_INFORMATION process;

// Ctrl+C and Ctrl+Break are for the run in the console: corvane.exe tells how it ended.
BOOL WINAPI stayOnControlKeys(DWORD event) {
  return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}

// Everything after the program word, by Windows' rule for it, the blanks before it kept.
const wchar_t* argumentsOf(const wchar_t* line) {
  while (*line == L' ' || *line == L'\t') ++line;
  if (*line == L'"') {
    for (++line; *line != L'\0' && *line != L'"' && *line != L'\t';) ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  }
  return line;
}

// The handle as one that the child inherits; a missing one stays missing.
HANDLE inherited(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  HANDLE copy = nullptr;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
      !DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                       DUPLICATE_SAME_ACCESS))
    return handle;
  return copy;
}

// The sheet, by corvane.exe's rule: no argument, or one that names an existing file, or one word
// that is no switch. Anything else is a command, or a slip that corvane.exe tells as one.
bool opensSheet(const wchar_t* first) {
  if (*first == L'\0') return true;
  if (*first == L'/' || *first == L'-') return false;
  static wchar_t file[MAX_PATH];
  const wchar_t* from = first;
  int length = lstrlenW(from);
  while (length > 0 && (from[length - 1] == L' ' || from[length - 1] == L'\t')) --length;
  if (length > 1 && from[0] == L'"' && from[length - 1] == L'"') {
    ++from;
    length -= 2;
  }
  if (length < MAX_PATH) {
    lstrcpynW(file, from, length + 1);
    if (GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES) return true;
  }
  // One word: the sheet names the missing file itself.
  bool quoted = false;
  for (const wchar_t* at = first; *at != L'\0'; ++at) {
    if (*at == L'"') quoted = !quoted;
    if (!quoted && (*at == L' ' || *at == L'\t') && at[1] != L' ' && at[1] != L'\t' &&
        at[1] != L'\0')
      return false;
  }
  return true;
}

void say(const wchar_t* text) {
  DWORD written = 0;
  char bytes[MAX_PATH * 3];
  const int length =
      WideCharToMultiByte(GetConsoleOutputCP(), 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  if (length > 1)
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes, static_cast<DWORD>(length - 1), &written,
              nullptr);
}

}  // namespace

extern "C" void twinMain() {
  SetConsoleCtrlHandler(stayOnControlKeys, TRUE);
  DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
  // corvane.exe: this program's path with its extension, whatever it is, replaced.
  while (length > 0 && program[length - 1] != L'.' && program[length - 1] != L'\\') --length;
  if (length == 0 || program[length - 1] != L'.' || length + 3 >= MAX_PATH) ExitProcess(4);
  lstrcpyW(program + length, L"exe");
  const wchar_t* arguments = argumentsOf(GetCommandLineW());
  lstrcpyW(command, L"\"");
  lstrcatW(command, program);
  lstrcatW(command,
           *arguments == L' ' || *arguments == L'\t' || *arguments == L'\0' ? L"\"" : L"\" ");
  lstrcpynW(command + lstrlenW(command), arguments, 32768);
  startup.cb = sizeof startup;
  const wchar_t* first = arguments;
  while (*first == L' ' || *first == L'\t') ++first;
  // The sheet's run has a console of its own, and the prompt is not held while the sheet is open.
  const bool sheet = opensSheet(first);
  if (!sheet) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inherited(STD_INPUT_HANDLE);
    startup.hStdOutput = inherited(STD_OUTPUT_HANDLE);
    startup.hStdError = inherited(STD_ERROR_HANDLE);
  }
  if (!CreateProcessW(program, command, nullptr, nullptr, sheet ? FALSE : TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    say(L"corvane: cannot start ");
    say(program);
    say(L"\r\n");
    ExitProcess(4);
  }
  if (sheet) ExitProcess(0);
  DWORD code = 4;
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, &code);
  ExitProcess(code);
}
