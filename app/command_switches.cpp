// The switches of the command mode: which run the command line asks for.
#include "app/command_switches.h"

#include <cwchar>

#include "command/command_words.h"
#include "options/pdf_options.h"
#include "paths/path_rules.h"

namespace {

ZERO_FILLED CommandSwitches switches;
ZERO_FILLED wchar_t word[WIDE_PATH_SIZE];
ZERO_FILLED wchar_t file[WIDE_PATH_SIZE];

// ASCII case only: every switch and purpose is ASCII.
bool sameWord(const wchar_t* text, const wchar_t* lowerCase) {
  for (; *lowerCase != L'\0'; ++text, ++lowerCase) {
    const wchar_t c = *text >= L'A' && *text <= L'Z' ? static_cast<wchar_t>(*text + 32) : *text;
    if (c != *lowerCase) return false;
  }
  return *text == L'\0';
}

const CommandSwitches& wrong(UsageProblem problem, const wchar_t* what) {
  switches.kind = CommandKind::UsageError;
  switches.problem = problem;
  std::wcsncpy(switches.word, what, SWITCH_WORD_SIZE - 1);
  switches.word[SWITCH_WORD_SIZE - 1] = L'\0';
  return switches;
}

// The purpose that /for names: its first word of the page's list, or -1.
int purposeNamed(const wchar_t* name) {
  const wchar_t* const names[PDF_PURPOSE_COUNT] = {L"everyday", L"journal", L"smaller", L"archive"};
  for (int index = 0; index < PDF_PURPOSE_COUNT; ++index)
    if (sameWord(name, names[index])) return index;
  return -1;
}

}  // namespace

const CommandSwitches& readCommandSwitches(const wchar_t* argument) {
  switches = {CommandKind::Sheet, UsageProblem::None, L"", nullptr, -1, -1, false, false};
  const wchar_t* at = argument;
  if (nextWord(at, word, WIDE_PATH_SIZE) != WordRead::Taken) return switches;
  if (sameWord(word, L"/?") || sameWord(word, L"/help")) {
    switches.kind = CommandKind::Usage;
    return switches;
  }
  if (!sameWord(word, L"/convert")) {
    const bool oneWord = nextWord(at, file, WIDE_PATH_SIZE) == WordRead::None;
    if (word[0] == L'/' || word[0] == L'-')
      wrong(UsageProblem::NoCommand, word);
    else if (!oneWord)
      wrong(UsageProblem::SeveralWords, argument);
    switches.kind = CommandKind::Sheet;
    return switches;
  }
  file[0] = L'\0';
  for (WordRead read; (read = nextWord(at, word, WIDE_PATH_SIZE)) != WordRead::None;) {
    if (word[0] != L'/') {
      if (file[0] != L'\0') return wrong(UsageProblem::SecondFile, word);
      // A file name too long for any path is no file.
      if (read == WordRead::TooLong) return wrong(UsageProblem::NoFile, word);
      std::wcscpy(file, word);
    } else if (sameWord(word, L"/pdf") || sameWord(word, L"/nopdf")) {
      switches.makePdf = word[1] == L'p' || word[1] == L'P' ? 1 : 0;
    } else if (sameWord(word, L"/open")) {
      switches.openResult = true;
    } else if (sameWord(word, L"/strict")) {
      switches.strict = true;
    } else if (sameWord(word, L"/for")) {
      if (nextWord(at, word, WIDE_PATH_SIZE) == WordRead::None)
        return wrong(UsageProblem::NoPurpose, L"/for");
      switches.purpose = purposeNamed(word);
      if (switches.purpose < 0) return wrong(UsageProblem::UnknownPurpose, word);
    } else {
      return wrong(UsageProblem::UnknownSwitch, word);
    }
  }
  if (file[0] == L'\0') return wrong(UsageProblem::NoFile, L"");
  switches.kind = CommandKind::Convert;
  switches.dviFile = file;
  return switches;
}
