// Operating the real corvane.exe from another process, as a user would, and observing it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "options/options.h"
#include "options/pdf_options.h"

// Generous deadlines: a cold Wine can be slow, and a failed wait fails the test.
constexpr DWORD DEADLINE_MS = 30000;

// Folder of wine_tests.exe, where corvane.exe and the test programs are built; ends in '\'.
std::string buildFolder();
std::string corvanePath();
std::string fakeConverterPath();
// A fresh empty folder under the prefix's temporary folder, unique for this run; ends in '\'.
std::string scratchFolder(const std::string& name);

// The record a first start shows: the defaults.
Options defaultRecord();
void clearStoredRecord();
void storeRecord(const Options& record);
void storeBytes(const std::vector<std::uint8_t>& bytes, DWORD type = REG_BINARY);
// Empty when there is no stored value.
std::vector<std::uint8_t> storedBytes();
// The PDF page's record a first start shows, stored, and what is stored (empty when nothing).
PdfOptions defaultPdfRecord();
void storePdfRecord(const PdfOptions& record);
std::vector<std::uint8_t> storedPdfBytes();

// A registry value kept as it is now, and on destruction written back as it was, or removed when
// there was none; an empty name is the key's default value.
struct KeptRegistryValue {
  KeptRegistryValue(HKEY root, std::string key, std::string name);
  ~KeptRegistryValue();
  KeptRegistryValue(const KeptRegistryValue&) = delete;
  KeptRegistryValue& operator=(const KeptRegistryValue&) = delete;
  HKEY root;
  std::string key, name;
  bool existed = false;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

// Starts corvane.exe (or another program) with the given argument text after its quoted name.
PROCESS_INFORMATION startProgram(const std::string& program, const std::string& arguments);
PROCESS_INFORMATION startCorvane(const std::string& arguments = "");
// Starts corvane.exe with a command line in wide characters, as a file manager does.
PROCESS_INFORMATION startCorvaneWide(const std::wstring& arguments);
// Starts a program of any name with a command line in wide characters, in the current directory
// given (by default this process's own).
PROCESS_INFORMATION startProgramWide(const std::wstring& program, const std::wstring& arguments,
                                     const std::wstring& directory = L"");
// The exit code, or STILL_ACTIVE when it did not end in time (it is then terminated).
DWORD waitForExit(PROCESS_INFORMATION& process, DWORD deadlineMs = DEADLINE_MS);
bool hasExited(const PROCESS_INFORMATION& process);

// The first visible top-level window of the process with the class and caption (null matches
// any) that accept, when given, also takes; null when there is none now.
HWND findWindowOf(DWORD processId, const char* className, const char* caption,
                  const std::function<bool(HWND)>& accept = {});
// A top-level window of the process with the given class and caption; null after the deadline.
HWND waitForWindow(DWORD processId, const char* className, const char* caption,
                   DWORD deadlineMs = DEADLINE_MS);
HWND waitForSheet(const PROCESS_INFORMATION& process);

HWND currentPage(HWND sheet);
HWND selectTab(HWND sheet, int index);  // returns the page now showing
std::string tabTitle(HWND sheet, int index);
int tabCount(HWND sheet);
void pressSheetButton(HWND sheet, int button);  // PSBTN_OK, PSBTN_CANCEL, PSBTN_HELP

std::string windowText(HWND window);
std::string controlText(HWND dialog, int id);
void setControlText(HWND dialog, int id, const std::string& text);
// Typing or pasting text in wide characters, as a user does whatever the code page.
void setControlTextWide(HWND dialog, int id, const std::wstring& text);
bool isButtonChecked(HWND dialog, int id);
void clickButton(HWND dialog, int id);  // returns when the click has been handled
void postClick(HWND dialog, int id);    // for buttons that open a modal window

// The fake converter's record of how it was started, once written; empty after the deadline.
struct ConverterRecord {
  std::string command, directory;
  int show = -1, flags = -1, console = -1, window = -1;
  bool found = false;
};
ConverterRecord waitForConverterRecord(const std::string& logPath, DWORD deadlineMs = DEADLINE_MS);
// True when the process has started no fake converter: none is running with it as parent and
// none has written the record. A converter that was started is either still running or has
// written its record, so this needs no wait.
bool startedNoConverter(DWORD parentId, const std::string& logPath);
// Points the fake converter's record at a new file and returns its path.
std::string newConverterLog(const std::string& name);

bool fileExists(const std::string& path);
std::string readFile(const std::string& path);
// Polls until the condition holds or the deadline passes; returns the last result.
template <typename Condition>
bool waitUntil(Condition condition, DWORD deadlineMs = DEADLINE_MS) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > deadlineMs) return false;
    Sleep(50);
  }
}

