// The words of a Windows command line, as CommandLineToArgvW and the C runtime of the programs
// that Corvane starts read them. One rule for every command that Corvane writes or reads.
//
// The program, the first word, ends at the next quote when it begins with one (it holds no
// quote), else at the first blank or tab. In every later word backslashes are literal except
// before a quote: 2n backslashes and a quote give n backslashes and a quote that opens or closes
// a quoted part; 2n+1 give n backslashes and a literal quote. Blanks and tabs outside quotes end
// a word. In a quoted part a doubled quote gives one literal quote and ends the part.
#pragma once

#include <cstddef>

// The program that a path field names: quotes typed around it go as the program word's rule
// drops them; else the text stands whole, blanks and all. Cut to size - 1 bytes.
void programOfField(const char* field, char* program, std::size_t size);

// Appends program to the text in out (of size bytes) as the first word of a command: in quotes
// when it holds a blank or a tab. False, with the text cut, when it does not fit.
bool appendProgramWord(char* out, std::size_t size, const char* program);

// Appends word in quotes so that it reads back as word: each quote in it escaped, and the
// backslashes before a quote or before the closing quote doubled, so that a folder ending in a
// backslash does not swallow the next word. False, with the text cut, when it does not fit.
bool appendQuotedWord(char* out, std::size_t size, const char* word);

// The most that appendQuotedWord makes of a text of n bytes, its NUL included.
constexpr std::size_t quotedWordSize(std::size_t n) { return 2 * n + 3; }

enum class WordRead {
  None,     // only blanks were left
  Taken,    // word holds the next word
  TooLong,  // the next word did not fit: word holds its start, cut on a whole character
};

// Reads the word that follows blanks at at into word (of size bytes, quotes and escapes
// undone), and moves at past it. The program word is read by its own rule with programWord.
WordRead nextWord(const char*& at, char* word, std::size_t size, bool programWord = false);
WordRead nextWord(const wchar_t*& at, wchar_t* word, std::size_t size);

// Everything after the program word of a process's own command line, blanks and quotes kept. The
// word is read by the program word's rule, except that a quoted one also ends at a tab.
const wchar_t* argumentOfCommandLine(const wchar_t* processCommandLine);
