// Stands in for dvips: records its command line, directory, start-up information, its console and
// whether that console has a window in the file named by CORVANE_FAKE_LOG, prints a few lines,
// and, when CORVANE_FAKE_HOLD names a file, keeps running until that file exists (a test releases
// it when it has seen what it needs).
// Given -f and no DVI file, it reads its input to the end, as dvips would.
// CORVANE_FAKE_SAY, when set, is one more line, on its error output, as a program that it stands
// for would say it. It ends with the exit code that CORVANE_FAKE_EXIT gives, 0 by default.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main() {
  char logPath[MAX_PATH];
  if (GetEnvironmentVariableA("CORVANE_FAKE_LOG", logPath, sizeof logPath) == 0) return 1;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  char directory[MAX_PATH];
  GetCurrentDirectoryA(sizeof directory, directory);

  const HANDLE screen =
      CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  const bool hasConsole = screen != INVALID_HANDLE_VALUE;
  if (hasConsole) CloseHandle(screen);
  const bool consoleHasWindow = GetConsoleWindow() != nullptr;

  for (int line = 1; line <= 3; ++line) std::printf("fake dvips: line %d\n", line);
  std::fflush(stdout);
  char said[512];
  if (GetEnvironmentVariableA("CORVANE_FAKE_SAY", said, sizeof said) != 0) {
    std::fprintf(stderr, "%s\n", said);
    std::fflush(stderr);
  }

  // As dvips does with -f and no DVI file, it reads the DVI file from its input, to the end.
  const char* command = GetCommandLineA();
  if (std::strstr(command, " -f") != nullptr && std::strstr(command, ".dvi") == nullptr) {
    char input[4096];
    DWORD read = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), input, sizeof input, &read, nullptr) &&
           read > 0)
      continue;
  }

  char releasePath[MAX_PATH];
  if (GetEnvironmentVariableA("CORVANE_FAKE_HOLD", releasePath, sizeof releasePath) != 0) {
    // A test that fails before releasing must not leave the converter behind for ever.
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(releasePath) == INVALID_FILE_ATTRIBUTES &&
           GetTickCount() - start < 120000)
      Sleep(10);
  }

  // Written under another name and renamed, so that a reader never sees half a record.
  char partial[MAX_PATH + 8];
  std::snprintf(partial, sizeof partial, "%s.part", logPath);
  FILE* log = std::fopen(partial, "wb");
  if (log == nullptr) return 1;
  std::fprintf(log, "command=%s\n", GetCommandLineA());
  std::fprintf(log, "directory=%s\n", directory);
  std::fprintf(log, "show=%u\n", static_cast<unsigned>(startup.wShowWindow));
  std::fprintf(log, "flags=%lu\n", static_cast<unsigned long>(startup.dwFlags));
  std::fprintf(log, "console=%d\n", hasConsole ? 1 : 0);
  std::fprintf(log, "window=%d\n", consoleHasWindow ? 1 : 0);
  std::fclose(log);
  MoveFileExA(partial, logPath, MOVEFILE_REPLACE_EXISTING);
  char exitCode[16];
  if (GetEnvironmentVariableA("CORVANE_FAKE_EXIT", exitCode, sizeof exitCode) == 0) return 0;
  return std::atoi(exitCode);
}
