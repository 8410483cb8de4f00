// The argument taken from the process command line, its way into dviFile, wide paths in 8-bit
// fields, and the help path.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "app/field_path.h"
#include "app/start_up.h"
#include "options/options.h"
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

// --- A wide path in an 8-bit field ---

struct FieldPathCase {
  const wchar_t* path;
  std::uint32_t error;
  const char* stored;  // what the field holds afterwards; it held "before"
};

TEST(FieldPath, TheFirstFormThatFitsAndFindsTheFile) {
  const std::wstring longFolder = L"C:\\" + std::wstring(300, L'l');
  const std::wstring longFile = longFolder + L"\\paper.dvi";
  const std::wstring longNew = longFolder + L"\\new.ps";
  const std::wstring notFound = L"C:\\" + std::wstring(300, L'n') + L"\\x.dvi";
  resetFakes();
  fakeWideShortNames[L"C:\\Papers\\\u8ad6\u6587"] = L"C:\\Papers\\8AD6~1";
  fakeWideShortNames[L"C:\\Papers\\\u8ad6\u6587\\paper.dvi"] = L"C:\\Papers\\8AD6~1\\paper.dvi";
  fakeWideShortNames[longFile] = L"C:\\LLLLLL~1\\paper.dvi";
  fakeWideShortNames[longFolder] = L"C:\\LLLLLL~1";
  const FieldPathCase cases[] = {
      {L"C:\\Papers\\caf\u00e9.dvi", 0, "C:\\Papers\\caf\xe9.dvi"},
      {L"", 0, ""},
      {L"C:\\Papers\\\u8ad6\u6587\\paper.dvi", 0, "C:\\Papers\\8AD6~1\\paper.dvi"},
      {L"C:\\Papers\\\u8ad6\u6587\\new.ps", 0, "C:\\Papers\\8AD6~1\\new.ps"},
      {L"C:\\Papers\\\u8ad6\u6587\\\u8ad6.ps", 1113, "before"},
      {L"C:\\Nowhere\\\u8ad6\u6587.dvi", 1113, "before"},
      {longFile.c_str(), 0, "C:\\LLLLLL~1\\paper.dvi"},
      {longNew.c_str(), 0, "C:\\LLLLLL~1\\new.ps"},
      {notFound.c_str(), 206, "before"},
  };
  for (const auto& c : cases) {
    char field[260] = "before";
    EXPECT_EQ(widePathToField(c.path, field), c.error) << c.stored;
    EXPECT_STREQ(field, c.stored);
  }
}

void setModulePath(const std::string& path, std::uint32_t reported) {
  std::memset(helpFilePath, 'x', sizeof helpFilePath);
  std::memcpy(helpFilePath, path.c_str(), std::min(path.size() + 1, sizeof helpFilePath));
  makeHelpFilePath(reported);
}

TEST(HelpPath, ReplacesTheLastThreeCharacters) {
  setModulePath("C:\\Tools\\prog.exe", 17);
  EXPECT_STREQ(helpFilePath, "C:\\Tools\\prog.chm");
  setModulePath("C:\\Tools\\PROG.EXE", 17);
  EXPECT_STREQ(helpFilePath, "C:\\Tools\\PROG.chm");
  setModulePath("abc", 3);
  EXPECT_STREQ(helpFilePath, "chm");
}

TEST(HelpPath, UnusablePathsLeaveItEmpty) {
  setModulePath("", 0);  // the query failed
  EXPECT_STREQ(helpFilePath, "");
  setModulePath("ab", 2);
  EXPECT_STREQ(helpFilePath, "");
  // A truncated path fills the buffer, on some systems without its NUL.
  std::memset(helpFilePath, 'p', sizeof helpFilePath);
  makeHelpFilePath(HELP_PATH_SIZE);
  EXPECT_STREQ(helpFilePath, "");
  std::memset(helpFilePath, 'p', sizeof helpFilePath);
  helpFilePath[HELP_PATH_SIZE - 1] = '\0';
  makeHelpFilePath(HELP_PATH_SIZE - 1);
  EXPECT_EQ(std::strlen(helpFilePath), HELP_PATH_SIZE - 1);
  EXPECT_EQ(std::string(helpFilePath).substr(HELP_PATH_SIZE - 4), "chm");
}

}  // namespace
