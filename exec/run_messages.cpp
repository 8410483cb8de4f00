// The messages of a run in boxes: paragraphs gathered into one message, a box for a check's
// finding, and the programs' lines in the run's console.
#include "exec/run_messages.h"

#include "base/error_box.h"
#include "base/strings.h"
#include "base/text.h"
#include "base/text_format.h"
#include "options/options.h"
#include "resources/resource.h"

namespace {

constexpr int LINES_IN_BOX = 10;
ZERO_FILLED char message[8192];

void start() { message[0] = '\0'; }

void paragraph(int id, std::initializer_list<const char*> texts, bool) {
  appendStringText(message, "\r\n\r\n", id, texts);
}

void text(const char* text, bool) { appendFormatted(message, "\r\n\r\n%s", {text}); }

void lastLines(const KeptOutput& said, const char* program) {
  const int lines = keptLineCount(said);
  if (lines == 0) return;
  appendStringText(message, "\r\n\r\n", IDS_LAST_LINES, {program});
  for (int index = lines > LINES_IN_BOX ? lines - LINES_IN_BOX : 0; index < lines; ++index)
    appendFormatted(message, "\r\n%s", {keptLine(said, index)});
}

void show(UINT icon) {
  if (message[0] != '\0') reportError(message, icon);
}

void systemError(DWORD code, const char* what) { reportSystemError(code, what); }

bool finding(int id, const char* path, bool retry) {
  ZERO_FILLED static char found[1024];
  found[0] = '\0';
  appendStringText(found, "", id, {path});
  SetForegroundWindow(GetActiveWindow());
  const int pressed =
      MessageBoxA(GetActiveWindow(), found, loadResourceString(IDS_ERROR_CAPTION),
                  (retry ? MB_RETRYCANCEL : MB_OK) | MB_ICONWARNING | MB_SETFOREGROUND);
  return retry && pressed == IDRETRY;
}

// Capture shows each command before it runs, as a console user would see it typed.
void announce(const char* command) {
  if (options.windowMode != WINDOW_CAPTURE) return;
  DWORD written = 0;
  const HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
  WriteFile(console, command, static_cast<DWORD>(lstrlenA(command)), &written, nullptr);
  WriteFile(console, "\r\n", 2, &written, nullptr);
}

HANDLE programLines() {
  return options.windowMode != WINDOW_HIDDEN ? GetStdHandle(STD_OUTPUT_HANDLE) : nullptr;
}

}  // namespace

const RunMessages messageBoxes = {start,       paragraph, text,     lastLines,   show,
                                  systemError, finding,   announce, programLines};

const char* systemText(DWORD code) {
  ZERO_FILLED static char text[512];
  if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     text, sizeof text, nullptr) == 0)
    text[0] = '\0';
  // The system's texts end with a line break.
  for (char* end = text + lstrlenA(text); end > text && (end[-1] == '\r' || end[-1] == '\n');)
    *--end = '\0';
  return text;
}
