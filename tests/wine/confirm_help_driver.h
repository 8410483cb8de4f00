// What the confirmation and help tests share: the confirmation dialog, labels found by their
// text, a stand-in hhctrl.ocx in the system's place, and the stand-ins' record.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/wine/driver.h"

// The visible confirmation dialog of the process: a dialog with an empty caption that holds the
// command edit; null after the deadline.
HWND waitForConfirmDialog(DWORD processId, DWORD deadlineMs = DEADLINE_MS);
// The confirmation dialog showing now, or null.
HWND confirmDialogNow(DWORD processId);

// A child of the dialog with exactly this text (labels have no id to find them by); or null.
HWND childWithText(HWND dialog, const char* text);

// The user asks for help on a control: F1 with the focus in it (a real key press, which needs
// its window in the foreground), or a right click on it (a real mouse click). Both return once
// the input has been sent.
bool pressF1In(HWND control);
// The window that has the keyboard focus in the thread of the window, or null.
HWND focusedWindowOf(HWND window);
// Brings the control's top-level window to the foreground and gives the control the focus, as
// the dialog manager does; false when the control does not have it by the deadline.
bool focusControl(HWND control);
// A real key press (with Shift held when asked), to the window in the foreground.
bool pressKey(WORD key, bool withShift = false);
void rightClick(HWND control);
// For labels, which take neither the focus nor a click: the message the system posts to a
// window for F1, which its default handling turns into WM_HELP naming that window, sent on
// to the dialog; and the context menu request that a right click on it would send.
void postF1To(HWND control);
void postContextMenuFor(HWND control);

// The recording stand-in and the stand-in without HtmlHelpA, each in a folder of its own.
std::string recordingHelpPath();
std::string noHtmlHelpPath();
// Where the system's own hhctrl.ocx lives in this prefix.
std::string systemHelpPath();
// Puts the stand-in where the system's hhctrl.ocx lives, keeping the system's copy, and sets
// the per-program setting of Wine that makes corvane.exe load that file as it is rather than
// Wine's built-in library; with it, Wine also takes a hhctrl.ocx found beside the program when
// one is looked for by name. restoreSystemHelp puts the system's copy back and withdraws it.
// Both return false when a file could not be copied.
bool installSystemHelp(const std::string& standIn);
bool restoreSystemHelp();
// A scratch folder holding a copy of corvane.exe and, when planted is not empty, that file as
// hhctrl.ocx beside it; returns the copy's path.
std::string corvaneCopyWith(const std::string& planted, const std::string& name);
// The help file the copy names: its path with "chm" in place of "exe".
std::string helpFileOf(const std::string& exePath);

// One line of the stand-ins' record: a load of the library, or one HtmlHelpA call.
struct HelpRecordLine {
  bool isCall = false;
  std::string module;  // the stand-in's own path
  UINT_PTR window = 0;
  std::string className;
  int id = 0;
  std::string path;
  unsigned command = 0;
  bool hasTopic = false;
  unsigned long topic = 0;
  bool hasData = false;
  unsigned long data[4] = {};
};

// Point the stand-ins' record, and the fake converter's, at a new file and return its path.
// Wine reuses process ids, so a folder of an earlier run in the same prefix may have the same
// name: a record left there is removed.
std::string newHelpLog(const std::string& name);
std::string freshConverterLog(const std::string& name);
// Complete lines only: a line still being written is left for the next read.
std::vector<HelpRecordLine> readHelpRecord(const std::string& logPath);
std::vector<HelpRecordLine> helpCalls(const std::string& logPath);
// The calls once there are at least count of them; fewer after the deadline.
std::vector<HelpRecordLine> waitForHelpCalls(const std::string& logPath, std::size_t count,
                                             DWORD deadlineMs = DEADLINE_MS);
