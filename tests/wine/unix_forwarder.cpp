// A Windows program that stands for a Unix tool: copied as dvips.exe it runs TeX Live's dvips,
// as gswin64c.exe (or gswin32c.exe, gs.exe, rungs.exe, mgs.exe) Debian's Ghostscript. Wine
// gives a program that starts a Unix tool directly no process handle, so nothing could wait for
// it; this one is a real Windows process that waits for the tool and ends with its exit code.
//
// Arguments that are Windows paths ("C:\...", or "-sName=C:\..."), are passed as Unix paths;
// the tool runs in the Unix form of the current directory. Everything is handed on in UTF-8.
//
// A Unix program started this way writes to Wine's own terminal, not to this program's standard
// handles. So the tool writes into two files, which this program reads while the tool runs and
// passes on to its own standard output and error, as the Windows builds of the tools write.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

using SpawnFunction = LONG(CDECL*)(char* const* argv, int wait);
using UnixNameFunction = char*(CDECL*)(const wchar_t* dosName);

UnixNameFunction unixFileName = nullptr;

// One of the tool's two outputs, passed on to a standard handle of this program.
struct Relay {
  std::wstring file;
  DWORD handle;
  volatile LONG toolEnded = 0;
};

// Copies what the file holds to the handle as it grows, until the tool has ended and all is read.
DWORD WINAPI relay(void* parameter) {
  Relay& relay = *static_cast<Relay*>(parameter);
  const HANDLE file = CreateFileW(relay.file.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const HANDLE out = GetStdHandle(relay.handle);
  char buffer[4096];
  for (;;) {
    const bool ended = InterlockedCompareExchange(&relay.toolEnded, 0, 0) != 0;
    DWORD read = 0;
    if (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
      DWORD written = 0;
      WriteFile(out, buffer, read, &written, nullptr);
      continue;
    }
    if (ended) break;
    Sleep(10);
  }
  CloseHandle(file);
  return 0;
}

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
  // Ghostscript for Unix takes ':' in --permit-file-read= for a list's separator: C: is named by
  // the folder that the prefix's link "dosdevices/c:" points to.
  const std::size_t link = out.find("/dosdevices/c:/");
  if (link != std::string::npos) out.replace(link, 15, "/drive_c/");
  return out;
}

std::string forwardedArgument(const wchar_t* argument) {
  if (isDrivePath(argument)) return unixPath(argument);
  const wchar_t* equals = wcschr(argument, L'=');
  if (argument[0] == L'-' && equals != nullptr && isDrivePath(equals + 1)) {
    const std::wstring name(argument, static_cast<std::size_t>(equals - argument + 1));
    return utf8(name.c_str()) + unixPath(equals + 1);
  }
  // A relative path, such as out\paper.dvi, read as the Windows tools read it.
  std::wstring relative(argument);
  if (argument[0] != L'-')
    for (wchar_t& c : relative)
      if (c == L'\\') c = L'/';
  return utf8(relative.c_str());
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

// Ghostscript for Windows opens a file that --permit-file-read= names by that Windows name in its
// PostScript; the Unix one is given, after the output file, a file operator that opens it by its
// Unix path.
void openPermittedFilesByWindowsNames(int count, wchar_t** arguments,
                                      std::vector<std::string>& words) {
  std::string renames;
  for (int index = 1; index < count; ++index)
    if (wcsncmp(arguments[index], L"--permit-file-read=", 19) == 0 &&
        isDrivePath(arguments[index] + 19))
      renames += "1 index (" + utf8(arguments[index] + 19) + ") eq { exch pop (" +
                 unixPath(arguments[index] + 19) + ") exch } if ";
  for (auto at = words.begin(); at != words.end() && !renames.empty(); ++at)
    if (at->rfind("-sOutputFile=", 0) == 0) {
      words.insert(at + 1, {"-c", "/file { " + renames + "//file } bind def", "-f"});
      break;
    }
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

  // Files for the tool's output, made empty before it starts.
  wchar_t temporary[MAX_PATH];
  GetTempPathW(MAX_PATH, temporary);
  const std::wstring base =
      std::wstring(temporary) + L"forwarder-" + std::to_wstring(GetCurrentProcessId());
  Relay relays[2] = {{base + L".out", STD_OUTPUT_HANDLE}, {base + L".err", STD_ERROR_HANDLE}};
  for (Relay& relay : relays)
    CloseHandle(CreateFileW(relay.file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
  HANDLE threads[2];
  for (int index = 0; index < 2; ++index)
    threads[index] = CreateThread(nullptr, 0, relay, &relays[index], 0, nullptr);

  // sh sends its output to the files, changes to the directory, then replaces itself with the
  // tool.
  std::vector<std::string> words = {"/bin/sh",
                                    "-c",
                                    "exec >\"$1\" 2>\"$2\" && cd \"$3\" && shift 3 && exec \"$@\"",
                                    "sh",
                                    unixPath(relays[0].file.c_str()),
                                    unixPath(relays[1].file.c_str()),
                                    unixPath(directory),
                                    toolName()};
  for (int index = 1; index < count; ++index) words.push_back(forwardedArgument(arguments[index]));
  if (words[7] == "gs") openPermittedFilesByWindowsNames(count, arguments, words);
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const LONG status = spawn(argv.data(), 1);
  for (Relay& relay : relays) InterlockedExchange(&relay.toolEnded, 1);
  WaitForMultipleObjects(2, threads, TRUE, INFINITE);
  for (Relay& relay : relays) DeleteFileW(relay.file.c_str());
  return static_cast<int>(status);
}
