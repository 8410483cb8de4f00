// A Windows program that stands for a Unix tool: copied as dvips.exe it runs TeX Live's dvips,
// as gswin64c.exe (or gswin32c.exe, gs.exe, rungs.exe, mgs.exe) Debian's Ghostscript. Wine
// gives a program that starts a Unix tool directly no process handle, so nothing could wait for
// it; this one is a real Windows process that waits for the tool and ends with its exit code.
//
// Arguments that are Windows paths ("C:\...", or "-sName=C:\..."), are passed as Unix paths;
// the tool runs in the Unix form of the current directory. Everything is handed on in UTF-8.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

using SpawnFunction = LONG(CDECL*)(char* const* argv, int wait);
using UnixNameFunction = char*(CDECL*)(const wchar_t* dosName);

UnixNameFunction unixFileName = nullptr;

std::string utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(size - 1));
  return out;
}

bool isDrivePath(const wchar_t* text) {
  return ((text[0] | 0x20) >= L'a' && (text[0] | 0x20) <= L'z') && text[1] == L':' &&
         (text[2] == L'\\' || text[2] == L'/');
}

std::string unixPath(const wchar_t* windowsPath) {
  char* converted = unixFileName != nullptr ? unixFileName(windowsPath) : nullptr;
  if (converted == nullptr) return utf8(windowsPath);
  std::string out(converted);
  HeapFree(GetProcessHeap(), 0, converted);
  return out;
}

std::string forwardedArgument(const wchar_t* argument) {
  if (isDrivePath(argument)) return unixPath(argument);
  const wchar_t* equals = wcschr(argument, L'=');
  if (argument[0] == L'-' && equals != nullptr && isDrivePath(equals + 1)) {
    const std::wstring name(argument, static_cast<std::size_t>(equals - argument + 1));
    return utf8(name.c_str()) + unixPath(equals + 1);
  }
  return utf8(argument);
}

// The tool that this copy stands for, from its own file name.
std::string toolName() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring name(self, length);
  const std::size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  CharLowerW(name.data());
  if (name.size() > 4 && name.compare(name.size() - 4, 4, L".exe") == 0)
    name.resize(name.size() - 4);
  for (const wchar_t* ghostscript : {L"gswin64c", L"gswin32c", L"gs", L"rungs", L"mgs"})
    if (name == ghostscript) return "gs";
  return utf8(name.c_str());
}

}  // namespace

int main() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  const auto spawn = reinterpret_cast<SpawnFunction>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "__wine_unix_spawnvp")));
  unixFileName = reinterpret_cast<UnixNameFunction>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (spawn == nullptr) return 127;

  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return 127;
  wchar_t directory[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, directory);

  // sh changes to the directory, then replaces itself with the tool.
  std::vector<std::string> words = {
      "/bin/sh", "-c", "cd \"$1\" && shift && exec \"$@\"", "sh", unixPath(directory), toolName()};
  for (int index = 1; index < count; ++index) words.push_back(forwardedArgument(arguments[index]));
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  return static_cast<int>(spawn(argv.data(), 1));
}
