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
  ~ConverterOnPath();
  ConverterOnPath(const ConverterOnPath&) = delete;
  ConverterOnPath& operator=(const ConverterOnPath&) = delete;
  std::string oldPath;
};

// The PostScript file once it is complete (ends with %%EOF); empty after the deadline. dvips
// runs as a Unix program here, which nothing can wait for, so the file is polled.
std::string waitForPostScript(const std::string& path, DWORD deadlineMs = 60000);

// Every "%%Page:" line, in order.
std::vector<std::string> pageLines(const std::string& postScript);

// The rest of the first line that starts with the comment, e.g. "%%BoundingBox:"; empty if none.
std::string commentValue(const std::string& postScript, const std::string& comment);
