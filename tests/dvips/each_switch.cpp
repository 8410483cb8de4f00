// Prints, one per line, the switches that the composer writes for each setting that yields one,
// so that the real dvips can be asked to accept every one of them.
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "command/command_line.h"
#include "options/options.h"
#include "tests/native/fakes.h"

int main() {
  const std::vector<std::function<void()>> settings = {
      [] { copyText(options.psFile, "OUTPUT"); },
      [] { options.encapsulated = 1; },
      [] { copyText(options.pageRanges, "12-13,15"); },
      [] { options.firstPage = 12; },
      [] { options.firstPage = 2, options.useTexNumbers = 0; },
      [] { options.lastPage = 14; },
      [] { options.lastPage = 4, options.useTexNumbers = 0; },
      [] { options.pageParity = 1; },
      [] { options.pageParity = 2; },
      [] { options.copies = 2, options.copyMode = 0; },
      [] { options.copies = 2, options.copyMode = 1; },
      [] { options.copies = 2, options.copyMode = 2; },
      [] { options.reverseOrder = 1; },
      [] { copyText(options.paperType, "a4"); },
      [] { options.magnification = 1200; },
      [] { options.magnification = 1200, options.multiplyDviMag = 1; },
      [] { options.landscape = 1; },
      [] { options.manualFeed = 1; },
      [] { copyText(options.offset, "1in,0.5in"); },
      [] { copyText(options.paperSize, "210mm,297mm"); },
      [] { options.resolution = 600; },
      [] { options.horizontalResolution = 300; },
      [] { options.verticalResolution = 600; },
      [] { copyText(options.printer, "pdf"); },
      [] { options.quiet = 1; },
      [] { options.createFonts = 0; },
  };
  for (const auto& set : settings) {
    resetFakes();
    resetOptions();
    setDefaultOptions();
    copyText(options.programFile, "dvips");
    fakeShortNames["dvips"] = "dvips";
    set();
    if (composeCommandLine() != 1) return 1;
    std::puts(commandLine + std::strlen("dvips "));
  }
  return 0;
}
