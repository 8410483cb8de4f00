// The argument taken from the process command line, its way into dviFile, and the help path.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/start_up.h"
#include "options/options.h"
#include "tests/native/fakes.h"

namespace {

struct ArgumentCase {
  const char* commandLine;
  const char* argument;
};

TEST(Argument, FollowsTheProgramName) {
  const ArgumentCase cases[] = {
      {"corvane.exe", ""},
      {"corvane.exe    a.dvi", "a.dvi"},
      {"  \tcorvane.exe\ta.dvi", "a.dvi"},
      {"\"C:\\Program Files\\corvane.exe\"a.dvi", "a.dvi"},
      {"\"C:\\Program Files\\corvane.exe\" a.dvi", "a.dvi"},
      {"corvane.exe \"C:\\My Papers\\a.dvi\"", "\"C:\\My Papers\\a.dvi\""},
      {"corvane.exe a.dvi b.dvi", "a.dvi b.dvi"},
      {"corvane.exe a.dvi  ", "a.dvi  "},
      {"\"corvane.exe", ""},
      {"\"corvane\tx.dvi", "x.dvi"},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_STREQ(argumentOfCommandLine(c.commandLine), c.argument) << c.commandLine;
}

class DviArgument : public ::testing::Test {
 protected:
  void SetUp() override {
    resetOptions();
    setDefaultOptions();
    copyText(options.dviFile, "stored.dvi");
  }
};

TEST_F(DviArgument, EmptyKeepsTheStoredFile) {
  takeDviFileArgument("");
  EXPECT_STREQ(options.dviFile, "stored.dvi");
}

TEST_F(DviArgument, IsCopiedAsItStands) {
  for (const char* argument :
       {"a.dvi", "a.dvi b.dvi", "a.dvi  ", "\"a.dvi\" \"b.dvi\"", "\"a.dvi", "a.dvi\"", "\""}) {
    takeDviFileArgument(argument);
    EXPECT_STREQ(options.dviFile, argument);
  }
}

TEST_F(DviArgument, OneQuotedPathLosesItsQuotes) {
  takeDviFileArgument("\"C:\\My Papers\\a.dvi\"");
  EXPECT_STREQ(options.dviFile, "C:\\My Papers\\a.dvi");
  takeDviFileArgument("\"\"");
  EXPECT_STREQ(options.dviFile, "");
}

TEST_F(DviArgument, LongArgumentsAreCutToTheField) {
  const std::string plain(400, 'p');
  takeDviFileArgument(plain.c_str());
  EXPECT_EQ(std::string(options.dviFile), plain.substr(0, 259));
  const std::string quoted = "\"" + std::string(300, 'q') + "\"";
  takeDviFileArgument(quoted.c_str());
  EXPECT_EQ(std::string(options.dviFile), std::string(259, 'q'));
  EXPECT_EQ(options.psFile[0], '\0');  // the next field is untouched
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
