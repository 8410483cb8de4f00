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

ConverterOnPath::ConverterOnPath(const std::string& inputs) {
  static char path[32767];
  const DWORD length = GetEnvironmentVariableA("PATH", path, sizeof path);
  oldPath.assign(path, length);
  SetEnvironmentVariableA("PATH", (inputs + "bin;" + oldPath).c_str());
}

ConverterOnPath::~ConverterOnPath() { SetEnvironmentVariableA("PATH", oldPath.c_str()); }

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
