// The files of a PDF for archiving: Ghostscript's sRGB profile found, and the definition file
// written into the user's temporary folder before Ghostscript runs and removed after.
#pragma once

// Writes the definition for the Ghostscript program (as its command names it) and the first
// PostScript file, whose "%%Title:" gives the document's title. False, with the system's error
// as the last error, when the file cannot be written, or when no sRGB profile was found for a
// Ghostscript that has none built in.
bool writePdfaDefinition(const char* ghostscript, const char* postScript);

// The definition file written, and the profile file that Ghostscript is to be let read (empty
// when it reads the one built into it); both empty when none was written.
const char* pdfaDefinitionFile();
const char* pdfaReadableProfile();

// Where the profile was looked for, when none was found for this Ghostscript; else empty.
const char* missingProfilePlaces();

// Removes the definition file, if one was written.
void removePdfaDefinition();
