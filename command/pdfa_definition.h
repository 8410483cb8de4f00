// The PDF/A definition that Ghostscript reads before the PostScript of a PDF for archiving: the
// document's title and the output intent, an sRGB profile, that PDF/A asks for.
#pragma once

#include <cstddef>

constexpr std::size_t PDFA_TITLE_SIZE = 256;
constexpr std::size_t PDFA_DEFINITION_SIZE = 4096;

// Ghostscript's sRGB profile in the file system built into its Windows programs (gswin32c.exe,
// gswin64c.exe), which its -dSAFER lets it read; other builds have none.
constexpr char BUILT_IN_SRGB_PROFILE[] = "%rom%iccprofiles/srgb.icc";

// The document's name that a PostScript header (its first bytes, NUL-ended) gives in its
// "%%Title:" comment, where dvips writes the DVI file's name, without ".dvi"; empty when none.
const char* postScriptTitle(const char* header, char (&title)[PDFA_TITLE_SIZE]);

// The definition's PostScript: the title, when not empty, as the document's; the profile (a full
// path with forward slashes, or BUILT_IN_SRGB_PROFILE) as the output intent's, of 3 colours.
// Ghostscript 10 in PDF/A mode discards a title that holds "(", ")", "\", a control character or
// a byte above 127, so those are written as "[", "]", "/", a blank and "?" (one for a character
// of two bytes). False when it does not fit.
bool composePdfaDefinition(const char* title, const char* profile,
                           char (&definition)[PDFA_DEFINITION_SIZE]);
