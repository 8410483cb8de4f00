// The Ghostscript command that turns dvips's PostScript into a PDF beside it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "command/program_lookup.h"

// The most that process creation takes.
constexpr std::size_t GHOSTSCRIPT_COMMAND_SIZE = 32768;
constexpr std::size_t PDF_PURPOSE_SWITCHES_SIZE = 192;

// The switches that the PDF page's choices add to Ghostscript's defaults, separated by blanks:
// those of what the PDF is for (none for an unknown purpose), then -dALLOWPSTRANSPARENCY when
// transparency is allowed. Empty for everyday use without transparency.
const char* pdfPurposeSwitches(std::int32_t purpose, bool allowTransparency,
                               char (&switches)[PDF_PURPOSE_SWITCHES_SIZE]);

// Whether the header of a PostScript file (its first bytes, NUL-ended) says that its pages are
// landscape, as dvips writes it for -t landscape and the landscape special.
bool isLandscapePostScript(const char* header);

// The files that Ghostscript reads, in order: inputName gives the one at index (from 0) of
// inputCount; false when it cannot.
using InputName = bool (*)(int index, PathText& path);

// program (short form, or as typed) -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite, pages kept as
// the PostScript draws them, the switches of the PDF page's purpose and transparency, landscape
// pages turned to show as landscape, Encapsulated PostScript cropped to its bounding box, the PDF
// as the output file and the inputs, all into one PDF, each word quoted by Windows' rule. A PDF
// for archiving gives its definition file, read before the inputs, and the file that the
// definition reads (empty: none), which -dSAFER then lets Ghostscript read. False when it does
// not fit the buffer or a name cannot be had.
bool composeGhostscriptCommand(const char* program, InputName inputName, int inputCount,
                               const char* pdf, bool landscape, bool encapsulated,
                               char (&command)[GHOSTSCRIPT_COMMAND_SIZE],
                               const char* definition = "", const char* readable = "");
