// Help requests: page and dialog topics, and pop-up help for one control.
#pragma once

#include <windows.h>

// Control id and topic of the latest context-help request, then the pair of zeros that ends
// the list; static because the help system reads it after the call.
extern DWORD helpIdPairs[4];

void showHelpTopic(DWORD topic);

// kind is HELP_WM_HELP for a pop-up, any other value for the help system's context menu.
void showContextHelp(HWND control, HWND dialog, UINT kind);

// Answers WM_HELP (F1, or the caption's question mark then a click) and WM_CONTEXTMENU (a right
// click) in a dialog or page with the help of the control they name.
void showHelpForMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
