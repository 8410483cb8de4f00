// The Ghostscript command that turns dvips's PostScript into a PDF beside it.
#pragma once

#include <cstddef>

constexpr std::size_t GHOSTSCRIPT_COMMAND_SIZE = 2048;

// Whether the header of a PostScript file (its first bytes, NUL-ended) says that its pages are
// landscape, as dvips writes it for -t landscape and the landscape special.
bool isLandscapePostScript(const char* header);

// program (short form, or as typed) -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite, pages kept as
// the PostScript draws them, landscape pages turned to show as landscape, the PDF as the output
// file and the PostScript as the input, each word quoted by Windows' rule. False when it does not
// fit the buffer.
bool composeGhostscriptCommand(const char* program, const char* postScript, const char* pdf,
                               bool landscape, char (&command)[GHOSTSCRIPT_COMMAND_SIZE]);
