// The composed command: the worked example, each switch, growth of the block, the program part.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "command/command_line.h"
#include "command/command_words.h"
#include "options/options.h"
#include "paths/path_rules.h"
#include "tests/native/fakes.h"

namespace {

const char* const PROGRAM = "C:\\TeX\\bin\\dvips.exe";

class Compose : public ::testing::Test {
 protected:
  void SetUp() override {
    resetFakes();
    resetOptions();
    setDefaultOptions();
    copyText(options.programFile, PROGRAM);
    fakeShortNames[PROGRAM] = PROGRAM;
  }
  std::string compose() {
    EXPECT_EQ(composeCommandLine(), 1);
    EXPECT_LT(static_cast<std::int32_t>(std::strlen(commandLine)), commandCapacity);
    return commandLine;
  }
  // The switches alone, between the program part and the DVI file.
  std::string switches() {
    const std::string command = compose();
    return command.substr(std::strlen(PROGRAM) + 1);
  }
};

TEST_F(Compose, WorkedExample) {
  copyText(options.dviFile, "C:\\Papers\\paper.dvi");
  copyText(options.psFile, "C:\\Papers\\paper.ps");
  options.firstPage = 3;
  options.lastPage = 10;
  options.useTexNumbers = 0;
  options.pageParity = 1;
  options.copies = 2;
  copyText(options.paperType, "a4");
  options.magnification = 1200;
  options.landscape = 1;
  options.resolution = 600;
  options.quiet = 1;
  options.createFonts = 0;
  copyText(options.otherOptions, "-Z");
  EXPECT_EQ(compose(),
            "C:\\TeX\\bin\\dvips.exe -o \"C:\\Papers\\paper.ps\" -p =3 -l =10 -A -C 2 -t a4 "
            "-x 1200 -t landscape -D 600 -q -M -Z \"C:\\Papers\\paper.dvi\"");
  options.useTexNumbers = 1;
  options.multiplyDviMag = 1;
  options.copyMode = 1;
  EXPECT_EQ(compose(),
            "C:\\TeX\\bin\\dvips.exe -o \"C:\\Papers\\paper.ps\" -p 3 -l 10 -A -c 2 -t a4 "
            "-y 1200 -t landscape -D 600 -q -M -Z \"C:\\Papers\\paper.dvi\"");
}

TEST_F(Compose, DefaultRecord) {
  copyText(options.dviFile, "C:\\Papers\\paper.dvi");
  EXPECT_EQ(compose(), "C:\\TeX\\bin\\dvips.exe \"C:\\Papers\\paper.dvi\"");
  options.dviFile[0] = '\0';
  EXPECT_EQ(compose(), "C:\\TeX\\bin\\dvips.exe ");
  options.createFonts = 0;
  options.useTexNumbers = 0;
  options.useDviDirectory = 0;
  options.windowMode = 0;
  EXPECT_EQ(compose(), "C:\\TeX\\bin\\dvips.exe -M ");
}

// The converter starts in the DVI file's folder only when the file is found; the command then
// names the file by its full path, since a relative name would miss it from there.
struct DviFolderCase {
  const char* dviFile;
  std::int32_t useDviDirectory;
  const char* commandDvi;
  const char* folder;  // empty: the converter starts in Corvane's own folder
};

// In a double-byte code page a backslash may be the second byte of a character: D:\ソ能\表.dvi is
// 44 3A 5C 83 5C 94 5C 5C 95 5C 2E 64 76 69. Its short form is the name itself, as on a volume
// without short names, or where the name already fits them.
const char* const DOUBLE_BYTE_FOLDER = "D:\\\x83\x5c\x94\x5c";
const char* const DOUBLE_BYTE_FILE = "D:\\\x83\x5c\x94\x5c\\\x95\x5c.dvi";
const char* const DOUBLE_BYTE_IN_ROOT = "D:\\\x95\x5c.dvi";

TEST_F(Compose, DviFileAndTheConvertersFolder) {
  fakeDoubleByte = true;
  fakeShortNames[DOUBLE_BYTE_FILE] = DOUBLE_BYTE_FILE;
  fakeShortNames[DOUBLE_BYTE_IN_ROOT] = DOUBLE_BYTE_IN_ROOT;
  fakeShortNames["C:\\Start\\sub\\paper.dvi"] = "C:\\Start\\sub\\paper.dvi";
  fakeShortNames["C:\\Start\\..\\Sibling\\paper.dvi"] = "C:\\Sibling\\paper.dvi";
  fakeShortNames["C:\\My Papers\\paper.dvi"] = "C:\\MYPAPE~1\\paper.dvi";
  fakeShortNames["C:\\paper.dvi"] = "C:\\paper.dvi";
  const DviFolderCase cases[] = {
      {"sub\\paper.dvi", 1, "C:\\Start\\sub\\paper.dvi", "C:\\Start\\sub"},
      {"..\\Sibling\\paper.dvi", 1, "C:\\Start\\..\\Sibling\\paper.dvi", "C:\\Sibling"},
      {"sub\\paper.dvi", 0, "sub\\paper.dvi", ""},
      {"missing\\paper.dvi", 1, "missing\\paper.dvi", ""},
      {"C:\\My Papers\\paper.dvi", 1, "C:\\My Papers\\paper.dvi", "C:\\MYPAPE~1"},
      {"C:\\paper.dvi", 1, "C:\\paper.dvi", "C:\\"},
      {DOUBLE_BYTE_FILE, 1, DOUBLE_BYTE_FILE, DOUBLE_BYTE_FOLDER},
      {DOUBLE_BYTE_IN_ROOT, 1, DOUBLE_BYTE_IN_ROOT, "D:\\"},
  };
  for (const auto& c : cases) {
    copyText(options.dviFile, c.dviFile);
    options.useDviDirectory = c.useDviDirectory;
    EXPECT_EQ(compose(), std::string(PROGRAM) + " \"" + c.commandDvi + "\"") << c.dviFile;
    char fullPath[DVI_FOLDER_SIZE], folder[DVI_FOLDER_SIZE];
    const bool found = options.useDviDirectory && dviFolder(options.dviFile, fullPath, folder);
    EXPECT_EQ(found ? std::string(folder) : std::string(), c.folder) << c.dviFile;
  }
}

TEST_F(Compose, FilesAndTexts) {
  copyText(options.psFile, "out file.ps");
  EXPECT_EQ(switches(), "-o \"out file.ps\" ");
  options.psFile[0] = '\0';
  options.encapsulated = 1;
  EXPECT_EQ(switches(), "-E ");
  options.encapsulated = 0;
  copyText(options.pageRanges, "1-3,7");
  EXPECT_EQ(switches(), "-pp 1-3,7 ");
  options.pageRanges[0] = '\0';
  copyText(options.offset, "1in,0.5in");
  copyText(options.paperSize, "210mm,297mm");
  copyText(options.printer, "lj 4");
  copyText(options.otherOptions, "-Z -j0");
  EXPECT_EQ(switches(), "-O 1in,0.5in -T 210mm,297mm -P lj 4 -Z -j0 ");
}

TEST_F(Compose, PageSelection) {
  options.lastPage = 10;
  EXPECT_EQ(switches(), "-l 10 ");
  options.useTexNumbers = 0;
  EXPECT_EQ(switches(), "-l =10 ");
  options.firstPage = -4;
  EXPECT_EQ(switches(), "-p =-4 -l =10 ");
  options.firstPage = options.lastPage = 0;
  for (const auto& [parity, expected] :
       {std::pair{0, ""}, {1, "-A "}, {2, "-B "}, {3, ""}, {-1, ""}, {7, ""}}) {
    options.pageParity = static_cast<std::int8_t>(parity);
    EXPECT_EQ(switches(), expected) << parity;
  }
  options.pageParity = 0;
  options.reverseOrder = 1;
  EXPECT_EQ(switches(), "-r ");
}

TEST_F(Compose, Copies) {
  for (const auto& [mode, expected] :
       {std::pair{0, "-C 2 "}, {1, "-c 2 "}, {2, "-b 2 "}, {3, "-b 2 "}, {7, "-b 2 "}}) {
    options.copies = 2;
    options.copyMode = static_cast<std::int8_t>(mode);
    EXPECT_EQ(switches(), expected) << mode;
  }
  options.copies = 0;
  options.copyMode = 1;
  EXPECT_EQ(switches(), "");
}

TEST_F(Compose, PaperAndScaling) {
  copyText(options.paperType, "letter");
  options.landscape = 1;
  EXPECT_EQ(switches(), "-t letter -t landscape ");
  options.paperType[0] = '\0';
  options.landscape = 0;
  options.multiplyDviMag = 1;
  EXPECT_EQ(switches(), "");
  options.magnification = 1315;
  EXPECT_EQ(switches(), "-y 1315 ");
  options.multiplyDviMag = 0;
  EXPECT_EQ(switches(), "-x 1315 ");
  options.magnification = 0;
  options.manualFeed = 1;
  EXPECT_EQ(switches(), "-m ");
  options.manualFeed = 0;
  options.resolution = 600;
  options.horizontalResolution = 300;
  options.verticalResolution = -1;
  EXPECT_EQ(switches(), "-D 600 -X 300 -Y -1 ");
}

TEST_F(Compose, ConverterFlags) {
  options.quiet = 1;
  options.createFonts = 0;
  EXPECT_EQ(switches(), "-q -M ");
  options.quiet = 7;  // any non-zero value counts as on
  options.createFonts = 2;
  EXPECT_EQ(switches(), "-q ");
}

TEST_F(Compose, FormatSwitchCoversTheWholeRange) {
  EXPECT_STREQ(formatSwitch('p', INT32_MIN, 1), "-p =-2147483648 ");
  EXPECT_STREQ(formatSwitch('X', INT32_MAX, 0), "-X 2147483647 ");
  EXPECT_STREQ(formatSwitch('C', 0, 0), "-C 0 ");
  const char* first = formatSwitch('a', 1, 0);
  EXPECT_EQ(formatSwitch('b', 2, 0), first);  // one shared buffer
}

void fillEveryField() {
  const std::string path(259, 'p');
  const std::string shortText(63, 's');
  for (char* field : {options.dviFile, options.psFile, options.printer, options.otherOptions})
    copyText(field, PATH_FIELD_SIZE, path.c_str());
  for (char* field : {options.pageRanges, options.paperType, options.offset, options.paperSize})
    copyText(field, SHORT_FIELD_SIZE, shortText.c_str());
  options.encapsulated = options.reverseOrder = options.landscape = options.manualFeed = 1;
  options.quiet = 1;
  options.createFonts = 0;
  options.useTexNumbers = 0;
  options.firstPage = options.lastPage = options.copies = INT32_MIN;
  options.magnification = options.resolution = INT32_MIN;
  options.horizontalResolution = options.verticalResolution = INT32_MIN;
  options.pageParity = 2;
}

TEST_F(Compose, CommandsPastTheFirstBlockGrowToTheSecond) {
  const std::string program(259, 'd');
  copyText(options.programFile, program.c_str());
  fakeShortNames[program] = program;
  fillEveryField();
  const std::string command = compose();
  EXPECT_EQ(commandCapacity, 2048);
  EXPECT_GE(command.size(), 1024u);
  EXPECT_EQ(command.substr(0, 260), program + " ");
  EXPECT_EQ(command.substr(command.size() - 261), "\"" + std::string(259, 'p') + "\"");
}

TEST_F(Compose, GrowthHappensExactlyWhenThePieceWouldNotFitWithItsNul) {
  // Program part and blank make 2 characters; 1021 more leave the text at 1023 characters.
  copyText(options.programFile, "d");
  fakeShortNames["d"] = "d";
  ASSERT_EQ(composeCommandLine(), 1);
  const std::string piece(1021, 'x');
  ASSERT_EQ(appendToCommandLine(piece.c_str()), 1);
  EXPECT_EQ(commandCapacity, 1024);
  ASSERT_EQ(appendToCommandLine("y"), 1);
  EXPECT_EQ(commandCapacity, 2048);
  EXPECT_EQ(std::strlen(commandLine), 1024u);
}

TEST_F(Compose, SecondCompositionStartsAfresh) {
  fillEveryField();
  const std::string first = compose();
  EXPECT_EQ(commandCapacity, 2048);
  EXPECT_EQ(compose(), first);
  resetOptions();
  setDefaultOptions();
  copyText(options.programFile, PROGRAM);
  EXPECT_EQ(compose(), std::string(PROGRAM) + " ");
  EXPECT_EQ(commandCapacity, 1024);
}

TEST_F(Compose, ProgramPartIsTheShortForm) {
  copyText(options.programFile, "C:\\Program Files\\TeX\\dvips.exe");
  fakeShortNames[options.programFile] = "C:\\PROGRA~1\\TeX\\dvips.exe";
  EXPECT_EQ(compose(), "C:\\PROGRA~1\\TeX\\dvips.exe ");
}

TEST_F(Compose, ProgramAsTypedWhenTheShortFormFails) {
  copyText(options.programFile, "dvips.exe");
  EXPECT_EQ(compose(), "dvips.exe ");
  copyText(options.programFile, "C:\\No Such\\dvips.exe");
  EXPECT_EQ(compose(), "\"C:\\No Such\\dvips.exe\" ");
}

TEST_F(Compose, ProgramPartWithBlanksIsQuotedOnce) {
  // Short names may be turned off on a volume: the long name comes back.
  copyText(options.programFile, "C:\\Program Files\\dvips.exe");
  fakeShortNames[options.programFile] = options.programFile;
  EXPECT_EQ(compose(), "\"C:\\Program Files\\dvips.exe\" ");
  copyText(options.programFile, "\"C:\\Program Files\\dvips.exe\"");
  EXPECT_EQ(compose(), "\"C:\\Program Files\\dvips.exe\" ");
  const std::string longest = "C:\\" + std::string(250, 'a') + " b.exe";
  copyText(options.programFile, longest.c_str());
  EXPECT_EQ(compose(), "\"" + longest.substr(0, 259) + "\" ");
}

// The words of the command as the converter's runtime reads them.
std::vector<std::string> wordsOf(const char* command) {
  std::vector<std::string> words;
  char word[1024];
  const char* at = command;
  if (nextWord(at, word, sizeof word, true) == WordRead::Taken) words.push_back(word);
  while (nextWord(at, word, sizeof word) == WordRead::Taken) words.push_back(word);
  return words;
}

TEST_F(Compose, AnOutputFolderEndingInABackslashDoesNotSwallowTheDviFile) {
  copyText(options.psFile, "C:\\out\\");
  copyText(options.dviFile, "C:\\Papers\\paper.dvi");
  const std::string command = compose();
  EXPECT_EQ(command, std::string(PROGRAM) + " -o \"C:\\out\\\\\" \"C:\\Papers\\paper.dvi\"");
  const std::vector<std::string> expected = {PROGRAM, "-o", "C:\\out\\", "C:\\Papers\\paper.dvi"};
  EXPECT_EQ(wordsOf(command.c_str()), expected);
}

struct QuotedCase {
  const char* word;
  const char* quoted;
};

// Backslashes are doubled only before a quote; the characters that mean something to cmd.exe
// mean nothing to process creation and stand as they are.
TEST(CommandWords, QuotingDoublesOnlyTheBackslashesBeforeAQuote) {
  const QuotedCase cases[] = {
      {"paper.dvi", "\"paper.dvi\""},
      {"C:\\My Papers\\a.dvi", "\"C:\\My Papers\\a.dvi\""},
      {"C:\\out\\", "\"C:\\out\\\\\""},
      {"\\\\server\\share", "\"\\\\server\\share\""},
      {"a\"b", "\"a\\\"b\""},
      {"a\\\"b", "\"a\\\\\\\"b\""},
      {"", "\"\""},
      {"100% ^&|<>.ps", "\"100% ^&|<>.ps\""},
  };
  for (const auto& c : cases) {
    char out[64] = "";
    ASSERT_TRUE(appendQuotedWord(out, sizeof out, c.word));
    EXPECT_STREQ(out, c.quoted);
    const char* at = out;
    char back[64];
    ASSERT_EQ(nextWord(at, back, sizeof back), WordRead::Taken);
    EXPECT_STREQ(back, c.word);
    EXPECT_EQ(*at, '\0');
  }
  char tooSmall[8] = "";
  EXPECT_FALSE(appendQuotedWord(tooSmall, sizeof tooSmall, "C:\\out\\"));
}

struct SplitCase {
  const char* command;
  std::vector<std::string> words;
};

TEST(CommandWords, SplitsByTheRuntimesRule) {
  const SplitCase cases[] = {
      {"dvips a  b\tc", {"dvips", "a", "b", "c"}},
      {"\"C:\\Program Files\\dvips.exe\"-q x", {"C:\\Program Files\\dvips.exe", "-q", "x"}},
      {"\"C:\\bin\\\" x", {"C:\\bin\\", "x"}},
      {"p \"C:\\out\\\" paper.dvi", {"p", "C:\\out\" paper.dvi"}},
      {"p \"C:\\out\\\\\" paper.dvi", {"p", "C:\\out\\", "paper.dvi"}},
      {"p a\\\\\\\"b \\x\\", {"p", "a\\\"b", "\\x\\"}},
      {"p \"a\"\"b\" c", {"p", "a\"b c"}},
      {"p \"a\"\" b\" c", {"p", "a\"", "b c"}},
      {"p \"\" x", {"p", "", "x"}},
      {"p \"unended", {"p", "unended"}},
      {"  ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(wordsOf(c.command), c.words) << c.command;
}

// A second byte that equals a backslash is part of its character, never an escape.
TEST(CommandWords, DoubleByteCharactersEndingInABackslashStayWhole) {
  resetFakes();
  fakeDoubleByte = true;
  char out[64] = "";
  ASSERT_TRUE(appendQuotedWord(out, sizeof out, "C:\\\x95\x5C"));  // C:\表
  EXPECT_STREQ(out, "\"C:\\\x95\x5C\"");
  EXPECT_EQ(wordsOf((std::string("p ") + out + " \x83\x5C\"x\"").c_str()),
            (std::vector<std::string>{"p", "C:\\\x95\x5C", "\x83\x5Cx"}));
  fakeDoubleByte = false;
  EXPECT_EQ(wordsOf("p \"C:\\\x95\x5C\" x"), (std::vector<std::string>{"p", "C:\\\x95\" x"}));
}

TEST(CommandWords, AWordTooLongIsCutOnAWholeCharacter) {
  resetFakes();
  fakeDoubleByte = true;
  const char* at =
      "\"ab\x95\x5C"
      "cd\" next";
  char word[4];
  EXPECT_EQ(nextWord(at, word, sizeof word), WordRead::TooLong);
  EXPECT_STREQ(word, "ab");
  EXPECT_EQ(nextWord(at, word, sizeof word), WordRead::TooLong);
  EXPECT_STREQ(word, "nex");
  EXPECT_EQ(nextWord(at, word, sizeof word), WordRead::None);
  fakeDoubleByte = false;
}

}  // namespace
