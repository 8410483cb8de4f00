// The command's lines, and the run's messages printed as such lines.
#include "app/command_lines.h"

#include "base/strings.h"
#include "base/text.h"
#include "base/text_format.h"
#include "paths/path_rules.h"
#include "resources/resource.h"

namespace {

HANDLE output = nullptr;
const wchar_t* lineStart = L"corvane";
ZERO_FILLED wchar_t wide[8192];
ZERO_FILLED char utf8[sizeof wide * 3 / sizeof(wchar_t)];
ZERO_FILLED char paragraphText[2048];

void write(const wchar_t* text) {
  DWORD written = 0, mode = 0;
  const int length = lstrlenW(text);
  if (GetConsoleMode(output, &mode)) {
    WriteConsoleW(output, text, static_cast<DWORD>(length), &written, nullptr);
    return;
  }
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8, nullptr, nullptr);
  WriteFile(output, utf8, static_cast<DWORD>(bytes), &written, nullptr);
}

// Text in the ANSI code page.
void printPart(const char* text) {
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, sizeof wide / sizeof *wide) != 0) write(wide);
}

// A message on one line: its paragraphs and lists joined by blanks.
void oneLine(char* text) {
  char* kept = text;
  for (const char* at = text; *at != '\0'; ++at) {
    const bool lineBreak = *at == '\r' || *at == '\n';
    if (lineBreak && (kept == text || kept[-1] == ' ')) continue;
    *kept++ = lineBreak ? ' ' : *at;
  }
  while (kept > text && kept[-1] == ' ') --kept;
  *kept = '\0';
}

void printCause(char* text, bool failure) {
  oneLine(text);
  if (output == nullptr || text[0] == '\0') return;
  write(lineStart);
  write(failure ? L": error: " : L": warning: ");
  printLine(text);
}

void start() {}

void paragraph(int id, std::initializer_list<const char*> texts, bool failure) {
  // The exit code says that much.
  if (id == IDS_DONE_WITH_WARNINGS) return;
  paragraphText[0] = '\0';
  appendStringText(paragraphText, "", id, texts);
  printCause(paragraphText, failure);
}

void text(const char* text, bool failure) {
  paragraphText[0] = '\0';
  appendFormatted(paragraphText, "%s", {text});
  printCause(paragraphText, failure);
}

void lastLines(const KeptOutput&, const char*) {}
void show(UINT) {}

void systemError(DWORD code, const char* what) {
  paragraphText[0] = '\0';
  appendFormatted(paragraphText, "%s", {systemText(code)});
  if (what != nullptr && what[0] != '\0') appendFormatted(paragraphText, " %s", {what});
  printCause(paragraphText, true);
}

// A command cannot wait for an answer: it refuses at once.
bool finding(int id, const char* path, bool) {
  paragraph(id == IDS_FILE_HELD_OPEN ? IDS_FILE_HELD_OPEN_FOR_COMMAND : id, {path}, true);
  return false;
}

void announce(const char* command) { printLine(command); }

HANDLE programLines() { return output; }

const RunMessages lines = {start,       paragraph, text,     lastLines,   show,
                           systemError, finding,   announce, programLines};

}  // namespace

HANDLE takeStandardOutput() {
  const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
  output = nullptr;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return nullptr;
  const DWORD type = GetFileType(handle);
  if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE || type == FILE_TYPE_DISK) output = handle;
  return output;
}

void printLine(const char* text) {
  if (output == nullptr) return;
  printPart(text);
  write(L"\r\n");
}

void printMadeLine(const char* path) {
  ZERO_FILLED static wchar_t named[WIDE_PATH_SIZE];
  ZERO_FILLED static wchar_t longName[WIDE_PATH_SIZE];
  if (output == nullptr || MultiByteToWideChar(CP_ACP, 0, path, -1, named, WIDE_PATH_SIZE) == 0)
    return;
  const DWORD length = GetLongPathNameW(named, longName, WIDE_PATH_SIZE);
  // The text's place, at its end, is filled in wide characters: the long name may lie outside the
  // code page.
  printPart(loadResourceString(IDS_FILE_MADE_BEFORE_NAME));
  write(length != 0 && length < WIDE_PATH_SIZE ? longName : named);
  write(L"\r\n");
}

const RunMessages& messageLines(const wchar_t* about) {
  lineStart = about;
  return lines;
}
