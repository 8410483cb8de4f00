// The switches of the command mode (corvane /convert FILE.dvi ...), which do not depend on the
// platform.
#pragma once

#include <cstddef>

enum class CommandKind {
  Sheet,       // no command: the argument is the sheet's DVI file, by the start-up rule, unless
               // problem tells a slip that a build may have made (see below)
  Convert,     // /convert with a DVI file and valid switches
  Usage,       // /? (or /help): print how to use the command
  UsageError,  // /convert with something wrong; error says what
};

enum class UsageProblem {
  None,
  UnknownSwitch,
  NoPurpose,
  UnknownPurpose,
  NoFile,
  SecondFile,
  // Of a Sheet argument that names no existing file, a slip in a command: a first word that starts
  // with '/' or '-' and is no command (-convert), or several words (paper.dvi /pdf).
  NoCommand,
  SeveralWords,
};

constexpr std::size_t SWITCH_WORD_SIZE = 64;

struct CommandSwitches {
  CommandKind kind;
  UsageProblem problem;
  wchar_t word[SWITCH_WORD_SIZE];  // the word that was wrong, cut to fit
  const wchar_t* dviFile;          // the file as the command names it, quotes undone
  int makePdf;                     // -1 as saved, 0 /nopdf, 1 /pdf; the last one given counts
  int purpose;                     // -1 as saved, else the PDF page's purpose from /for
  bool openResult;                 // /open
  bool strict;                     // /strict: a run with warnings ends with 1, not 0
};

// Reads the argument (everything after the program's name). Switches, after /convert, begin with
// '/' and are read in any case; a word of another kind is the DVI file. The result, and the file
// it names, live in one shared record that every call overwrites.
const CommandSwitches& readCommandSwitches(const wchar_t* argument);
