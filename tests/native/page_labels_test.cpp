// The page templates as a screen reader on Windows reads them. Windows' accessibility runtime
// names an input (an edit or a combo box) after a label before it: it walks back from the input
// among its siblings and takes the first static text, or group box, that it meets, passing over
// hidden controls and giving up at a control that starts a group or takes the focus, as the
// dialog manager does. (Wine's runtime takes the nearest static text however far back, and names
// a combo box by its own text; the tests under Wine ask it about the edits.) Every input either
// has such a label or is one that the program names after its group box; the PDF page repeats no
// mnemonic.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Control {
  std::string text, id, className;
  std::set<std::string> styles;  // every style name, the macros of the script expanded

  bool has(const std::string& style) const { return styles.count(style) != 0; }
  bool isGroupBox() const { return className == "Button" && has("BS_GROUPBOX"); }
  bool isLabel() const { return className == "Static" || isGroupBox(); }
  bool isInput() const { return className == "Edit" || className == "ComboBox"; }
};

using Page = std::vector<Control>;

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  const std::size_t last = text.find_last_not_of(" \t\r");
  return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

void expand(const std::string& expression, const std::map<std::string, std::string>& macros,
            std::set<std::string>& styles) {
  std::istringstream parts(expression);
  for (std::string part; std::getline(parts, part, '|');) {
    part = trimmed(part);
    const auto macro = macros.find(part);
    if (macro != macros.end())
      expand(macro->second, macros, styles);
    else
      styles.insert(part);
  }
}

// CONTROL "text", id, "class", style, x, y, width, height
Control parseControl(const std::string& line, const std::map<std::string, std::string>& macros) {
  Control control;
  const std::size_t open = line.find('"');
  const std::size_t close = line.find('"', open + 1);
  control.text = line.substr(open + 1, close - open - 1);
  std::vector<std::string> fields;
  std::istringstream rest(line.substr(close + 1));
  for (std::string field; std::getline(rest, field, ',');) fields.push_back(trimmed(field));
  // fields: "", id, "class", style, x, y, width, height
  control.id = fields.at(1);
  control.className = fields.at(2).substr(1, fields.at(2).size() - 2);
  expand(fields.at(3), macros, control.styles);
  return control;
}

std::map<std::string, Page> readPages() {
  std::ifstream script(CORVANE_PAGE_TEMPLATES);
  std::map<std::string, std::string> macros;
  std::map<std::string, Page> pages;
  std::string current;
  for (std::string line; std::getline(script, line);) {
    line = trimmed(line);
    std::istringstream words(line);
    std::string first, second;
    words >> first >> second;
    if (first == "#define") {
      std::string value;
      std::getline(words, value);
      macros[second] = trimmed(value);
    } else if (second == "DIALOGEX") {
      current = first;
    } else if (first == "CONTROL" && !current.empty()) {
      pages[current].push_back(parseControl(line, macros));
    }
  }
  return pages;
}

// The label that Windows' runtime finds for the input at the index, or null.
const Control* windowsLabel(const Page& page, std::size_t input) {
  for (std::size_t at = input; at-- > 0;) {
    const Control& before = page[at];
    if (before.isLabel()) return &before;
    if (!before.has("WS_VISIBLE")) continue;
    if (before.has("WS_GROUP") || before.has("WS_TABSTOP")) return nullptr;
  }
  return nullptr;
}

const Control* groupBoxBefore(const Page& page, std::size_t input) {
  for (std::size_t at = input; at-- > 0;)
    if (page[at].isGroupBox()) return &page[at];
  return nullptr;
}

const std::set<std::string> INPUTS_IN_GROUP_BOXES = {"IDC_DVI_FILE", "IDC_PS_FILE",
                                                     "IDC_PROGRAM_FILE", "IDC_GHOSTSCRIPT_FILE"};

TEST(PageLabels, TheTemplatesHoldTheFivePages) {
  const auto pages = readPages();
  EXPECT_EQ(pages.size(), 5u);
  for (const char* name :
       {"IDD_FILES_PAGE", "IDD_RANGE_PAGE", "IDD_STYLE_PAGE", "IDD_DVIPS_PAGE", "IDD_PDF_PAGE"})
    EXPECT_FALSE(pages.count(name) == 0 || pages.at(name).empty()) << name;
}

TEST(PageLabels, EveryInputHasALabelOrIsNamedAfterItsGroupBox) {
  int labelled = 0;
  for (const auto& [name, page] : readPages()) {
    for (std::size_t index = 0; index < page.size(); ++index) {
      const Control& input = page[index];
      if (!input.isInput()) continue;
      const Control* label = windowsLabel(page, index);
      if (INPUTS_IN_GROUP_BOXES.count(input.id) != 0) {
        EXPECT_EQ(label, nullptr) << name << ": " << input.id << " has a label after all";
        const Control* group = groupBoxBefore(page, index);
        ASSERT_NE(group, nullptr) << name << ": " << input.id;
        EXPECT_FALSE(group->text.empty()) << name << ": " << input.id;
        // No mnemonic: the input is given no shortcut.
        EXPECT_EQ(group->text.find('&'), std::string::npos) << group->text;
      } else {
        ASSERT_NE(label, nullptr) << name << ": nothing names " << input.id;
        EXPECT_EQ(label->className, "Static")
            << name << ": " << input.id << " is named after \"" << label->text << "\"";
        EXPECT_FALSE(label->text.empty()) << name << ": " << input.id;
        ++labelled;
      }
    }
  }
  // Page Range 4, Page Style 7, DVIPS Options 2, PDF 1.
  EXPECT_GE(labelled, 14);
}

TEST(PageLabels, NoMnemonicIsRepeatedOnThePdfPage) {
  std::map<char, std::string> taken;
  const auto pages = readPages();
  ASSERT_EQ(pages.count("IDD_PDF_PAGE"), 1u);
  for (const Control& control : pages.at("IDD_PDF_PAGE")) {
    const std::size_t mark = control.text.find('&');
    if (mark == std::string::npos || mark + 1 >= control.text.size()) continue;
    const char letter =
        static_cast<char>(std::tolower(static_cast<unsigned char>(control.text[mark + 1])));
    EXPECT_EQ(taken.count(letter), 0u)
        << "'" << letter << "' in \"" << control.text << "\" and \"" << taken[letter] << "\"";
    taken[letter] = control.text;
  }
  EXPECT_GE(taken.size(), 5u);
}

}  // namespace
