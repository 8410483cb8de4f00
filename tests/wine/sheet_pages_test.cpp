// The four pages through the real program: what each stores and shows, what OK, Cancel and
// "Save options now!" do with it, and the command the converter finally receives.
#include <string>
#include <vector>

#include "tests/wine/sheet_session.h"

namespace {

// A text of the given length that starts with its own letter, so that fields cannot be mixed up.
std::string longText(char first, std::size_t length) {
  std::string text(length, ' ');
  for (std::size_t at = 0; at < length; ++at) text[at] = static_cast<char>('0' + at % 10);
  text[0] = first;
  return text;
}

bool checkedOnly(HWND page, int firstId, int lastId, int checkedId) {
  for (int id = firstId; id <= lastId; ++id)
    if (isButtonChecked(page, id) != (id == checkedId)) return false;
  return true;
}

// --- OK, Cancel and the close box ---

struct OkCase {
  int tab;
  int control;
  const char* typed;
  const char* switches;
};

class SheetOk : public SheetSession, public ::testing::WithParamInterface<OkCase> {};

TEST_P(SheetOk, StoresTheActiveTabBeforeClosing) {
  // OK names an output folder that does not exist; this one does.
  CreateDirectoryA("C:\\Out", nullptr);
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  setControlText(page(GetParam().tab), GetParam().control, GetParam().typed);
  EXPECT_EQ(okAndReceive(), program() + " " + GetParam().switches);
}

INSTANTIATE_TEST_SUITE_P(SheetOnEachTab, SheetOk,
                         ::testing::Values(OkCase{FILES_PAGE, IDC_PS_FILE, "C:\\Out\\x.ps",
                                                  "-o \"C:\\Out\\x.ps\" "},
                                           OkCase{RANGE_PAGE, IDC_FIRST_PAGE, "5", "-p 5 "},
                                           OkCase{STYLE_PAGE, IDC_RESOLUTION, "600", "-D 600 "},
                                           OkCase{DVIPS_PAGE, IDC_PRINTER, "lp", "-P lp "}));

class SheetClose : public SheetSession {
 protected:
  // Edits on three pages, the last of them still showing.
  void editSeveralPages() {
    setControlText(page(FILES_PAGE), IDC_DVI_FILE, "C:\\Papers\\edited.dvi");
    setControlText(page(RANGE_PAGE), IDC_FIRST_PAGE, "4");
    setControlText(page(DVIPS_PAGE), IDC_PRINTER, "edited");
  }
};

TEST_F(SheetClose, CancelRunsAndSavesNothing) {
  const Options preset = fakeConverterRecord();
  ASSERT_NE(open(preset), nullptr);
  editSeveralPages();
  cancel();
  EXPECT_FALSE(converterRan());
  EXPECT_TRUE(sameBytes(preset, storedBytes()));
}

TEST_F(SheetClose, TheCloseBoxIsCancel) {
  const Options preset = fakeConverterRecord();
  ASSERT_NE(open(preset), nullptr);
  editSeveralPages();
  PostMessageA(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(waitForExit(corvane), 0u);
  EXPECT_FALSE(converterRan());
  EXPECT_TRUE(sameBytes(preset, storedBytes()));
}

// --- The DVI file named on the command line ---

class SheetArgument : public SheetSession {};

TEST_F(SheetArgument, QuotedPathWithBlanksIsShownBareAndQuotedOnceInTheCommand) {
  ASSERT_NE(open(fakeConverterRecord(), "\"C:\\My Papers\\a.dvi\""), nullptr);
  EXPECT_EQ(controlText(currentPage(sheet), IDC_DVI_FILE), "C:\\My Papers\\a.dvi");
  EXPECT_EQ(okAndReceive(), program() + " \"C:\\My Papers\\a.dvi\"");
}

// A file of each kind that the code page or the field cannot hold as named: a folder and file
// named in CJK characters, and a path of 302 characters. The fields take their short forms.
struct NamedFile {
  const char* kind;
  std::wstring (*make)(const std::string& folder);
};

// 表ソ能\表.dvi: outside a Western code page; in the Japanese one (932) each character ends in
// the byte of a backslash.
std::wstring inCjkFolder(const std::string& folder) {
  const std::wstring cjk = wideOf(folder) + L"\u8868\u30bd\u80fd";
  CreateDirectoryW(cjk.c_str(), nullptr);
  return cjk + L"\\\u8868.dvi";
}

// A folder of two levels whose file's path is 302 characters long in all.
std::wstring ofLength302(const std::string& folder) {
  const std::wstring first = wideOf(folder) + std::wstring(150, L'a');
  const std::size_t rest = 302 - first.size() - 1 - std::wstring(L"\\paper.dvi").size();
  const std::wstring second = first + L"\\" + std::wstring(rest, L'b');
  CreateDirectoryW(extendedPath(first).c_str(), nullptr);
  CreateDirectoryW(extendedPath(second).c_str(), nullptr);
  return second + L"\\paper.dvi";
}

class SheetArgumentPath : public SheetSession, public ::testing::WithParamInterface<NamedFile> {};

TEST_P(SheetArgumentPath, ReachesTheConverterAsTheFileThatWasNamed) {
  const std::wstring path = GetParam().make(scratchFolder(GetParam().kind));
  const std::string content = std::string("named as ") + GetParam().kind;
  ASSERT_TRUE(createFileWide(path, content));
  storeRecord(fakeConverterRecord());
  startWithNewLog(L"\"" + path + L"\"");
  sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  EXPECT_TRUE(namesTheFile(okAndReceive(), content));
}

INSTANTIATE_TEST_SUITE_P(OutsideTheCodePageOrTooLong, SheetArgumentPath,
                         ::testing::Values(NamedFile{"cjk", inCjkFolder},
                                           NamedFile{"long", ofLength302}),
                         [](const auto& test) { return std::string(test.param.kind); });

// An argument that no form fits: a path too long whose folder does not exist, and a name in
// Hangul, outside the Western and the Japanese code pages, of a file that does not exist. The
// field keeps the stored file, and the error box says why and names the file before the sheet
// opens.
struct UnfitArgument {
  const char* name;
  std::wstring argument;
  DWORD error;
};

void PrintTo(const UnfitArgument& argument, std::ostream* out) { *out << argument.name; }

class SheetArgumentUnfit : public SheetSession,
                           public ::testing::WithParamInterface<UnfitArgument> {};

TEST_P(SheetArgumentUnfit, KeepsTheStoredFileAndSaysWhy) {
  Options preset = fakeConverterRecord();
  copyText(preset.dviFile, "C:\\Stored\\old.dvi");
  storeRecord(preset);
  startWithNewLog(GetParam().argument);
  const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error");
  ASSERT_NE(box, nullptr);
  std::wstring name = GetParam().argument;
  if (name.front() == L'"') name = name.substr(1, name.size() - 2);
  EXPECT_TRUE(messageBoxTextWide(box) == pathErrorText(GetParam().error, name));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(controlText(currentPage(sheet), IDC_DVI_FILE), "C:\\Stored\\old.dvi");
  EXPECT_EQ(okAndReceive(), program() + " \"C:\\Stored\\old.dvi\"");
}

INSTANTIATE_TEST_SUITE_P(NoFormFits, SheetArgumentUnfit,
                         ::testing::Values(UnfitArgument{"long",
                                                         L"\"C:\\Long Name\\" +
                                                             std::wstring(300, L'b') + L".dvi\"",
                                                         ERROR_FILENAME_EXCED_RANGE},
                                           UnfitArgument{"cjk", L"C:\\Nowhere\\\ud55c\uae00.dvi",
                                                         ERROR_NO_UNICODE_TRANSLATION}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(SheetArgument, PlainNameIsTakenAsItStands) {
  ASSERT_NE(open(fakeConverterRecord(), "paper.dvi"), nullptr);
  EXPECT_EQ(controlText(currentPage(sheet), IDC_DVI_FILE), "paper.dvi");
  EXPECT_EQ(okAndReceive(), program() + " \"paper.dvi\"");
}

TEST_F(SheetArgument, ReplacesTheStoredFileWithoutSavingIt) {
  Options preset = fakeConverterRecord();
  copyText(preset.dviFile, "C:\\Stored\\old.dvi");
  ASSERT_NE(open(preset, "C:\\Given\\new.dvi"), nullptr);
  EXPECT_EQ(controlText(currentPage(sheet), IDC_DVI_FILE), "C:\\Given\\new.dvi");
  EXPECT_EQ(okAndReceive(), program() + " \"C:\\Given\\new.dvi\"");
  EXPECT_TRUE(sameBytes(preset, storedBytes()));
}

TEST_F(SheetArgument, WithoutOneTheStoredFileIsShown) {
  Options preset = fakeConverterRecord();
  copyText(preset.dviFile, "C:\\Stored\\old.dvi");
  ASSERT_NE(open(preset), nullptr);
  EXPECT_EQ(controlText(currentPage(sheet), IDC_DVI_FILE), "C:\\Stored\\old.dvi");
  EXPECT_EQ(okAndReceive(), program() + " \"C:\\Stored\\old.dvi\"");
}

TEST_F(SheetArgument, TextTypedOverItIsWhatRuns) {
  ASSERT_NE(open(fakeConverterRecord(), "given.dvi"), nullptr);
  setControlText(page(FILES_PAGE), IDC_DVI_FILE, "C:\\Typed\\other.dvi");
  page(STYLE_PAGE);
  EXPECT_EQ(controlText(page(FILES_PAGE), IDC_DVI_FILE), "C:\\Typed\\other.dvi");
  EXPECT_EQ(okAndReceive(), program() + " \"C:\\Typed\\other.dvi\"");
}

// --- Paths typed or pasted into the path edits ---

class PathEdit : public SheetSession {};

// Read in wide characters, a typed name goes in as a chosen one: by its short form here.
TEST_F(PathEdit, ANameOutsideTheCodePageReachesTheConverterAsThatFile) {
  const std::wstring path = inCjkFolder(scratchFolder("typed-cjk"));
  ASSERT_TRUE(createFileWide(path, "typed in CJK"));
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  setControlTextWide(page(FILES_PAGE), IDC_DVI_FILE, path);
  EXPECT_TRUE(namesTheFile(okAndReceive(), "typed in CJK"));
}

// Explorer's "Copy as path" puts the path in double quotes.
TEST_F(PathEdit, APathCopiedWithQuotesGoesInWithoutThem) {
  const std::string path = scratchFolder("My Papers") + "paper one.dvi";
  ASSERT_TRUE(createFileWide(wideOf(path), "pasted"));
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  setControlText(page(FILES_PAGE), IDC_DVI_FILE, "\"" + path + "\"");
  const std::string command = okAndReceive();
  EXPECT_EQ(command, program() + " \"" + path + "\"");
}

// A typed name that no form fits: OK keeps the sheet and the page, the error box names the file,
// and once the name is put right, OK runs it.
struct UnfitEdit {
  const char* name;
  std::wstring path;
  DWORD error;
};

void PrintTo(const UnfitEdit& edit, std::ostream* out) { *out << edit.name; }

class PathEditUnfit : public SheetSession, public ::testing::WithParamInterface<UnfitEdit> {};

TEST_P(PathEditUnfit, KeepsThePageAndNamesTheFile) {
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND files = page(FILES_PAGE);
  setControlTextWide(files, IDC_DVI_FILE, L"\"" + GetParam().path + L"\"");
  pressSheetButton(sheet, PSBTN_OK);
  const HWND box = waitForWindow(corvane.dwProcessId, "#32770", "Corvane Error");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(messageBoxTextWide(box) == pathErrorText(GetParam().error, GetParam().path));
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(waitUntil([&] { return !IsWindow(box); }));
  EXPECT_FALSE(hasExited(corvane));
  EXPECT_EQ(currentPage(sheet), files);
  setControlText(files, IDC_DVI_FILE, "paper.dvi");
  EXPECT_EQ(okAndReceive(), program() + " \"paper.dvi\"");
}

INSTANTIATE_TEST_SUITE_P(
    NoFormFits, PathEditUnfit,
    ::testing::Values(UnfitEdit{"long", L"C:\\Long Name\\" + std::wstring(300, L'b') + L".dvi",
                                ERROR_FILENAME_EXCED_RANGE},
                      UnfitEdit{"cjk", L"C:\\Nowhere\\\ud55c\uae00.dvi",
                                ERROR_NO_UNICODE_TRANSLATION}),
    [](const auto& test) { return std::string(test.param.name); });

// --- The whole command ---

class SheetCommand : public SheetSession {
 protected:
  // The settings of the composer's worked example, made on the four pages.
  void enterWorkedExample() {
    CreateDirectoryA("C:\\Papers", nullptr);
    HWND files = page(FILES_PAGE);
    setControlText(files, IDC_DVI_FILE, "C:\\Papers\\paper.dvi");
    setControlText(files, IDC_PS_FILE, "C:\\Papers\\paper.ps");

    HWND range = page(RANGE_PAGE);
    setControlText(range, IDC_FIRST_PAGE, "3");
    setControlText(range, IDC_LAST_PAGE, "10");
    ASSERT_TRUE(isButtonChecked(range, IDC_USE_TEX_NUMBERS));
    clickButton(range, IDC_USE_TEX_NUMBERS);
    clickButton(range, IDC_ODD_PAGES);
    setControlText(range, IDC_COPIES, "2");
    ASSERT_TRUE(checkedOnly(range, IDC_COLLATED, IDC_COPY_BODY, IDC_COLLATED));

    HWND style = page(STYLE_PAGE);
    setControlText(style, IDC_PAPER_TYPE, "a4");
    selectComboItem(GetDlgItem(style, IDC_MAGNIFICATION), 1);
    ASSERT_EQ(controlText(style, IDC_MAGNIFICATION), "1200");
    clickButton(style, IDC_LANDSCAPE);
    setControlText(style, IDC_RESOLUTION, "600");

    HWND dvips = page(DVIPS_PAGE);
    setControlText(dvips, IDC_PROGRAM_FILE, fakeConverterPath());
    clickButton(dvips, IDC_QUIET);
    ASSERT_TRUE(isButtonChecked(dvips, IDC_CREATE_FONTS));
    clickButton(dvips, IDC_CREATE_FONTS);
    setControlText(dvips, IDC_OTHER_OPTIONS, "-Z");
  }
};

TEST_F(SheetCommand, WorkedExample) {
  Options preset = defaultRecord();
  preset.windowMode = WINDOW_NORMAL;
  ASSERT_NE(open(preset), nullptr);
  enterWorkedExample();
  EXPECT_EQ(okAndReceive(), program() +
                                " -o \"C:\\Papers\\paper.ps\" -p =3 -l =10 -A -C 2 -t a4 -x 1200 "
                                "-t landscape -D 600 -q -M -Z \"C:\\Papers\\paper.dvi\"");
}

TEST_F(SheetCommand, TexNumbersMultiplyAndCopyPage) {
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  setControlText(page(FILES_PAGE), IDC_DVI_FILE, "C:\\Papers\\paper.dvi");
  HWND range = page(RANGE_PAGE);
  setControlText(range, IDC_FIRST_PAGE, "3");
  setControlText(range, IDC_LAST_PAGE, "10");
  setControlText(range, IDC_COPIES, "2");
  clickButton(range, IDC_COPY_PAGE);
  HWND style = page(STYLE_PAGE);
  setControlText(style, IDC_MAGNIFICATION, "1200");
  clickButton(style, IDC_MULTIPLY_DVI_MAG);
  EXPECT_EQ(okAndReceive(), program() + " -p 3 -l 10 -c 2 -y 1200 \"C:\\Papers\\paper.dvi\"");
}

TEST_F(SheetCommand, EvenPagesCopyBodyAndTheRest) {
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  HWND files = page(FILES_PAGE);
  clickButton(files, IDC_ENCAPSULATED);
  HWND range = page(RANGE_PAGE);
  setControlText(range, IDC_PAGE_RANGES, "1-4,9");
  clickButton(range, IDC_EVEN_PAGES);
  setControlText(range, IDC_COPIES, "3");
  clickButton(range, IDC_COPY_BODY);
  clickButton(range, IDC_REVERSE_ORDER);
  HWND style = page(STYLE_PAGE);
  clickButton(style, IDC_MANUAL_FEED);
  setControlText(style, IDC_OFFSET, "1in,2in");
  setControlText(style, IDC_PAPER_SIZE, "210mm,297mm");
  setControlText(style, IDC_HORIZONTAL_RESOLUTION, "300");
  setControlText(style, IDC_VERTICAL_RESOLUTION, "1200");
  setControlText(page(DVIPS_PAGE), IDC_PRINTER, "lp");
  EXPECT_EQ(okAndReceive(), program() +
                                " -E -pp 1-4,9 -B -b 3 -r -m -O 1in,2in -T 210mm,297mm -X 300 "
                                "-Y 1200 -P lp ");
}

// --- "Save options now!" ---

class SheetSave : public SheetSession {};

TEST_F(SheetSave, SavedRecordOutlivesCancelAndShowsAtTheNextStart) {
  Options preset = fakeConverterRecord();
  copyText(preset.printer, "LongPrinterName");
  copyText(preset.otherOptions, "-a -b -c -d");
  ASSERT_NE(open(preset), nullptr);

  HWND files = page(FILES_PAGE);
  setControlText(files, IDC_DVI_FILE, "C:\\Papers\\saved.dvi");
  setControlText(files, IDC_PS_FILE, "C:\\Papers\\saved.ps");
  clickButton(files, IDC_ENCAPSULATED);
  clickButton(files, IDC_USE_DVI_DIRECTORY);
  HWND range = page(RANGE_PAGE);
  setControlText(range, IDC_PAGE_RANGES, "1-4,9");
  setControlText(range, IDC_FIRST_PAGE, "2");
  setControlText(range, IDC_LAST_PAGE, "9");
  clickButton(range, IDC_USE_TEX_NUMBERS);
  clickButton(range, IDC_EVEN_PAGES);
  setControlText(range, IDC_COPIES, "3");
  clickButton(range, IDC_COPY_PAGE);
  clickButton(range, IDC_REVERSE_ORDER);
  HWND style = page(STYLE_PAGE);
  selectComboItem(GetDlgItem(style, IDC_PAPER_TYPE), 2);
  EXPECT_EQ(controlText(style, IDC_PAPER_TYPE), "letter");
  setControlText(style, IDC_MAGNIFICATION, "1315");
  clickButton(style, IDC_LANDSCAPE);
  clickButton(style, IDC_MULTIPLY_DVI_MAG);
  clickButton(style, IDC_MANUAL_FEED);
  setControlText(style, IDC_OFFSET, "1in,2in");
  setControlText(style, IDC_PAPER_SIZE, "210mm,297mm");
  setControlText(style, IDC_RESOLUTION, "600");
  setControlText(style, IDC_HORIZONTAL_RESOLUTION, "300");
  setControlText(style, IDC_VERTICAL_RESOLUTION, "1200");
  HWND dvips = page(DVIPS_PAGE);
  setControlText(dvips, IDC_PRINTER, "lp");
  setControlText(dvips, IDC_OTHER_OPTIONS, "-Z");
  clickButton(dvips, IDC_MINIMIZED);
  clickButton(dvips, IDC_QUIET);
  clickButton(dvips, IDC_CREATE_FONTS);
  clickButton(dvips, IDC_SHOW_COMMAND_LINE);

  // Shorter texts replace longer ones only up to their terminator: the tails stay.
  Options expected = preset;
  copyText(expected.dviFile, "C:\\Papers\\saved.dvi");
  copyText(expected.psFile, "C:\\Papers\\saved.ps");
  expected.encapsulated = 1;
  expected.useDviDirectory = 0;
  copyText(expected.pageRanges, "1-4,9");
  expected.firstPage = 2;
  expected.lastPage = 9;
  expected.useTexNumbers = 0;
  expected.pageParity = 2;
  expected.copies = 3;
  expected.copyMode = 1;
  expected.reverseOrder = 1;
  copyText(expected.paperType, "letter");
  expected.magnification = 1315;
  expected.multiplyDviMag = 1;
  expected.landscape = 1;
  expected.manualFeed = 1;
  copyText(expected.offset, "1in,2in");
  copyText(expected.paperSize, "210mm,297mm");
  expected.resolution = 600;
  expected.horizontalResolution = 300;
  expected.verticalResolution = 1200;
  copyText(expected.printer, "lp");
  copyText(expected.otherOptions, "-Z");
  expected.windowMode = WINDOW_MINIMIZED;
  expected.quiet = 1;
  expected.createFonts = 0;
  expected.showCommandLine = 1;
  std::vector<std::uint8_t> saved = saveNow();
  ASSERT_EQ(saved.size(), std::size_t{OPTIONS_SIZE});
  EXPECT_TRUE(sameBytes(expected, saved));

  // The sheet stays open and the button works again.
  setControlText(page(DVIPS_PAGE), IDC_PRINTER, "ps2");
  copyText(expected.printer, "ps2");
  EXPECT_TRUE(sameBytes(expected, saveNow()));

  cancel();
  EXPECT_FALSE(converterRan());
  EXPECT_TRUE(sameBytes(expected, storedBytes()));

  ASSERT_NE(openAgain(), nullptr);
  files = page(FILES_PAGE);
  EXPECT_EQ(controlText(files, IDC_DVI_FILE), "C:\\Papers\\saved.dvi");
  EXPECT_EQ(controlText(files, IDC_PS_FILE), "C:\\Papers\\saved.ps");
  EXPECT_TRUE(isButtonChecked(files, IDC_ENCAPSULATED));
  EXPECT_FALSE(isButtonChecked(files, IDC_USE_DVI_DIRECTORY));
  range = page(RANGE_PAGE);
  EXPECT_EQ(controlText(range, IDC_PAGE_RANGES), "1-4,9");
  EXPECT_EQ(controlText(range, IDC_FIRST_PAGE), "2");
  EXPECT_EQ(controlText(range, IDC_LAST_PAGE), "9");
  EXPECT_FALSE(isButtonChecked(range, IDC_USE_TEX_NUMBERS));
  EXPECT_TRUE(checkedOnly(range, IDC_ALL_PAGES, IDC_EVEN_PAGES, IDC_EVEN_PAGES));
  EXPECT_EQ(controlText(range, IDC_COPIES), "3");
  EXPECT_TRUE(checkedOnly(range, IDC_COLLATED, IDC_COPY_BODY, IDC_COPY_PAGE));
  EXPECT_TRUE(isButtonChecked(range, IDC_REVERSE_ORDER));
  style = page(STYLE_PAGE);
  EXPECT_EQ(controlText(style, IDC_PAPER_TYPE), "letter");
  EXPECT_EQ(controlText(style, IDC_MAGNIFICATION), "1315");
  EXPECT_TRUE(isButtonChecked(style, IDC_LANDSCAPE));
  EXPECT_TRUE(isButtonChecked(style, IDC_MULTIPLY_DVI_MAG));
  EXPECT_TRUE(isButtonChecked(style, IDC_MANUAL_FEED));
  EXPECT_EQ(controlText(style, IDC_OFFSET), "1in,2in");
  EXPECT_EQ(controlText(style, IDC_PAPER_SIZE), "210mm,297mm");
  EXPECT_EQ(controlText(style, IDC_RESOLUTION), "600");
  EXPECT_EQ(controlText(style, IDC_HORIZONTAL_RESOLUTION), "300");
  EXPECT_EQ(controlText(style, IDC_VERTICAL_RESOLUTION), "1200");
  dvips = page(DVIPS_PAGE);
  EXPECT_EQ(controlText(dvips, IDC_PROGRAM_FILE), fakeConverterPath());
  EXPECT_EQ(controlText(dvips, IDC_PRINTER), "ps2");
  EXPECT_EQ(controlText(dvips, IDC_OTHER_OPTIONS), "-Z");
  EXPECT_TRUE(checkedOnly(dvips, IDC_CAPTURE, IDC_HIDDEN, IDC_MINIMIZED));
  EXPECT_TRUE(isButtonChecked(dvips, IDC_QUIET));
  EXPECT_FALSE(isButtonChecked(dvips, IDC_CREATE_FONTS));
  EXPECT_TRUE(isButtonChecked(dvips, IDC_SHOW_COMMAND_LINE));
  cancel();
}

// --- What the pages store ---

class PageTexts : public SheetSession {};

TEST_F(PageTexts, LongTextsAreCutToTheirFields) {
  const Options preset = fakeConverterRecord();
  ASSERT_NE(open(preset), nullptr);
  // Path edits take no more than fits: a longer path is refused (PathEditUnfit).
  const std::string dvi = longText('d', 259), ps = longText('p', 259), ranges = longText('r', 70),
                    paper = longText('t', 63), offset = longText('o', 64), size = longText('s', 70),
                    program = longText('x', 259), printer = longText('q', 259),
                    other = longText('z', 260);
  HWND files = page(FILES_PAGE);
  setControlText(files, IDC_DVI_FILE, dvi);
  setControlText(files, IDC_PS_FILE, ps);
  setControlText(page(RANGE_PAGE), IDC_PAGE_RANGES, ranges);
  HWND style = page(STYLE_PAGE);
  setControlText(style, IDC_PAPER_TYPE, paper);
  setControlText(style, IDC_OFFSET, offset);
  setControlText(style, IDC_PAPER_SIZE, size);
  HWND dvips = page(DVIPS_PAGE);
  setControlText(dvips, IDC_PROGRAM_FILE, program);
  setControlText(dvips, IDC_PRINTER, printer);
  setControlText(dvips, IDC_OTHER_OPTIONS, other);

  Options expected = preset;
  copyText(expected.dviFile, dvi.c_str());
  copyText(expected.psFile, ps.c_str());
  copyText(expected.pageRanges, ranges.c_str());
  copyText(expected.paperType, paper.c_str());
  copyText(expected.offset, offset.c_str());
  copyText(expected.paperSize, size.c_str());
  copyText(expected.programFile, program.c_str());
  copyText(expected.printer, printer.c_str());
  copyText(expected.otherOptions, other.c_str());
  ASSERT_EQ(std::string(expected.dviFile).size(), 259u);
  ASSERT_EQ(std::string(expected.pageRanges).size(), 63u);
  EXPECT_TRUE(sameBytes(expected, saveNow()));

  // Coming back, each page shows what it stored.
  files = page(FILES_PAGE);
  EXPECT_EQ(controlText(files, IDC_DVI_FILE), dvi.substr(0, 259));
  EXPECT_EQ(controlText(files, IDC_PS_FILE), ps);
  EXPECT_EQ(controlText(page(RANGE_PAGE), IDC_PAGE_RANGES), ranges.substr(0, 63));
  style = page(STYLE_PAGE);
  EXPECT_EQ(controlText(style, IDC_PAPER_TYPE), paper);
  EXPECT_EQ(controlText(style, IDC_OFFSET), offset.substr(0, 63));
  EXPECT_EQ(controlText(style, IDC_PAPER_SIZE), size.substr(0, 63));
  dvips = page(DVIPS_PAGE);
  EXPECT_EQ(controlText(dvips, IDC_PROGRAM_FILE), program.substr(0, 259));
  EXPECT_EQ(controlText(dvips, IDC_PRINTER), printer);
  EXPECT_EQ(controlText(dvips, IDC_OTHER_OPTIONS), other.substr(0, 259));
  cancel();
}

TEST_F(PageTexts, LongPathsInTheFileEditsGoInByTheirShortForms) {
  // A folder whose paths are longer than a field: the DVI file and a copy of the converter in
  // it, and a PostScript file that does not exist yet.
  const std::wstring longFolder = wideOf(scratchFolder("long-edits")) + std::wstring(240, L'f');
  ASSERT_TRUE(CreateDirectoryW(extendedPath(longFolder).c_str(), nullptr));
  const std::string folder(longFolder.begin(), longFolder.end());
  ASSERT_TRUE(createFileWide(longFolder + L"\\paper.dvi", "typed long"));
  ASSERT_TRUE(CopyFileW(wideOf(fakeConverterPath()).c_str(),
                        extendedPath(longFolder + L"\\converter.exe").c_str(), FALSE));
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  const HWND files = page(FILES_PAGE);
  setControlText(files, IDC_DVI_FILE, folder + "\\paper.dvi");
  setControlText(files, IDC_PS_FILE, folder + "\\new.ps");
  setControlText(page(DVIPS_PAGE), IDC_PROGRAM_FILE, folder + "\\converter.exe");
  // Wine cannot start a program whose long path passes MAX_PATH, whatever form names it: the
  // stored program is checked, and the converter run from its own folder.
  const std::string program = recordOf(saveNow()).programFile;
  EXPECT_LT(program.size(), 260u);
  EXPECT_EQ(readFile(program), readFile(fakeConverterPath())) << program;
  setControlText(page(DVIPS_PAGE), IDC_PROGRAM_FILE, fakeConverterPath());

  const std::string command = okAndReceive();
  EXPECT_TRUE(namesTheFile(command, "typed long"));
  const std::size_t output = command.find("-o \"");
  ASSERT_NE(output, std::string::npos) << command;
  const std::string psFile = command.substr(output + 4, command.find('"', output + 4) - output - 4);
  ASSERT_LT(psFile.size(), 260u);
  ASSERT_EQ(psFile.substr(psFile.size() - 7), "\\new.ps");
  EXPECT_EQ(readFile(psFile.substr(0, psFile.size() - 6) + "paper.dvi"), "typed long");
}

class PageNumbers : public SheetSession, public ::testing::WithParamInterface<const char*> {};

TEST_P(PageNumbers, InvalidEntriesStoreZeroAndStayTyped) {
  Options preset = fakeConverterRecord();
  preset.firstPage = 7;
  preset.lastPage = 8;
  preset.copies = 2;
  preset.magnification = 1200;
  preset.resolution = 600;
  preset.horizontalResolution = 300;
  preset.verticalResolution = 301;
  ASSERT_NE(open(preset), nullptr);
  const std::string typed = GetParam();
  const int rangeNumbers[] = {IDC_FIRST_PAGE, IDC_LAST_PAGE, IDC_COPIES};
  const int styleNumbers[] = {IDC_RESOLUTION, IDC_HORIZONTAL_RESOLUTION, IDC_VERTICAL_RESOLUTION};
  HWND range = page(RANGE_PAGE);
  EXPECT_EQ(controlText(range, IDC_FIRST_PAGE), "7");
  for (int id : rangeNumbers) setControlText(range, id, typed);
  HWND style = page(STYLE_PAGE);
  EXPECT_EQ(controlText(style, IDC_MAGNIFICATION), "1200");
  EXPECT_EQ(controlText(style, IDC_RESOLUTION), "600");
  setControlText(style, IDC_MAGNIFICATION, typed);
  for (int id : styleNumbers) setControlText(style, id, typed);

  page(FILES_PAGE);
  range = page(RANGE_PAGE);
  for (int id : rangeNumbers) EXPECT_EQ(controlText(range, id), typed) << id;
  style = page(STYLE_PAGE);
  for (int id : styleNumbers) EXPECT_EQ(controlText(style, id), typed) << id;
  // The magnification list is refilled at each activation, which empties its box.
  EXPECT_EQ(controlText(style, IDC_MAGNIFICATION), "");

  Options expected = preset;
  expected.firstPage = expected.lastPage = expected.copies = 0;
  expected.magnification = expected.resolution = 0;
  expected.horizontalResolution = expected.verticalResolution = 0;
  EXPECT_TRUE(sameBytes(expected, saveNow()));
  EXPECT_EQ(okAndReceive(), program() + " ");
}

INSTANTIATE_TEST_SUITE_P(PageEntries, PageNumbers,
                         ::testing::Values("abc", "0", "-5", "99999999999", ""));

class PageChoices : public SheetSession {};

TEST_F(PageChoices, DefaultsShowTheirButtons) {
  ASSERT_NE(open(fakeConverterRecord()), nullptr);
  HWND files = page(FILES_PAGE);
  EXPECT_FALSE(isButtonChecked(files, IDC_ENCAPSULATED));
  EXPECT_TRUE(isButtonChecked(files, IDC_USE_DVI_DIRECTORY));
  HWND range = page(RANGE_PAGE);
  EXPECT_TRUE(checkedOnly(range, IDC_ALL_PAGES, IDC_EVEN_PAGES, IDC_ALL_PAGES));
  EXPECT_TRUE(checkedOnly(range, IDC_COLLATED, IDC_COPY_BODY, IDC_COLLATED));
  EXPECT_TRUE(isButtonChecked(range, IDC_USE_TEX_NUMBERS));
  EXPECT_FALSE(isButtonChecked(range, IDC_REVERSE_ORDER));
  for (int id : {IDC_PAGE_RANGES, IDC_FIRST_PAGE, IDC_LAST_PAGE, IDC_COPIES})
    EXPECT_EQ(controlText(range, id), "") << id;
  HWND style = page(STYLE_PAGE);
  for (int id : {IDC_PAPER_TYPE, IDC_MAGNIFICATION, IDC_OFFSET, IDC_PAPER_SIZE, IDC_RESOLUTION,
                 IDC_HORIZONTAL_RESOLUTION, IDC_VERTICAL_RESOLUTION})
    EXPECT_EQ(controlText(style, id), "") << id;
  for (int id : {IDC_LANDSCAPE, IDC_MULTIPLY_DVI_MAG, IDC_MANUAL_FEED})
    EXPECT_FALSE(isButtonChecked(style, id)) << id;
  HWND dvips = page(DVIPS_PAGE);
  EXPECT_TRUE(checkedOnly(dvips, IDC_CAPTURE, IDC_HIDDEN, IDC_NORMAL));
  EXPECT_TRUE(isButtonChecked(dvips, IDC_CREATE_FONTS));
  EXPECT_FALSE(isButtonChecked(dvips, IDC_QUIET));
  EXPECT_FALSE(isButtonChecked(dvips, IDC_SHOW_COMMAND_LINE));
  cancel();
}

TEST_F(PageChoices, OutOfRangeValuesShowNoButtonAndStoreTheButtonCount) {
  Options preset = fakeConverterRecord();
  preset.pageParity = 7;
  preset.copyMode = 5;
  preset.copies = 2;
  preset.windowMode = 9;
  ASSERT_NE(open(preset), nullptr);
  HWND range = page(RANGE_PAGE);
  EXPECT_TRUE(checkedOnly(range, IDC_ALL_PAGES, IDC_EVEN_PAGES, 0));
  EXPECT_TRUE(checkedOnly(range, IDC_COLLATED, IDC_COPY_BODY, 0));
  HWND dvips = page(DVIPS_PAGE);
  EXPECT_TRUE(checkedOnly(dvips, IDC_CAPTURE, IDC_HIDDEN, 0));

  const std::vector<std::uint8_t> saved = saveNow();
  ASSERT_EQ(saved.size(), std::size_t{OPTIONS_SIZE});
  EXPECT_EQ(saved[612], 3);
  EXPECT_EQ(saved[620], 3);
  EXPECT_EQ(saved[1628], 4);
  Options expected = preset;
  expected.pageParity = 3;
  expected.copyMode = 3;
  expected.windowMode = 4;
  EXPECT_TRUE(sameBytes(expected, saved));

  // Coming back, still no button; no parity switch, and the copies take the letter b.
  range = page(RANGE_PAGE);
  EXPECT_TRUE(checkedOnly(range, IDC_ALL_PAGES, IDC_EVEN_PAGES, 0));
  EXPECT_EQ(okAndReceive(), program() + " -b 2 ");
}

class PageLists : public SheetSession {};

TEST_F(PageLists, SixPapersAndThirteenMagnificationsAfterSeveralActivations) {
  Options preset = fakeConverterRecord();
  copyText(preset.paperType, "B5");
  preset.magnification = 1000;
  ASSERT_NE(open(preset), nullptr);
  const std::vector<std::string> papers = {"A4", "A3", "letter", "legal", "ledger", "tabloid"};
  const std::vector<std::string> magnifications = {"1095", "1200", "1440", "1728", "2074",
                                                   "2488", "2986", "3583", "4300", "5160",
                                                   "6192", "7430", "8916"};
  for (int activation = 0; activation < 4; ++activation) {
    const HWND style = page(STYLE_PAGE);
    const HWND paper = GetDlgItem(style, IDC_PAPER_TYPE);
    const HWND magnification = GetDlgItem(style, IDC_MAGNIFICATION);
    ASSERT_EQ(comboCount(paper), 6) << "activation " << activation;
    ASSERT_EQ(comboCount(magnification), 13) << "activation " << activation;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(comboItem(paper, i), papers[i]);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(comboItem(magnification, i), magnifications[i]);
    // Values that the lists do not hold are shown as they are.
    EXPECT_EQ(controlText(style, IDC_PAPER_TYPE), "B5");
    EXPECT_EQ(controlText(style, IDC_MAGNIFICATION), "1000");
    page(activation % 2 == 0 ? FILES_PAGE : DVIPS_PAGE);
  }
  EXPECT_EQ(okAndReceive(), program() + " -t B5 -x 1000 ");
}

class PageUnvisited : public SheetSession {};

TEST_F(PageUnvisited, PagesNeverShownKeepTheStoredBytes) {
  // Odd values everywhere, and text tails behind the terminators.
  Options preset = fakeConverterRecord();
  copyText(preset.dviFile, "C:\\A much longer old name.dvi");
  copyText(preset.dviFile, "x.dvi");
  preset.encapsulated = 5;
  preset.useDviDirectory = 3;
  copyText(preset.pageRanges, "1-3,7-9,20-30");
  copyText(preset.pageRanges, "2-");
  preset.firstPage = -4;
  preset.lastPage = 0x7fffffff;
  preset.useTexNumbers = 9;
  preset.pageParity = 7;
  preset.reserved1[0] = 0xA1;
  preset.reserved1[2] = 0xA3;
  preset.copies = -2;
  preset.copyMode = -1;
  preset.reserved2[1] = 0xB2;
  preset.reverseOrder = 6;
  copyText(preset.paperType, "tabloid-extra");
  copyText(preset.paperType, "B5");
  preset.magnification = -3;
  preset.multiplyDviMag = 2;
  preset.landscape = 3;
  preset.manualFeed = -1;
  copyText(preset.offset, "1in,1in");
  copyText(preset.paperSize, "210mm,297mm");
  copyText(preset.paperSize, "A");
  preset.resolution = -1;
  preset.verticalResolution = 12345;
  preset.reserved3[0] = 0xC1;
  preset.quiet = 4;
  preset.createFonts = 2;
  ASSERT_NE(open(preset), nullptr);

  // Files opens first and is stored when left; only DVIPS Options is visited besides.
  const std::vector<std::uint8_t> saved = saveNow();
  Options expected = preset;
  expected.encapsulated = 1;
  expected.useDviDirectory = 1;
  expected.quiet = 1;
  expected.createFonts = 1;
  EXPECT_TRUE(sameBytes(expected, saved));
  cancel();
}

}  // namespace
