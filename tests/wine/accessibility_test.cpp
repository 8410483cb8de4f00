// What a screen reader and a keyboard user meet on the sheet: the names that the system's
// accessibility runtime (oleacc) gives the inputs, the order in which Tab and Shift+Tab visit
// every control, and Enter and Esc closing the sheet from the controls that do not take them.
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/wine/confirm_help_driver.h"
#include "tests/wine/sheet_session.h"

namespace {

// The inputs that no label precedes, which the program names after their group boxes.
const int INPUTS_IN_GROUP_BOXES[] = {IDC_DVI_FILE, IDC_PS_FILE, IDC_PROGRAM_FILE,
                                     IDC_GHOSTSCRIPT_FILE};

bool isInGroupBox(HWND control) {
  for (const int id : INPUTS_IN_GROUP_BOXES)
    if (GetDlgCtrlID(control) == id) return true;
  return false;
}

std::string classOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// A label as the screen shows it: the '&' that marks its mnemonic is not drawn.
std::string withoutMnemonic(const std::string& text) {
  std::string shown;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '&' && at + 1 < text.size()) ++at;
    shown += text[at];
  }
  return shown;
}

std::string shortcutOf(const std::string& label) {
  const std::size_t mark = label.find('&');
  if (mark == std::string::npos || mark + 1 >= label.size()) return "";
  return std::string("Alt+") + label[mark + 1];
}

std::string narrowed(BSTR text) {
  if (text == nullptr) return "";
  std::string result = narrowOf(std::wstring(text, SysStringLen(text)));
  SysFreeString(text);
  return result;
}

// What the runtime says of a control in corvane.exe, asked from here as a screen reader asks.
struct Announced {
  bool found = false;
  std::string name, shortcut;
};

Announced announced(HWND control) {
  Announced result;
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&accessible))) ||
      accessible == nullptr)
    return result;
  result.found = true;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (accessible->get_accName(self, &text) == S_OK) result.name = narrowed(text);
  text = nullptr;
  if (accessible->get_accKeyboardShortcut(self, &text) == S_OK) result.shortcut = narrowed(text);
  accessible->Release();
  return result;
}

// Wine's runtime names an edit after the nearest static text before it among its siblings (the
// rule of Windows, which stops at a control that takes the focus, is checked on the templates by
// the native tests); it names a combo box by its own text, so only edits are asked here.
HWND staticBefore(HWND control) {
  for (HWND before = GetWindow(control, GW_HWNDPREV); before != nullptr;
       before = GetWindow(before, GW_HWNDPREV))
    if (classOf(before) == "Static") return before;
  return nullptr;
}

bool takesTab(HWND control) {
  const auto style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
  return (style & WS_TABSTOP) != 0 && IsWindowVisible(control) && IsWindowEnabled(control);
}

// Where the focus is, once it has moved from where it was.
HWND focusAfterKey(HWND sheet, HWND before, WORD key, bool withShift) {
  if (!pressKey(key, withShift)) return nullptr;
  HWND now = nullptr;
  waitUntil([&] {
    now = focusedWindowOf(sheet);
    return now != nullptr && now != before;
  });
  return now;
}

std::string describe(HWND control) {
  return classOf(control) + " " + std::to_string(GetDlgCtrlID(control)) + " \"" +
         windowText(control) + "\"";
}

class Accessibility : public SheetSession {};

// The annotation service's server, which the test points at the recording stand-in for its run.
const char* const SERVICE_SERVER_KEY =
    "Software\\Classes\\CLSID\\{B5F8350B-0548-48B1-A6EE-88BD00B4A5E7}\\InprocServer32";

class Annotations : public SheetSession {
 protected:
  void SetUp() override {
    SheetSession::SetUp();
    const std::string standIn = buildFolder() + "recording_annotations.dll";
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, SERVICE_SERVER_KEY, nullptr, REG_SZ,
                              standIn.c_str(), static_cast<DWORD>(standIn.size() + 1)),
              ERROR_SUCCESS);
    log = scratchFolder("annotations") + "annotations.log";
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("CORVANE_ANNOTATION_LOG", log.c_str());
  }
  void TearDown() override {
    SheetSession::TearDown();
    SetEnvironmentVariableA("CORVANE_ANNOTATION_LOG", nullptr);
  }

  const KeptRegistryValue savedServer{HKEY_LOCAL_MACHINE, SERVICE_SERVER_KEY, ""};
  std::string log;
};

