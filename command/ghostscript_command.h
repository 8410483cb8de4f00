// The Ghostscript command that turns dvips's PostScript into a PDF beside it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t GHOSTSCRIPT_COMMAND_SIZE = 2048;
constexpr std::size_t PDF_PURPOSE_SWITCHES_SIZE = 128;

// The switches that the PDF page's choices add to Ghostscript's defaults, separated by blanks:
// those of what the PDF is for (none for an unknown purpose), then -dALLOWPSTRANSPARENCY when
// transparency is allowed. Empty for everyday use without transparency.
const char* pdfPurposeSwitches(std::int32_t purpose, bool allowTransparency,
                               char (&switches)[PDF_PURPOSE_SWITCHES_SIZE]);

// Whether the header of a PostScript file (its first bytes, NUL-ended) says that its pages are
// landscape, as dvips writes it for -t landscape and the landscape special.
bool isLandscapePostScript(const char* header);

// program (short form, or quoted as typed) -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pdfwrite, pages
// kept as the PostScript draws them, the switches of the PDF page's purpose and transparency,
// landscape pages turned to show as landscape, the PDF as the output file and the PostScript as
// the input. False when it does not fit the buffer.
bool composeGhostscriptCommand(const char* program, const char* postScript, const char* pdf,
                               bool landscape, char (&command)[GHOSTSCRIPT_COMMAND_SIZE]);
