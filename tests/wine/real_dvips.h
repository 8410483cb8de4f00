// Conversions by TeX Live's dvips, reached through a forwarder installed as dvips.exe.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The folder, ending in '\', that holds paper.dvi (six pages counted 11 to 16, made by plain
// TeX) and bin\dvips.exe; empty when the test run has none.
std::string texInputsFolder();

// Puts the forwarder's folder in front of this process's PATH, which corvane.exe inherits, so
// that the default program name "dvips.exe" finds it; the old PATH comes back on destruction.
struct ConverterOnPath {
  explicit ConverterOnPath(const std::string& inputs);
  explicit ConverterOnPath(const std::wstring& inputs);
  ~ConverterOnPath();
  ConverterOnPath(const ConverterOnPath&) = delete;
  ConverterOnPath& operator=(const ConverterOnPath&) = delete;
  std::wstring oldPath;
};

// The PostScript file once it is complete (ends with %%EOF); empty after the deadline. dvips
// runs as a Unix program here, which nothing can wait for, so the file is polled.
std::string waitForPostScript(const std::string& path, DWORD deadlineMs = 60000);

// Copies of the forwarder of main's Unix tools (tests/wine/unix_forwarder.cpp) under Windows
// programs' names, made where the lookups of corvane.exe find them, and removed again with the
// folders that were made for them.
struct InstalledForwarders {
  InstalledForwarders() = default;
  ~InstalledForwarders();
  InstalledForwarders(const InstalledForwarders&) = delete;
  InstalledForwarders& operator=(const InstalledForwarders&) = delete;
  // Copies the file (by default the forwarder) to the path, making the folders above it.
  bool install(const std::string& path, const std::string& from = "");
  bool install(const std::wstring& path, const std::string& from = "");
  std::vector<std::wstring> files, folders;
};

// What a Unix tool (such as pdfinfo) writes to its standard output, run through the forwarder with
// the arguments (Windows paths among them are passed as Unix ones); empty when it could not run.
std::string unixToolOutput(const std::string& tool, const std::string& arguments);

// Every "%%Page:" line, in order.
std::vector<std::string> pageLines(const std::string& postScript);

// The rest of the first line that starts with the comment, e.g. "%%BoundingBox:"; empty if none.
std::string commentValue(const std::string& postScript, const std::string& comment);
