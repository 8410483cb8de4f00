// The words of a command line: what Corvane quotes and splits, against Windows' own
// CommandLineToArgvW, and a converter that receives every word of the command it was given.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "command/command_words.h"
#include "paths/path_rules.h"
#include "tests/wine/driver.h"
#include "tests/wine/sheet_session.h"

namespace {

std::string ansiOf(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow.data(), size, nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
  return narrow;
}

// The words after the program, as Windows' shell splits the command in wide characters.
std::vector<std::string> wordsByWindows(const std::string& command) {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(wideOf(command).c_str(), &count);
  std::vector<std::string> result;
  for (int i = 1; words != nullptr && i < count; ++i) result.push_back(ansiOf(words[i]));
  LocalFree(words);
  return result;
}

std::vector<std::string> wordsByCorvane(const std::string& command) {
  const char* at = command.c_str();
  std::vector<std::string> result;
  char word[1024];
  if (nextWord(at, word, sizeof word, true) != WordRead::Taken) return result;
  while (nextWord(at, word, sizeof word) == WordRead::Taken) result.push_back(word);
  return result;
}

// Names of files as users give them, each quoted by Corvane after a program and read back by
// Windows and by Corvane; in code page 932 also names whose second bytes are backslashes.
std::vector<std::string> names() {
  std::vector<std::string> list = {
      "paper.dvi",
      "C:\\My Papers\\paper.dvi",
      "C:\\out\\",
      "C:\\out\\\\",
      "\\\\server\\share\\",
      "a\"b",
      "a\\\"b",
      "\"",
      "\\",
      "100%.ps",
      "%TEMP%\\x.ps",
      "a^b&c.dvi",
      "x & y | z.ps",
      "tab\there",
      "  lead and trail ",
      "a\\\\\\b\\",
      "\"quoted\"",
      "",
  };
  if (GetACP() == 932) {
    // 表 is 95 5C, ソ 83 5C and 能 94 5C: each ends in the byte of a backslash.
    for (const char* name : {"C:\\\x95\x5C\\", "C:\\\x83\x5C", "\x94\x5C\x22x", "\x95\x5C\\\\"})
      list.push_back(name);
  }
  return list;
}

void expectReadBackAsQuoted() {
  for (const std::string& name : names()) {
    char command[4096] = "";
    ASSERT_TRUE(appendProgramWord(command, sizeof command, "C:\\Tex Live\\dvips.exe"));
    std::strcat(command, " -o ");
    ASSERT_TRUE(appendQuotedWord(command, sizeof command, name.c_str()));
    std::strcat(command, " ");
    ASSERT_TRUE(appendQuotedWord(command, sizeof command, "next.dvi"));
    const std::vector<std::string> expected = {"-o", name, "next.dvi"};
    EXPECT_EQ(wordsByWindows(command), expected) << command;
    EXPECT_EQ(wordsByCorvane(command), expected) << command;
  }
}

TEST(CommandWords, QuotedNamesReadBackByCommandLineToArgvW) { expectReadBackAsQuoted(); }
TEST(Cp932CommandWords, QuotedNamesReadBackByCommandLineToArgvW) {
  ASSERT_EQ(GetACP(), 932u);
  expectReadBackAsQuoted();
}

TEST(CommandWords, CommandsThatUsersTypeSplitAsWindowsSplitsThem) {
  for (const char* command : {
           "dvips a b\tc",
           "dvips \"a b\" c",
           "dvips a\\\\\"b c\" d",
           "dvips a\\\\\\\"b c",
           "dvips \\\\\\\\\" x\"",
           "dvips \"C:\\out\\\" paper.dvi",
           "dvips \"C:\\out\\\\\" paper.dvi",
           "dvips \"unended quote",
           "dvips \"a\"\"b\" c",
           "dvips \"a\"\" b\" c",
           "dvips \"\"\"\" x",
           "dvips a\"b\"c\"d e",
           "dvips x\\",
           "\"C:\\Program Files\\dvips.exe\"-q x",
           "\"C:\\Program Files\\dvips.exe\" -q \"\"",
           "dvips    ",
       })
    EXPECT_EQ(wordsByCorvane(command), wordsByWindows(command)) << command;
}

// The program word ends at the next quote whatever stands before it.
TEST(CommandWords, ProgramWordEndsAtItsClosingQuote) {
  for (const char* command : {"\"C:\\Tex Live\\bin\\\"x y", "dvips.exe\tx", "\"C:\\a b\\c\" d"}) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(wideOf(command).c_str(), &count);
    ASSERT_NE(words, nullptr);
    const char* at = command;
    char program[260];
    ASSERT_EQ(nextWord(at, program, sizeof program, true), WordRead::Taken);
    EXPECT_EQ(std::string(program), ansiOf(words[0])) << command;
    LocalFree(words);
  }
}

// A PostScript file named as a folder that ends in a backslash: its closing quote stays a quote
// and the DVI file stays a word of its own.
class CommandWordsRun : public SheetSession {};

TEST_F(CommandWordsRun, AnOutputFolderEndingInABackslashLeavesTheDviFileAWord) {
  PdfOptions off = defaultPdfRecord();
  off.reportFailure = 0;
  storePdfRecord(off);
  Options record = fakeConverterRecord();
  const std::string folder = scratchFolder("out-folder");
  copyText(record.psFile, folder.c_str());
  ASSERT_NE(open(record, "paper.dvi"), nullptr);
  const std::string command = okAndReceive();
  const std::vector<std::string> expected = {"-o", folder, "paper.dvi"};
  EXPECT_EQ(wordsByWindows(command), expected) << command;
}

}  // namespace
