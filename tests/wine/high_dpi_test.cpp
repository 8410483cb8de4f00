// The pages and the confirmation dialog at the resolutions that users set: every control lies
// inside its page or dialog, and no caption is wider than the control that shows it. The
// prefix's resolution (LogPixels) is read by each program as it starts, so each run of
// corvane.exe here sees the resolution set just before it. Pictures of the pages at 144 DPI
// (150 %, the usual laptop setting) are kept in the build folder under screenshots\144-dpi\.
#include <cstdio>
#include <string>

#include "tests/wine/confirm_help_driver.h"
#include "tests/wine/sheet_session.h"

namespace {

const char* const DESKTOP_KEY = "Control Panel\\Desktop";
const char* const PAGE_NAMES[] = {"Files", "Page Range", "Page Style", "DVIPS Options", "PDF"};
const char* const PICTURE_NAMES[] = {"files", "page-range", "page-style", "dvips-options", "pdf"};
constexpr int PAGE_TEMPLATE_WIDTH = 272;  // the widest page template, in dialog units
constexpr int CONFIRM_TEMPLATE_WIDTH = 256;

// The templates' font at a resolution, as the dialog manager makes it, with its base units.
struct TemplateFont {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = nullptr;
  HGDIOBJ previous = nullptr;
  int dpi;
  int baseX = 0;
  int digitWidth = 0;

  explicit TemplateFont(int resolution) : dpi(resolution) {
    font = CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    previous = SelectObject(dc, font);
    const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    SIZE size;
    GetTextExtentPoint32A(dc, letters, 52, &size);
    baseX = (size.cx / 26 + 1) / 2;
    GetTextExtentPoint32A(dc, "0", 1, &size);
    digitWidth = size.cx;
  }
  ~TemplateFont() {
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
  }
  TemplateFont(const TemplateFont&) = delete;
  TemplateFont& operator=(const TemplateFont&) = delete;

  // Width of a caption as a control draws it: an '&' marks the next letter and takes no room.
  int captionWidth(const std::string& text) const {
    RECT bounds = {0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), -1, &bounds, DT_CALCRECT | DT_SINGLELINE);
    return bounds.right - bounds.left;
  }
};

// The room a control leaves for its caption, or -1 for a control that shows the user's text.
int captionRoom(HWND control, const TemplateFont& font) {
  char className[32] = "";
  GetClassNameA(control, className, sizeof className);
  RECT client;
  GetClientRect(control, &client);
  const int width = client.right;
  const auto style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
  if (lstrcmpiA(className, "Static") == 0) return width;
  if (lstrcmpiA(className, "Button") != 0) return -1;
  switch (style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
    case BS_AUTORADIOBUTTON:
      // The box, then half a digit's width of space before the caption.
      return width - (MulDiv(12, font.dpi, 96) + 1) - font.digitWidth / 2;
    case BS_GROUPBOX:
      // The caption interrupts the top line of the frame, a character's width from each end.
      return width - 2 * font.baseX;
    default: return width - 2 * GetSystemMetrics(SM_CXEDGE);
  }
}

struct Fit {
  int controls = 0;
  int narrowest = 1 << 30;  // the smallest room left over by a caption, in pixels
  std::string where;
};