// Starts a program as startProgram does, in the given current directory.
PROCESS_INFORMATION startProgramIn(const std::string& program, const std::string& arguments,
                                   const std::string& directory);
// The path in wide characters, and in the extended form that takes any length.
std::wstring wideOf(const std::string& text);
// Wide text in the ANSI code page, characters outside it as '?'.
std::string narrowOf(const std::wstring& text);
std::wstring extendedPath(const std::wstring& path);
// Creates a file of any name or length with the content; false when that fails.
bool createFileWide(const std::wstring& path, const std::string& content);
// The last text in double quotes in a command, such as its DVI file; empty when there is none.
std::string lastQuoted(const std::string& command);

// The short form of a path, or an empty text when the system cannot give one.
std::string shortPathOf(const std::string& path);
// The system's own message text for an error code.
std::string systemMessage(DWORD code);
// The text of a message box (its static control); empty when there is none.
std::string messageBoxText(HWND box);
// A message box of the process, an error's ("Corvane Error") or one of warnings ("Corvane"): a
// dialog with a message box's text; null when none shows.
HWND findMessageBox(DWORD processId);
std::wstring messageBoxTextWide(HWND box);
// The icon of a message box as the screen shows it: 'w' for the warning's yellow, 'e' for the
// error's red, '?' when neither shows within the deadline.
char messageBoxIconKind(HWND box);
// What the error box says of a path that no form fits a field: the system's text for the code,
// an empty line, and the name as the user gave it.
std::wstring pathErrorText(DWORD code, const std::wstring& name);

// --- Sheet and page checks ---

// A record that starts the fake converter in a normal window: the defaults otherwise.
Options fakeConverterRecord();
// The record's bytes, and a record made from stored bytes (zero-filled when they are short).
std::vector<std::uint8_t> bytesOf(const Options& record);
Options recordOf(const std::vector<std::uint8_t>& bytes);
// Creates an empty file (and nothing else) at the path.
void createEmptyFile(const std::string& path);

// A descendant of the window with the class and id; null when there is none.
HWND findDescendant(HWND parent, const char* className, int id);
// A visible top-level window of the process with the caption that is not `other`.
HWND waitForOtherWindow(DWORD processId, const char* caption, HWND other,
                        DWORD deadlineMs = DEADLINE_MS);
// Entries of a combo box in another process.
int comboCount(HWND combo);
std::string comboItem(HWND combo, int index);
void selectComboItem(HWND combo, int index);
// Posts the command of a button, as a click on it does; for buttons that close a modal window.
void postCommand(HWND dialog, int id);

// Writes what the screen shows of the window's client area as a 24-bit BMP once two captures in a
// row agree; false when it could not be captured or written.
bool saveWindowImage(HWND window, const std::string& path);
// The number of different colours in a 24-bit BMP file, 0 when it is not one.
std::size_t colourCount(const std::string& path);
// The folder for pictures that a person looks at after a run, under the build folder; ends in '\'.
std::string screenshotFolder(const std::string& subfolder = "");

// True when this 32-bit process runs on 64-bit Windows (a prefix made with WINEARCH=win64), as
// Corvane does for every Windows 10 and 11 user. The tests of suites named Win64... need it.
bool onWindows64();
// The folder of 64-bit system programs as a 32-bit process names it ("sysnative"), ending in '\';
// its system32 is the 32-bit one.
std::string nativeSystemFolder();
// The processor a program or library is built for (IMAGE_FILE_MACHINE_I386, _AMD64), 0 when the
// file is none.
WORD machineOf(const std::string& path);
// True when both paths name the same file.
bool sameFile(const std::string& first, const std::string& second);

// The id of a running process with the program file name (such as "corvane.exe") and, when given,
// the parent; 0 when there is none.
DWORD processIdOf(const char* program, DWORD parentId = 0);
// A process that another one started, to be waited for like one of this one's own (no thread).
PROCESS_INFORMATION openProcess(DWORD processId);
