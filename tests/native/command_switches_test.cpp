// The command mode's switches: what each argument asks for.
#include <gtest/gtest.h>

#include <string>

#include "app/command_switches.h"

namespace {

struct SwitchCase {
  const wchar_t* argument;
  CommandKind kind;
  UsageProblem problem;
  const wchar_t* fileOrWord;  // the file of a conversion, the wrong word of an error
  int makePdf, purpose;
  bool openResult;
  bool strict = false;
};

constexpr CommandKind SHEET = CommandKind::Sheet, CONVERT = CommandKind::Convert,
                      USAGE = CommandKind::Usage, ERROR = CommandKind::UsageError;
constexpr UsageProblem NONE = UsageProblem::None;

TEST(CommandSwitches, ReadAsTheTableSays) {
  const SwitchCase cases[] = {
      {L"", SHEET, NONE, L"", -1, -1, false},
      {L"a.dvi", SHEET, NONE, L"", -1, -1, false},
      {L"-convert a.dvi", SHEET, UsageProblem::NoCommand, L"-convert", -1, -1, false},
      {L"a.dvi /pdf", SHEET, UsageProblem::SeveralWords, L"a.dvi /pdf", -1, -1, false},
      {L"\"C:\\My Papers\\a.dvi\"", SHEET, NONE, L"", -1, -1, false},
      {L"/?", USAGE, NONE, L"", -1, -1, false},
      {L"  /HELP", USAGE, NONE, L"", -1, -1, false},
      {L"/convert a.dvi", CONVERT, NONE, L"a.dvi", -1, -1, false},
      {L"/Convert \"C:\\My Papers\\a.dvi\" /PDF", CONVERT, NONE, L"C:\\My Papers\\a.dvi", 1, -1,
       false},
      {L"/convert /nopdf a.dvi /open", CONVERT, NONE, L"a.dvi", 0, -1, true},
      {L"/convert a.dvi /pdf /nopdf", CONVERT, NONE, L"a.dvi", 0, -1, false},
      {L"/convert a.dvi /for everyday", CONVERT, NONE, L"a.dvi", -1, 0, false},
      {L"/convert a.dvi /for Journal /pdf", CONVERT, NONE, L"a.dvi", 1, 1, false},
      {L"/convert a.dvi /for smaller", CONVERT, NONE, L"a.dvi", -1, 2, false},
      {L"/convert a.dvi /for archive", CONVERT, NONE, L"a.dvi", -1, 3, false},
      {L"/convert a.dvi /Strict", CONVERT, NONE, L"a.dvi", -1, -1, false, true},
      {L"/convert", ERROR, UsageProblem::NoFile, L"", -1, -1, false},
      {L"/convert /pdf", ERROR, UsageProblem::NoFile, L"", 1, -1, false},
      {L"/convert a.dvi b.dvi", ERROR, UsageProblem::SecondFile, L"b.dvi", -1, -1, false},
      {L"/convert a.dvi /quiet", ERROR, UsageProblem::UnknownSwitch, L"/quiet", -1, -1, false},
      {L"/convert a.dvi /for", ERROR, UsageProblem::NoPurpose, L"/for", -1, -1, false},
      {L"/convert a.dvi /for print", ERROR, UsageProblem::UnknownPurpose, L"print", -1, -1, false},
      {L"/convert a.dvi /pdfs", ERROR, UsageProblem::UnknownSwitch, L"/pdfs", -1, -1, false},
  };
  for (const SwitchCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.argument);
    const CommandSwitches& read = readCommandSwitches(c.argument);
    EXPECT_EQ(read.kind, c.kind);
    EXPECT_EQ(read.problem, c.problem);
    if (c.kind == CONVERT) {
      EXPECT_EQ(std::wstring(read.dviFile), c.fileOrWord);
      EXPECT_EQ(read.makePdf, c.makePdf);
      EXPECT_EQ(read.purpose, c.purpose);
      EXPECT_EQ(read.openResult, c.openResult);
      EXPECT_EQ(read.strict, c.strict);
    } else {
      EXPECT_EQ(std::wstring(read.word), c.fileOrWord);
    }
  }
}

}  // namespace