HWND groupBoxBefore(HWND control) {
  for (HWND before = GetWindow(control, GW_HWNDPREV); before != nullptr;
       before = GetWindow(before, GW_HWNDPREV))
    if (classOf(before) == "Button" &&
        (GetWindowLongA(before, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
      return before;
  return nullptr;
}

// Wine's runtime keeps no annotation, so what the program gives is recorded by a stand-in for
// the service: each input that follows its Browse button is named, once its page has been shown,
// after the group box that holds it as the screen shows its caption, and given no shortcut.
TEST_F(Annotations, InputsThatFollowTheirBrowseButtonsAreNamedAfterTheirGroupBoxes) {
  ASSERT_NE(openAgain(), nullptr);
  std::string expected;
  for (const int index : {FILES_PAGE, DVIPS_PAGE, PDF_PAGE}) {
    const HWND shown = page(index);
    for (const int id : INPUTS_IN_GROUP_BOXES) {
      const HWND input = GetDlgItem(shown, id);
      if (input == nullptr) continue;
      const HWND group = groupBoxBefore(input);
      ASSERT_NE(group, nullptr) << describe(input);
      expected += std::to_string(id) + "\tname\t" + withoutMnemonic(windowText(group)) + "\n";
    }
  }
  std::string recorded;
  EXPECT_TRUE(waitUntil([&] {
    recorded = readFile(log);
    return recorded.size() >= expected.size();
  })) << recorded;
  // Each page is named once it has painted, so the pages' lines may come in any order.
  const auto lines = [](const std::string& text) {
    std::vector<std::string> sorted;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      sorted.push_back(text.substr(start, end - start));
    std::sort(sorted.begin(), sorted.end());
    return sorted;
  };
  EXPECT_EQ(lines(recorded), lines(expected));
  cancel();
}

TEST_F(Accessibility, EveryEditThatALabelPrecedesIsNamedAfterIt) {
  ASSERT_NE(openAgain(), nullptr);
  int asked = 0;
  for (int index = FILES_PAGE; index <= PDF_PAGE; ++index) {
    const HWND shown = page(index);
    for (HWND control = GetWindow(shown, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
      if (classOf(control) != "Edit" || isInGroupBox(control)) continue;
      const HWND label = staticBefore(control);
      ASSERT_NE(label, nullptr) << "page " << index << ": no label before " << describe(control);
      const std::string caption = windowText(label);
      const Announced said = announced(control);
      ASSERT_TRUE(said.found) << describe(control);
      EXPECT_EQ(said.name, withoutMnemonic(caption)) << describe(control);
      EXPECT_EQ(said.shortcut, shortcutOf(caption)) << describe(control);
      ++asked;
    }
  }
  // Page Range 4, Page Style 5, DVIPS Options 2, PDF 1.
  EXPECT_EQ(asked, 12);
  cancel();
}

// From the tabs, Tab goes through the page's controls in the order that they are laid out, then
// to OK, Cancel and Help and back to the tabs; Shift+Tab goes the same way back.
TEST_F(Accessibility, TabAndShiftTabVisitEveryControlOfEveryPageInOrder) {
  ASSERT_NE(openAgain(), nullptr);
  // The sheet gives its first page the focus once it has started; on a busy machine that can come
  // after the sheet is found, and would move the focus away from the keys' path.
  ASSERT_EQ(WaitForInputIdle(corvane.hProcess, 30000), 0u);
  const HWND tabs = findDescendant(sheet, WC_TABCONTROLA, 0x3020);
  ASSERT_NE(tabs, nullptr);
  for (int index = FILES_PAGE; index <= PDF_PAGE; ++index) {
    SCOPED_TRACE("page " + std::to_string(index));
    const HWND shown = page(index);
    std::vector<HWND> expected;
    for (HWND control = GetWindow(shown, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT))
      if (takesTab(control)) expected.push_back(control);
    for (const int button : {IDOK, IDCANCEL, IDHELP}) expected.push_back(GetDlgItem(sheet, button));
    expected.push_back(tabs);
    ASSERT_TRUE(focusControl(tabs));
    HWND at = tabs;
    for (const HWND next : expected) {
      // A combo box's focus is in its edit.
      at = focusAfterKey(sheet, at, VK_TAB, false);
      ASSERT_TRUE(at == next || GetParent(at) == next)
          << "Tab reached " << (at ? describe(at) : "nothing") << " for " << describe(next);
    }
    for (auto back = expected.rbegin() + 1; back != expected.rend(); ++back) {
      at = focusAfterKey(sheet, at, VK_TAB, true);
      ASSERT_TRUE(at == *back || GetParent(at) == *back)
          << "Shift+Tab reached " << (at ? describe(at) : "nothing") << " for " << describe(*back);
    }
  }
  cancel();
}

// Enter is OK and Esc is Cancel from an edit, a combo box, a check box, a radio button and the
// PDF page's read-only text, which takes neither key any more than a label does.
TEST_F(Accessibility, EnterAndEscCloseTheSheetFromEveryKindOfControl) {
  struct Place {
    int page, control;
  };
  const Place places[] = {{FILES_PAGE, IDC_DVI_FILE},
                          {STYLE_PAGE, IDC_PAPER_TYPE},
                          {FILES_PAGE, IDC_ENCAPSULATED},
                          {RANGE_PAGE, IDC_ALL_PAGES},
                          {PDF_PAGE, IDC_PROGRAMS_THAT_RUN}};
  for (const Place& place : places) {
    for (const bool enter : {true, false}) {
      SCOPED_TRACE(std::string(enter ? "Enter" : "Esc") + " in control " +
                   std::to_string(place.control));
      ASSERT_NE(open(fakeConverterRecord()), nullptr);
      const HWND control = GetDlgItem(page(place.page), place.control);
      ASSERT_TRUE(focusControl(control));
      ASSERT_TRUE(pressKey(enter ? VK_RETURN : VK_ESCAPE));
      ASSERT_EQ(waitForExit(corvane), 0u) << "the sheet stayed open";
      EXPECT_EQ(converterRan(), enter);
    }
  }
}

}  // namespace
