// Pictures of each page as the screen shows it, kept in the build folder under screenshots\ so
// that a person can look at them after a run.
#include <cstring>
#include <set>
#include <string>

#include "tests/wine/sheet_session.h"

namespace {

std::string screenshotFolder() {
  const std::string folder = buildFolder() + "screenshots\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// The number of different colours in a 24-bit BMP file, 0 when it is not one.
std::size_t colourCount(const std::string& path) {
  const std::string file = readFile(path);
  BITMAPFILEHEADER fileHeader;
  BITMAPINFOHEADER header;
  if (file.size() < sizeof fileHeader + sizeof header) return 0;
  std::memcpy(&fileHeader, file.data(), sizeof fileHeader);
  std::memcpy(&header, file.data() + sizeof fileHeader, sizeof header);
  if (fileHeader.bfType != 0x4D42 || header.biBitCount != 24 || file.size() != fileHeader.bfSize)
    return 0;
  std::set<std::uint32_t> colours;
  for (std::size_t at = fileHeader.bfOffBits; at + 3 <= file.size(); at += 3) {
    const auto* pixel = reinterpret_cast<const unsigned char*>(file.data() + at);
    colours.insert(pixel[0] | pixel[1] << 8 | pixel[2] << 16);
  }
  return colours.size();
}

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
