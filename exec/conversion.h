// What follows the conversion: waiting for dvips, saying when it failed, making the PDF with
// Ghostscript and opening the result, as the PDF page asks.
#pragma once

#include <windows.h>

// Waits for dvips (no handle: nothing can be known, and nothing follows), then, when dvips
// succeeded and the PDF page asks for it, runs Ghostscript with the same window, folder and
// flags, and waits for it too. In Capture mode this happens in the console, before the wait for
// a key. runFolder is the full path of the folder dvips runs in.
void followConversion(HANDLE converter, const char* directory, const char* runFolder,
                      WORD showCommand, DWORD creationFlags);

// Afterwards (in Capture mode after the key): the boxes that say what went wrong, or the result
// opened with the program that Windows associates with it.
void reportConversion();

// The text for the error box when the program could not be started: the program, and where the
// lookup looked when it found none.
const char* programNotStarted(const char* program);
