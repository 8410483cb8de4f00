// Pictures of each page as the screen shows it, kept in the build folder under screenshots\ so
// that a person can look at them after a run.
#include <string>

#include "tests/wine/sheet_session.h"

namespace {

class PageScreenshots : public SheetSession {};

TEST_F(PageScreenshots, EachPageIsCaptured) {
  Options preset = fakeConverterRecord();
  copyText(preset.dviFile, "C:\\Papers\\paper.dvi");
  copyText(preset.psFile, "C:\\Papers\\paper.ps");
  preset.firstPage = 3;
  preset.lastPage = 10;
  preset.pageParity = 1;
  preset.copies = 2;
  copyText(preset.paperType, "a4");
  preset.magnification = 1200;
  preset.landscape = 1;
  preset.resolution = 600;
  copyText(preset.otherOptions, "-Z");
  preset.quiet = 1;
  ASSERT_NE(open(preset), nullptr);
  const std::string folder = screenshotFolder();
  const char* const names[] = {"files", "page-range", "page-style", "dvips-options", "pdf"};
  for (int index = FILES_PAGE; index <= PDF_PAGE; ++index) {
    page(index);
    const std::string path = folder + names[index] + ".bmp";
    DeleteFileA(path.c_str());
    ASSERT_TRUE(saveWindowImage(sheet, path)) << path;
    // A page drawn with its controls has text, frames and a background: many colours.
    EXPECT_GT(colourCount(path), 8u) << path;
  }

  const HWND dialog = [&] {
    postClick(page(FILES_PAGE), IDC_DVI_BROWSE);
    return waitForWindow(corvane.dwProcessId, "#32770", "Open");
  }();
  ASSERT_NE(dialog, nullptr);
  const std::string path = folder + "open-dvi-file.bmp";
  ASSERT_TRUE(saveWindowImage(dialog, path)) << path;
  EXPECT_GT(colourCount(path), 8u) << path;
  postCommand(dialog, IDCANCEL);
  EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
  cancel();
}

}  // namespace
