// Conversions by TeX Live's dvips, reached through a forwarder installed as dvips.exe.
#include "tests/wine/real_dvips.h"

#include "tests/wine/driver.h"

std::string texInputsFolder() {
  char folder[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("CORVANE_TEX_INPUTS", folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return {};
  std::string path(folder, length);
  if (path.back() != '\\') path += '\\';
  return fileExists(path + "paper.dvi") && fileExists(path + "bin\\dvips.exe") ? path : "";
}

ConverterOnPath::ConverterOnPath(const std::string& inputs) : ConverterOnPath(wideOf(inputs)) {}

ConverterOnPath::ConverterOnPath(const std::wstring& inputs) {
  static wchar_t path[32767];
  const DWORD length = GetEnvironmentVariableW(L"PATH", path, 32767);
  oldPath.assign(path, length);
  SetEnvironmentVariableW(L"PATH", (inputs + L"bin;" + oldPath).c_str());
}

ConverterOnPath::~ConverterOnPath() { SetEnvironmentVariableW(L"PATH", oldPath.c_str()); }

std::string waitForPostScript(const std::string& path, DWORD deadlineMs) {
  std::string content;
  const bool complete = waitUntil(
      [&] {
        content = readFile(path);
        const auto end = content.find_last_not_of("\r\n");
        return end != std::string::npos && end >= 4 && content.compare(end - 4, 5, "%%EOF") == 0;
      },
      deadlineMs);
  return complete ? content : std::string();
}

std::vector<std::string> pageLines(const std::string& postScript) {
  std::vector<std::string> pages;
  std::size_t at = 0;
  while ((at = postScript.find("\n%%Page:", at)) != std::string::npos) {
    ++at;
    const std::size_t end = postScript.find_first_of("\r\n", at);
    pages.push_back(postScript.substr(at, end - at));
    at = end;
  }
  return pages;
}

std::string commentValue(const std::string& postScript, const std::string& comment) {
  const std::size_t at = postScript.find("\n" + comment);
  if (at == std::string::npos) return {};
  const std::size_t start = postScript.find_first_not_of(' ', at + 1 + comment.size());
  const std::size_t end = postScript.find_first_of("\r\n", start);
  return postScript.substr(start, end - start);
}

InstalledForwarders::~InstalledForwarders() {
  for (const std::wstring& file : files) DeleteFileW(file.c_str());
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
    RemoveDirectoryW(folder->c_str());
}

bool InstalledForwarders::install(const std::string& path, const std::string& from) {
  return install(wideOf(path), from);
}

bool InstalledForwarders::install(const std::wstring& path, const std::string& from) {
  for (std::size_t separator = path.find(L'\\', 3); separator != std::wstring::npos;
       separator = path.find(L'\\', separator + 1)) {
    const std::wstring folder = path.substr(0, separator);
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES &&
        CreateDirectoryW(folder.c_str(), nullptr))
      folders.push_back(folder);
  }
  const std::string source = from.empty() ? buildFolder() + "unix_forwarder.exe" : from;
  if (!CopyFileW(wideOf(source).c_str(), path.c_str(), FALSE)) return false;
  files.push_back(path);
  return true;
}

std::string unixToolOutput(const std::string& tool, const std::string& arguments) {
  static const std::string folder = scratchFolder("unix-tools");
  const std::string program = folder + tool + ".exe";
  const std::string output = folder + tool + ".out";
  if (!fileExists(program) &&
      !CopyFileA((buildFolder() + "unix_forwarder.exe").c_str(), program.c_str(), FALSE))
    return {};
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  const HANDLE file = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                  CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  // The forwarder's standard output is the file, and so is the tool's.
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = file;
  PROCESS_INFORMATION process = {};
  std::string command = "\"" + program + "\" " + arguments;
  const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(file);
  if (!started) return {};
  waitForExit(process, 60000);
  return readFile(output);
}
