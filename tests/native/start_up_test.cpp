// The argument taken from the process command line, its way into dviFile, and the help path.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <map>
#include <string>

#include "app/start_up.h"
#include "base/strings.h"
#include "command/command_words.h"
#include "help/help_path.h"
#include "options/options.h"
#include "paths/path_rules.h"
#include "resources/resource.h"
#include "tests/native/fakes.h"

namespace {

struct ArgumentCase {
  const wchar_t* commandLine;
  const wchar_t* argument;
};

TEST(Argument, FollowsTheProgramName) {
  const ArgumentCase cases[] = {
      {L"corvane.exe", L""},
      {L"corvane.exe    a.dvi", L"a.dvi"},
      {L"  \tcorvane.exe\ta.dvi", L"a.dvi"},
      {L"\"C:\\Program Files\\corvane.exe\"a.dvi", L"a.dvi"},
      {L"\"C:\\Program Files\\corvane.exe\" a.dvi", L"a.dvi"},
      {L"corvane.exe \"C:\\My Papers\\a.dvi\"", L"\"C:\\My Papers\\a.dvi\""},
      {L"corvane.exe a.dvi b.dvi", L"a.dvi b.dvi"},
      {L"corvane.exe a.dvi  ", L"a.dvi  "},
      {L"\"corvane.exe", L""},
      {L"\"corvane\tx.dvi", L"x.dvi"},
      {L"", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(std::wstring(argumentOfCommandLine(c.commandLine)), c.argument);
}

class DviArgument : public ::testing::Test {
 protected:
  void SetUp() override {
    resetFakes();
    resetOptions();
    setDefaultOptions();
    copyText(options.dviFile, "stored.dvi");
  }
};

TEST_F(DviArgument, EmptyKeepsTheStoredFile) {
  EXPECT_EQ(takeDviFileArgument(L""), 0u);
  EXPECT_STREQ(options.dviFile, "stored.dvi");
}

TEST_F(DviArgument, IsCopiedAsItStands) {
  for (const wchar_t* argument : {L"a.dvi", L"a.dvi b.dvi", L"a.dvi  ", L"\"a.dvi\" \"b.dvi\"",
                                  L"\"a.dvi", L"a.dvi\"", L"\""}) {
    EXPECT_EQ(takeDviFileArgument(argument), 0u);
    EXPECT_EQ(std::string(options.dviFile),
              std::string(argument, argument + std::wcslen(argument)));
  }
}

TEST_F(DviArgument, OneQuotedPathLosesItsQuotes) {
  takeDviFileArgument(L"\"C:\\My Papers\\a.dvi\"");
  EXPECT_STREQ(options.dviFile, "C:\\My Papers\\a.dvi");
  takeDviFileArgument(L"\"\"");
  EXPECT_STREQ(options.dviFile, "");
}

// The one quoted word is read as the converter reads its words: an escaped quote is a quote.
TEST_F(DviArgument, OneQuotedWordIsReadByWindowsRule) {
  takeDviFileArgument(L"\"C:\\My Papers\\a \\\"b\\\".dvi\"");
  EXPECT_STREQ(options.dviFile, "C:\\My Papers\\a \"b\".dvi");
  takeDviFileArgument(L"\"a.dvi\" b.dvi\"");
  EXPECT_STREQ(options.dviFile, "\"a.dvi\" b.dvi\"");
}

TEST_F(DviArgument, LongArgumentsGoInByTheirShortFormOrNotAtAll) {
  const std::wstring plain(400, L'p');
  EXPECT_EQ(takeDviFileArgument(plain.c_str()), 206u);
  EXPECT_STREQ(options.dviFile, "stored.dvi");
  const std::wstring path = L"C:\\" + std::wstring(300, L'q') + L".dvi";
  fakeWideShortNames[path] = L"C:\\QQQQQQ~1.DVI";
  EXPECT_EQ(takeDviFileArgument((L"\"" + path + L"\"").c_str()), 0u);
  EXPECT_STREQ(options.dviFile, "C:\\QQQQQQ~1.DVI");
  EXPECT_EQ(options.psFile[0], '\0');  // the next field is untouched
}

void setModulePath(const std::wstring& path, std::uint32_t reported) {
  static wchar_t modulePath[WIDE_PATH_SIZE];
  std::wmemset(modulePath, L'x', WIDE_PATH_SIZE);
  std::wmemcpy(modulePath, path.c_str(), std::min(path.size() + 1, WIDE_PATH_SIZE));
  std::memset(helpFilePath, 'x', sizeof helpFilePath);
  makeHelpFilePath(modulePath, reported);
}

TEST(HelpPath, ReplacesTheLastThreeCharacters) {
  resetFakes();
  setModulePath(L"C:\\Tools\\prog.exe", 17);
  EXPECT_STREQ(helpFilePath, "C:\\Tools\\prog.chm");
  setModulePath(L"C:\\Tools\\PROG.EXE", 17);
  EXPECT_STREQ(helpFilePath, "C:\\Tools\\PROG.chm");
  setModulePath(L"abc", 3);
  EXPECT_STREQ(helpFilePath, "chm");
}

TEST(HelpPath, UnusablePathsLeaveItEmpty) {
  resetFakes();
  setModulePath(L"", 0);  // the query failed
  EXPECT_STREQ(helpFilePath, "");
  setModulePath(L"ab", 2);
  EXPECT_STREQ(helpFilePath, "");
  // A truncated path fills the buffer, on some systems without its NUL.
  setModulePath(std::wstring(WIDE_PATH_SIZE, L'p'), WIDE_PATH_SIZE);
  EXPECT_STREQ(helpFilePath, "");
  setModulePath(std::wstring(HELP_PATH_SIZE - 1, L'p'), HELP_PATH_SIZE - 1);
  EXPECT_EQ(std::strlen(helpFilePath), HELP_PATH_SIZE - 1);
  EXPECT_EQ(std::string(helpFilePath).substr(HELP_PATH_SIZE - 4), "chm");
  setModulePath(std::wstring(HELP_PATH_SIZE, L'p'), HELP_PATH_SIZE);  // no short form
  EXPECT_STREQ(helpFilePath, "");
}

// The installer puts the program under the user's profile, whose name may lie outside the code
// page: the help file is then named by its folder's short form.
TEST(HelpPath, AFolderOutsideTheCodePageGoesByItsShortForm) {
  resetFakes();
  const std::wstring folder = L"C:\\Users\\\u0418\u0432\u0430\u043d\\Programs\\Corvane";
  const std::wstring program = folder + L"\\corvane.exe";
  setModulePath(program, static_cast<std::uint32_t>(program.size()));
  EXPECT_STREQ(helpFilePath, "");  // no form fits: help stays silent
  fakeWideShortNames[folder] = L"C:\\Users\\418~1\\Programs\\Corvane";
  setModulePath(program, static_cast<std::uint32_t>(program.size()));
  EXPECT_STREQ(helpFilePath, "C:\\Users\\418~1\\Programs\\Corvane\\corvane.chm");
}

// Every text of the string table with places, and how many texts its callers fill them with: a
// place left empty says nothing ("while making ."), and a text whose places change must change
// its callers too.
TEST(StringTable, EveryPlaceIsFilled) {
  const std::map<int, int> filledWith = {{IDS_DVIPS_PLACES, 3},
                                         {IDS_GHOSTSCRIPT_PLACES, 1},
                                         {IDS_DVIPS_FAILED, 1},
                                         {IDS_DVI_NOT_FOUND, 1},
                                         {IDS_NO_POSTSCRIPT, 1},
                                         {IDS_GHOSTSCRIPT_FAILED, 2},
                                         {IDS_RUNS_DVIPS, 1},
                                         {IDS_RUNS_GHOSTSCRIPT, 1},
                                         {IDS_DVIPS_MISSING, 1},
                                         {IDS_GHOSTSCRIPT_MISSING, 1},
                                         {IDS_PDF_SWITCHES, 1},
                                         {IDS_GHOSTSCRIPT_WROTE_NOTHING, 1},
                                         {IDS_CAUSE_FIGURE, 2},
                                         {IDS_LAST_LINES, 1},
                                         {IDS_EXIT_CODE, 2},
                                         {IDS_FILE_HELD_OPEN, 1},
                                         {IDS_FOLDER_NOT_WRITABLE, 1},
                                         {IDS_NO_PROGRAM_FOR_RESULT, 1},
                                         {IDS_CAUSE_FONT_REPLACED, 2},
                                         {IDS_CAUSE_BITMAP_FONTS, 1},
                                         {IDS_POSTSCRIPT_UNFINISHED, 1},
                                         {IDS_PROGRAM_STOPPED, 2},
                                         {IDS_EARLIER_PDF_KEPT, 1},
                                         {IDS_FILE_READ_ONLY, 1},
                                         {IDS_FOLDER_MISSING, 1},
                                         {IDS_PDF_NOT_REPLACED, 2},
                                         {IDS_UNKNOWN_SWITCH, 1},
                                         {IDS_UNKNOWN_PURPOSE, 1},
                                         {IDS_SECOND_FILE, 1},
                                         {IDS_PDFA_ACTION, 2},
                                         {IDS_PDFA_NOTE, 2},
                                         {IDS_PDFA_EMBEDDED_FILE, 1},
                                         {IDS_PDFA_PAGE, 1},
                                         {IDS_NOT_PDFA_MADE, 1},
                                         {IDS_NO_SRGB_PROFILE, 2},
                                         {IDS_FILE_HELD_OPEN_FOR_COMMAND, 1},
                                         {IDS_NO_COMMAND, 1},
                                         {IDS_SEVERAL_WORDS, 1}};
  for (int id = 0; id < 1000; ++id) {
    const std::string text = loadResourceString(id);
    int places = 0;
    for (std::size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 2))
      ++places;
    const auto found = filledWith.find(id);
    SCOPED_TRACE(text);
    EXPECT_GE(found != filledWith.end() ? found->second : 0, places);
  }
}

}  // namespace
