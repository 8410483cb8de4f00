// Windows' rule for the words of a command line, both ways.
#include "command/command_words.h"

#include <cstring>

#include "paths/path_rules.h"
#include "paths/path_system.h"

namespace {

// One reader serves the narrow commands and the wide command line of the process: text and word
// are read and written a unit (a byte, or a wide character) at a time.
unsigned unitAt(const void* text, std::size_t index, bool wide) {
  if (wide) return static_cast<unsigned>(static_cast<const wchar_t*>(text)[index]);
  return static_cast<unsigned char>(static_cast<const char*>(text)[index]);
}

void setUnit(void* text, std::size_t index, unsigned unit, bool wide) {
  if (wide)
    static_cast<wchar_t*>(text)[index] = static_cast<wchar_t>(unit);
  else
    static_cast<char*>(text)[index] = static_cast<char>(unit);
}

bool isBlank(unsigned unit) { return unit == ' ' || unit == '\t'; }

enum class Rule {
  Word,
  Program,
  // A process's own program word: as Program, except that a quoted one also ends at a tab.
  OwnProgram,
};

// The units of the character at index: two for a lead byte with its second byte, else one.
std::size_t characterUnits(const void* text, std::size_t index, bool wide) {
  return !wide && isLeadByte(static_cast<char>(unitAt(text, index, false))) &&
                 unitAt(text, index + 1, false) != 0
             ? 2
             : 1;
}

// Reads the word that follows blanks from index on; index ends past it. What does not fit in
// word is dropped whole characters at a time; with no word at all the word is only passed over.
WordRead readWord(const void* text, std::size_t& index, void* word, std::size_t size, bool wide,
                  Rule rule) {
  std::size_t at = index;
  while (isBlank(unitAt(text, at, wide))) ++at;
  if (size == 0 && word != nullptr) return WordRead::TooLong;
  std::size_t length = 0;
  bool cut = false;
  const auto fits = [&](std::size_t units) {
    cut = cut || length + units >= size;
    return !cut;
  };
  const auto put = [&](unsigned unit, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
      if (fits(1)) setUnit(word, length++, unit, wide);
  };
  const auto putCharacter = [&] {
    const std::size_t units = characterUnits(text, at, wide);
    if (fits(units))
      for (std::size_t i = 0; i < units; ++i)
        setUnit(word, length++, unitAt(text, at + i, wide), wide);
    at += units;
  };
  const bool any = unitAt(text, at, wide) != 0;
  unsigned unit = 0;
  const bool programWord = rule != Rule::Word;
  if (programWord) {
    const bool quoted = unitAt(text, at, wide) == '"';
    if (quoted) ++at;
    const auto endsQuoted = [&] {
      return unit == '"' || (rule == Rule::OwnProgram && unit == '\t');
    };
    while ((unit = unitAt(text, at, wide)) != 0 && (quoted ? !endsQuoted() : !isBlank(unit)))
      putCharacter();
    if (quoted && unit == '"') ++at;
  }
  bool inQuotes = false;
  while (!programWord && (unit = unitAt(text, at, wide)) != 0 && (inQuotes || !isBlank(unit))) {
    if (unit == '\\') {
      std::size_t backslashes = 0;
      for (; unitAt(text, at, wide) == '\\'; ++at) ++backslashes;
      const bool beforeQuote = unitAt(text, at, wide) == '"';
      put('\\', beforeQuote ? backslashes / 2 : backslashes);
      if (!beforeQuote || backslashes % 2 == 0) continue;
      put('"', 1);
      ++at;
    } else if (unit == '"') {
      ++at;
      // In a quoted part a doubled quote is one literal quote, and the part ends.
      const bool doubled = inQuotes && unitAt(text, at, wide) == '"';
      if (doubled) {
        put('"', 1);
        ++at;
      }
      inQuotes = !inQuotes;
    } else {
      putCharacter();
    }
  }
  if (word != nullptr) setUnit(word, length, 0, wide);
  index = at;
  if (!any) return WordRead::None;
  return cut ? WordRead::TooLong : WordRead::Taken;
}

// Appends count bytes of piece, or nothing and false when they would not fit with the NUL.
bool appendBytes(char* out, std::size_t size, std::size_t& length, const char* piece,
                 std::size_t count) {
  if (length + count >= size) return false;
  std::memcpy(out + length, piece, count);
  length += count;
  out[length] = '\0';
  return true;
}

}  // namespace

void programOfField(const char* field, char* program, std::size_t size) {
  if (field[0] != '"') {
    copyText(program, size, field);
    return;
  }
  const char* at = field;
  nextWord(at, program, size, true);
}

// A program's path holds no quote and does not end in a backslash: in quotes it stands as it is.
bool appendProgramWord(char* out, std::size_t size, const char* program) {
  if (std::strpbrk(program, " \t") != nullptr) return appendQuotedWord(out, size, program);
  std::size_t length = std::strlen(out);
  return appendBytes(out, size, length, program, std::strlen(program));
}

bool appendQuotedWord(char* out, std::size_t size, const char* word) {
  std::size_t length = std::strlen(out);
  if (!appendBytes(out, size, length, "\"", 1)) return false;
  std::size_t backslashes = 0;
  for (const char* at = word;; ++at) {
    if (*at == '\\') {
      ++backslashes;
      continue;
    }
    // The backslashes before a quote, the closing one included, are doubled, and a quote of the
    // word's own gets one more.
    const bool beforeQuote = *at == '"' || *at == '\0';
    for (std::size_t i = 0; i < (beforeQuote ? 2 : 1) * backslashes; ++i)
      if (!appendBytes(out, size, length, "\\", 1)) return false;
    backslashes = 0;
    if (*at == '\0') break;
    if (*at == '"' && !appendBytes(out, size, length, "\\", 1)) return false;
    const std::size_t bytes = characterUnits(at, 0, false);
    if (!appendBytes(out, size, length, at, bytes)) return false;
    at += bytes - 1;
  }
  return appendBytes(out, size, length, "\"", 1);
}

WordRead nextWord(const char*& at, char* word, std::size_t size, bool programWord) {
  std::size_t index = 0;
  const WordRead read =
      readWord(at, index, word, size, false, programWord ? Rule::Program : Rule::Word);
  at += index;
  return read;
}

WordRead nextWord(const wchar_t*& at, wchar_t* word, std::size_t size) {
  std::size_t index = 0;
  const WordRead read = readWord(at, index, word, size, true, Rule::Word);
  at += index;
  return read;
}

const wchar_t* argumentOfCommandLine(const wchar_t* processCommandLine) {
  std::size_t index = 0;
  readWord(processCommandLine, index, nullptr, 0, true, Rule::OwnProgram);
  while (isBlank(static_cast<unsigned>(processCommandLine[index]))) ++index;
  return processCommandLine + index;
}
