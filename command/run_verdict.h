// How a run of dvips or of Ghostscript ended, judged by what the program did: how it ended, what
// it printed and what it left. Its exit code alone is no verdict: dvips ends with 0 after
// replacing a font and with 1 after a missing figure, and may leave a file that ends in "%%EOF"
// after a fatal error.
#pragma once

#include <cstdint>

enum class Verdict { Done, Warned, Failed };

// Exit codes from 0xC0000000 on are the system's: the program was stopped (Ctrl+C gives
// 0xC000013A) or crashed.
constexpr bool endedAbnormally(std::uint32_t exitCode) { return exitCode >= 0xC0000000u; }

struct DvipsRun {
  bool started;
  bool stopped;  // its window was closed under it
  std::uint32_t exitCode;
  bool fatalLine;             // dvips marks every fatal error with "dvips: !"
  bool filesExpected;         // the plan names the files that dvips writes
  int filesWritten;           // of those, the ones this run wrote
  bool filesWhole;            // each of those has its pages and its end
  bool somethingWorthSaying;  // a cause was found, or a font will be a bitmap
};

struct GhostscriptRun {
  bool started;
  bool stopped;
  std::uint32_t exitCode;
  bool unrecoverable;  // Ghostscript printed "Unrecoverable error"
  bool purposeMissed;  // it said that the PDF is not what its purpose asks (no PDF/A)
  bool pdfWritten;     // the PDF is this run's
  bool pdfEnded;       // and has its closing "%%EOF"
  bool somethingWorthSaying;
};

Verdict dvipsVerdict(const DvipsRun& run);
Verdict ghostscriptVerdict(const GhostscriptRun& run);