// Checks every control of a page or dialog; the findings name the window and the control.
void expectControlsFit(HWND window, const char* name, const TemplateFont& font, Fit& fit) {
  RECT inside;
  GetClientRect(window, &inside);
  for (HWND control = GetWindow(window, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    if (!IsWindowVisible(control)) continue;
    ++fit.controls;
    const std::string text = windowText(control);
    const int id = GetDlgCtrlID(control);
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_TRUE(bounds.left >= 0 && bounds.top >= 0 && bounds.right <= inside.right &&
                bounds.bottom <= inside.bottom)
        << name << ", control " << id << " \"" << text << "\" at (" << bounds.left << ", "
        << bounds.top << ", " << bounds.right << ", " << bounds.bottom << ") outside (0, 0, "
        << inside.right << ", " << inside.bottom << ")";
    const int room = captionRoom(control, font);
    if (room < 0 || text.empty()) continue;
    const int width = font.captionWidth(text);
    EXPECT_LE(width, room) << name << ", control " << id << " \"" << text << "\": caption " << width
                           << " px wide, room for " << room << " px";
    if (room - width < fit.narrowest) {
      fit.narrowest = room - width;
      fit.where = std::string(name) + ": \"" + text + "\"";
    }
  }
}

class HighDpi : public SheetSession {
 protected:
  // The other tests run at the prefix's own resolution.
  const KeptRegistryValue savedDpi{HKEY_CURRENT_USER, DESKTOP_KEY, "LogPixels"};

  static void setResolution(DWORD dpi) {
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    RegCloseKey(key);
  }

  static std::string pictureFolder() { return screenshotFolder("144-dpi"); }
};

TEST_F(HighDpi, PagesAndConfirmationFitAtEachResolution) {
  Options record = fakeConverterRecord();
  copyText(record.dviFile, "C:\\Papers\\paper.dvi");
  copyText(record.psFile, "C:\\Papers\\paper.ps");
  record.showCommandLine = 1;
  for (const int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(std::to_string(dpi) + " DPI");
    setResolution(static_cast<DWORD>(dpi));
    const TemplateFont font(dpi);
    Fit fit;
    ASSERT_NE(open(record), nullptr);
    for (int index = FILES_PAGE; index <= PDF_PAGE; ++index) {
      const HWND shown = page(index);
      // The page is laid out in this font: the program runs at this resolution.
      RECT client;
      GetClientRect(shown, &client);
      EXPECT_EQ(client.right, MulDiv(PAGE_TEMPLATE_WIDTH, font.baseX, 4)) << PAGE_NAMES[index];
      expectControlsFit(shown, PAGE_NAMES[index], font, fit);
      if (dpi == 144) {
        const std::string path = pictureFolder() + PICTURE_NAMES[index] + ".bmp";
        DeleteFileA(path.c_str());
        EXPECT_TRUE(saveWindowImage(sheet, path)) << path;
      }
    }
    pressSheetButton(sheet, PSBTN_OK);
    const HWND dialog = waitForConfirmDialog(corvane.dwProcessId);
    ASSERT_NE(dialog, nullptr);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, MulDiv(CONFIRM_TEMPLATE_WIDTH, font.baseX, 4)) << "confirmation";
    expectControlsFit(dialog, "confirmation", font, fit);
    if (dpi == 144) {
      const std::string path = pictureFolder() + "confirmation.bmp";
      DeleteFileA(path.c_str());
      EXPECT_TRUE(saveWindowImage(dialog, path)) << path;
    }
    postClick(dialog, IDCANCEL);
    EXPECT_EQ(waitForExit(corvane), 0u);
    std::printf(
        "%d DPI: %d controls checked in the 5 pages and the confirmation dialog; narrowest "
        "caption room %d px (%s)\n",
        dpi, fit.controls, fit.narrowest, fit.where.c_str());
  }
}

// At 144 DPI the system draws the sheet's icons larger: the large one that the taskbar and
// Alt+Tab show and the small one in the title bar are each an image of the size drawn, not one
// shrunk or blown up from another size.
TEST_F(HighDpi, TheSheetHasBothIconsAtTheSizesDrawn) {
  setResolution(144);
  ASSERT_NE(openAgain(), nullptr);
  const HHOOK hook = placeIconHook(corvane.dwThreadId);
  ASSERT_NE(hook, nullptr);
  std::string sizes;
  EXPECT_TRUE(waitUntil([&] {
    sizes = askThroughIconHook(
        sheet, "Corvane test icon sizes",
        {"Corvane icon sizes: big right small right", "Corvane icon sizes: big right small wrong",
         "Corvane icon sizes: big wrong small right", "Corvane icon sizes: big wrong small wrong",
         "Corvane icon sizes: big none small right", "Corvane icon sizes: big none small wrong",
         "Corvane icon sizes: big none small none"});
    return sizes == "Corvane icon sizes: big right small right";
  })) << sizes;
  UnhookWindowsHookEx(hook);
  cancel();
}

}  // namespace
