// Where the messages of a run go, chosen once by whoever starts the run and handed to what writes
// them: boxes on screen (a run from the sheet, or a command with no standard output), or lines
// that a command prints (app/command_lines.cpp).
#pragma once

#include <windows.h>

#include <initializer_list>

#include "command/run_report.h"

struct RunMessages {
  // A message begins: what an earlier one gathered is forgotten.
  void (*start)();
  // A paragraph from the string table with its places filled; failure tells a failure's from a
  // warning's, for a command's line.
  void (*paragraph)(int id, std::initializer_list<const char*> texts, bool failure);
  // A text of Corvane's own, such as where the lookups looked.
  void (*text)(const char* text, bool failure);
  // A program's last lines: a box shows them; a command's lines passed them through as they came.
  void (*lastLines)(const KeptOutput& said, const char* program);
  // What was gathered since start is told: a box with icon, or nothing more for lines.
  void (*show)(UINT icon);
  // The system's text for code, then what it concerns.
  void (*systemError)(DWORD code, const char* what);
  // A check's finding (a string-table text that names path): true to check again (Retry).
  bool (*finding)(int id, const char* path, bool retry);
  // A program's command, just before it runs, as a prompt would show it typed.
  void (*announce)(const char* command);
  // Where the programs' own lines go as they come; null: nowhere.
  HANDLE (*programLines)();
};

// Boxes, and the programs' lines in the run's console unless it is hidden.
extern const RunMessages messageBoxes;

// The system's text for code, on one line.
const char* systemText(DWORD code);
