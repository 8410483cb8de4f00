// The settings of the PDF page: a record of their own, stored as a binary value of its own beside
// the main record, so that the main record's layout and stored value stay exactly as they are.
//
// Stored form: the value "PDF" (REG_BINARY) beside "Options", under the key
// HKEY_CURRENT_USER\Software\Tolmarek\Corvane\Version 1.00. Exactly 292 bytes, little-endian:
//
//   offset size  field              meaning
//        0    4  magic              0x46445056, the bytes 56 50 44 46 ("VPDF")
//        4    4  size               292, the bytes 24 01 00 00
//        8    4  version            2
//       12    4  makePdf            flag: run Ghostscript on the PostScript after dvips
//       16    4  openResult         flag: open the PDF (or the PostScript) when done
//       20    4  reportFailure      flag: say when dvips ends with an exit code other than 0
//       24  260  ghostscriptFile    Ghostscript's console program, ANSI text ending in a NUL;
//                                   empty means that Corvane looks for it
//      284    4  purpose            what the PDF is for, the entry of "PDF for": 0 everyday use
//                                   (Ghostscript's own defaults), 1 printing and journals (every
//                                   font embedded), 2 smaller file for screen and mail, 3
//                                   archiving (PDF/A-2b); any other number reads as 0. The layout
//                                   and version stay as they were for 3: a Corvane that knows
//                                   only 0 to 2 reads the value whole and takes 3 as any other
//                                   number it does not know, as 0, everyday use
//      288    4  allowTransparency  flag: Ghostscript runs PostScript's transparency operators
//                                   (-dALLOWPSTRANSPARENCY)
//
// Flags are 0 or 1 (any non-zero value reads as on). A value of version 1, 284 bytes (1C 01 00 00)
// that end with the Ghostscript field, is read with its settings kept and purpose and
// allowTransparency at their defaults. A missing value, one of any other version, or one whose
// magic or size field is wrong or whose size is not its version's, gives the defaults:
// reportFailure on, the rest off, 0 and empty.
// For example, "make the PDF" for printing and journals with the other defaults, from a command
// prompt:
//   reg add "HKCU\Software\Tolmarek\Corvane\Version 1.00" /v PDF /t REG_BINARY /f /d
//     56504446 24010000 02000000 01000000 00000000 01000000, then 520 zeros (260 bytes),
//     then 01000000 00000000,
// written as one hexadecimal text without blanks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "options/options.h"
#include "options/value_store.h"

constexpr std::uint32_t PDF_OPTIONS_MAGIC = 0x46445056;
constexpr std::uint32_t PDF_OPTIONS_SIZE = 292;
constexpr std::uint32_t PDF_OPTIONS_VERSION = 2;
// The first version's value, which ends with ghostscriptFile.
constexpr std::uint32_t PDF_OPTIONS_SIZE_1 = 284;

// What the PDF is for: the entries of the page's list "PDF for", in its order.
constexpr std::int32_t PDF_FOR_EVERYDAY_USE = 0;
constexpr std::int32_t PDF_FOR_PRINTING = 1;
constexpr std::int32_t PDF_FOR_SMALLER_FILE = 2;
constexpr std::int32_t PDF_FOR_ARCHIVING = 3;
constexpr std::int32_t PDF_PURPOSE_COUNT = 4;

struct PdfOptions {
  std::uint32_t magic;
  std::uint32_t size;
  std::uint32_t version;
  std::int32_t makePdf;
  std::int32_t openResult;
  std::int32_t reportFailure;
  char ghostscriptFile[PATH_FIELD_SIZE];
  std::int32_t purpose;
  std::int32_t allowTransparency;
};

static_assert(sizeof(PdfOptions) == PDF_OPTIONS_SIZE);
static_assert(offsetof(PdfOptions, version) == 8);
static_assert(offsetof(PdfOptions, makePdf) == 12);
static_assert(offsetof(PdfOptions, openResult) == 16);
static_assert(offsetof(PdfOptions, reportFailure) == 20);
static_assert(offsetof(PdfOptions, ghostscriptFile) == 24);
static_assert(offsetof(PdfOptions, purpose) == PDF_OPTIONS_SIZE_1);
static_assert(offsetof(PdfOptions, allowTransparency) == 288);

extern PdfOptions pdfOptions;

// Clears the record and sets its defaults.
void setDefaultPdfOptions();

// Overlays a valid stored value read from the open key; anything else leaves the record alone.
void readPdfOptions(StoreKey key);

// Writes the whole record as it stands into the open key.
void writePdfOptions(StoreKey key);

// Corvane waits for dvips when any of the three boxes asks for what follows the conversion.
inline bool waitsForConverter() {
  return pdfOptions.reportFailure || pdfOptions.makePdf || pdfOptions.openResult;
}
