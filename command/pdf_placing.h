// Putting a new PDF in the earlier one's place: the names of the new file beside it and of one
// kept when the place is held, and the order of what is tried, so that a good PDF is never lost.
#pragma once

#include <cstdint>

#include "command/program_lookup.h"

// The new PDF while Ghostscript writes it: "paper.pdf.corvane-1234.tmp", whose and for which PDF
// it is. False when it would not fit.
bool newPdfName(const char* pdf, std::uint32_t processId, PathText& name);
// The process that made fileName as the new file of pdfName (both names without folders);
// false when it is no such file.
bool newPdfOwner(const char* fileName, const char* pdfName, std::uint32_t& processId);
// A new PDF kept beside an earlier one that could not be replaced: "paper.new.pdf".
bool keptPdfName(const char* pdf, PathText& name);

// The system's ways to put the made file in the PDF's place, each true when done.
struct PdfPlacing {
  bool (*replace)(const char* made, const char* pdf);    // made takes the place of pdf
  bool (*writeOver)(const char* made, const char* pdf);  // pdf's bytes become made's
  bool (*rename)(const char* made, const char* kept);    // made is named kept
  bool (*remove)(const char* made);
};

enum class PdfPlace { Replaced, WrittenOver, KeptBeside, KeptAsMade };

// Tries, in order: replacing the PDF; writing over its bytes where its holder allows writing;
// keeping the new PDF beside it under kept; leaving it where it was made. Nothing is deleted
// that is not in the PDF's place.
PdfPlace placeNewPdf(const char* made, const char* pdf, const char* kept,
                     const PdfPlacing& placing);
