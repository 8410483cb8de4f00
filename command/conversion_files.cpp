// The files of a conversion, named by dvips's rules, and the PDF beside them.
#include "command/conversion_files.h"

#include <cstring>

#include "base/text.h"
#include "base/text_format.h"
#include "command/command_words.h"
#include "paths/path_system.h"

namespace {

bool isAbsolute(const char* path) {
  return path[0] == '\\' || path[0] == '/' || (path[0] != '\0' && path[1] == ':');
}

// The position of the extension's dot in the file name at the end of path, or null.
const char* extensionDot(const char* path) { return lastCharacterOf(fileNameOf(path), "."); }

// The length of the root of a full path: "C:" for a drive, "\\\\server\\share" for a share.
std::size_t rootLength(const char* path) {
  if (path[0] != '\\' || path[1] != '\\') return path[0] != '\0' && path[1] == ':' ? 2 : 0;
  const char* at = path + 2;
  at += std::strcspn(at, "\\");
  if (*at != '\0') ++at;
  return static_cast<std::size_t>(at + std::strcspn(at, "\\") - path);
}

// The full form of folder\name; false when it does not fit. A name from the root ("\out.ps")
// is on the folder's drive, not the drive of Corvane's own folder.
bool fullPathIn(const char* folder, const char* name, PathText& path) {
  PathText joined = "";
  const bool fromRoot = (name[0] == '\\' || name[0] == '/') && name[1] != '\\' && name[1] != '/';
  if (fromRoot) {
    const std::size_t root = rootLength(folder);
    if (root + 1 >= sizeof joined) return false;
    std::memcpy(joined, folder, root);
    joined[root] = '\0';
    appendFormatted(joined, "%s", {name});
  } else if (isAbsolute(name)) {
    appendFormatted(joined, "%s", {name});
  } else {
    appendFormatted(joined, "%s%s%s", {folder, separatorAfter(folder), name});
  }
  const std::uint32_t length = fullPathName(joined, path, PATH_FIELD_SIZE);
  return length != 0 && length < PATH_FIELD_SIZE;
}

// The switches of dvips that take a value, either joined to the letter or as the next word.
bool takesValue(char letter) {
  return letter != '\0' && std::strchr("bcCdDehlnoOpPStTuxXyY", letter) != nullptr;
}

// A flag that a '0' after its letter turns off.
bool flagOn(const char* word) { return word[2] != '0'; }

}  // namespace

ConversionPlan plan;

void makePlan(const char* command, const char* runFolder) {
  plan = {};
  PathText word, output = "";
  char* const dviFile = plan.dviFile;
  bool outputGiven = false, printer = false, toStandardOutput = false, cut = false;
  const char* at = command;
  nextWord(at, word, sizeof word, true);
  for (WordRead read; (read = nextWord(at, word, sizeof word)) != WordRead::None;) {
    cut = cut || read == WordRead::TooLong;
    if (word[0] != '-' || word[1] == '\0') {
      if (dviFile[0] == '\0') copyText(plan.dviFile, word);
      continue;
    }
    const char letter = word[1];
    if (std::strcmp(word, "-mode") == 0 || std::strcmp(word, "-title") == 0 ||
        std::strcmp(word, "-bitmapfontenc") == 0) {
      nextWord(at, word, sizeof word);
      continue;
    }
    if (letter == 'i') plan.sections = flagOn(word);
    if (letter == 'E') plan.encapsulated = flagOn(word);
    // dvips's -f sends the output to standard output until a later -o names a file.
    if (letter == 'f' && flagOn(word)) toStandardOutput = true;
    if (letter == 'P') printer = true;
    const bool longFlag = std::strncmp(word, "-landscaperotate", 16) == 0 ||
                          std::strncmp(word, "-noomega", 8) == 0 ||
                          std::strncmp(word, "-noptex", 7) == 0;
    if (!takesValue(letter) || longFlag) continue;
    const char* value = word + (letter == 'p' && word[2] == 'p' ? 3 : 2);
    PathText next = "";
    // dvips takes the next word for -o only when it is no switch, or "-".
    const char* after = at;
    if (*value == '\0') {
      const WordRead nextRead = nextWord(after, next, sizeof next);
      if (nextRead != WordRead::None && (letter != 'o' || next[0] != '-' || next[1] == '\0')) {
        at = after;
        value = next;
        cut = cut || nextRead == WordRead::TooLong;
      }
    }
    if (letter == 'o') {
      outputGiven = true;
      toStandardOutput = std::strcmp(value, "-") == 0;
      copyText(output, value);
    }
  }
  // A name that was cut, or a folder that is not known, would name a file that dvips never
  // writes.
  if (cut || runFolder[0] == '\0') {
    plan.place = OutputPlace::NotFollowed;
    return;
  }
  if (toStandardOutput) {
    plan.place = OutputPlace::StandardOutput;
    return;
  }
  if (output[0] == '!' || output[0] == '|') {
    plan.place = OutputPlace::Program;
    return;
  }
  if (output[0] != '\0') {
    plan.place =
        fullPathIn(runFolder, output, plan.postScript) ? OutputPlace::Known : OutputPlace::TooLong;
    return;
  }
  if (dviFile[0] == '\0') {
    plan.place = OutputPlace::NoDviFile;
    return;
  }
  const char* name = fileNameOf(dviFile);
  const char* dot = extensionDot(name);
  const std::size_t stem =
      dot == nullptr ? std::strlen(name) : static_cast<std::size_t>(dot - name);
  PathText psName = "";
  if (stem + 4 < PATH_FIELD_SIZE) {
    std::memcpy(psName, name, stem);
    std::memcpy(psName + stem, ".ps", 4);
  }
  if (psName[0] == '\0' || !fullPathIn(runFolder, psName, plan.postScript)) {
    plan.place = OutputPlace::TooLong;
    return;
  }
  // Without -o a printer's configuration decides where the output goes.
  plan.place = printer && !outputGiven ? OutputPlace::Printer : OutputPlace::Known;
}

bool sectionFile(int number, PathText& path) {
  const char* dot = extensionDot(plan.postScript);
  const std::size_t stem = dot == nullptr ? std::strlen(plan.postScript)
                                          : static_cast<std::size_t>(dot - plan.postScript);
  if (stem + 5 >= PATH_FIELD_SIZE || number < 1 || number > MAX_SECTIONS) return false;
  std::memcpy(path, plan.postScript, stem);
  char* digits = path + stem;
  if (dot != nullptr) *digits++ = '.';
  digits[0] = static_cast<char>('0' + number / 100);
  digits[1] = static_cast<char>('0' + number / 10 % 10);
  digits[2] = static_cast<char>('0' + number % 10);
  digits[3] = '\0';
  return true;
}

bool pdfFileFor(const char* postScript, PathText& pdf) {
  const char* dot = extensionDot(postScript);
  const std::size_t stem =
      dot == nullptr ? std::strlen(postScript) : static_cast<std::size_t>(dot - postScript);
  const bool alreadyPdf = dot != nullptr && equalsIgnoringAsciiCase(dot, ".pdf");
  // A PostScript file named *.pdf keeps its name whole, so that Ghostscript never writes over
  // the file it reads.
  const std::size_t kept = alreadyPdf ? std::strlen(postScript) : stem;
  if (kept + 4 >= PATH_FIELD_SIZE) return false;
  std::memcpy(pdf, postScript, kept);
  std::memcpy(pdf + kept, ".pdf", 5);
  return true;
}
