// The settings of the PDF page: a record of their own, stored as a binary value of its own beside
// the main record, so that the main record's layout and stored value stay exactly as they are.
//
// Stored form: the value "PDF" (REG_BINARY) beside "Options", under the key
// HKEY_CURRENT_USER\Software\Tolmarek\Corvane\Version 1.00. Exactly 284 bytes, little-endian:
//
//   offset size  field            meaning
//        0    4  magic            0x46445056, the bytes 56 50 44 46 ("VPDF")
//        4    4  size             284, the bytes 1C 01 00 00
//        8    4  version          1; a value of any other version is not read
//       12    4  makePdf          flag: run Ghostscript on the PostScript after dvips
//       16    4  openResult       flag: open the PDF (or the PostScript) when done
//       20    4  reportFailure    flag: say when dvips ends with an exit code other than 0
//       24  260  ghostscriptFile  Ghostscript's console program, ANSI text ending in a NUL;
//                                 empty means that Corvane looks for it
//
// Flags are 0 or 1 (any non-zero value reads as on). A missing value, or one whose size, magic,
// size field or version is wrong, gives the defaults: reportFailure on, the rest off and empty.
// For example, "make the PDF" with the other defaults, from a command prompt:
//   reg add "HKCU\Software\Tolmarek\Corvane\Version 1.00" /v PDF /t REG_BINARY /f /d
//     56504446 1C010000 01000000 01000000 00000000 01000000, then 520 zeros (260 bytes),
// written as one hexadecimal text without blanks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "options/options.h"
#include "options/value_store.h"

constexpr std::uint32_t PDF_OPTIONS_MAGIC = 0x46445056;
constexpr std::uint32_t PDF_OPTIONS_SIZE = 284;
constexpr std::uint32_t PDF_OPTIONS_VERSION = 1;

struct PdfOptions {
  std::uint32_t magic;
  std::uint32_t size;
  std::uint32_t version;
  std::int32_t makePdf;
  std::int32_t openResult;
  std::int32_t reportFailure;
  char ghostscriptFile[PATH_FIELD_SIZE];
};

static_assert(sizeof(PdfOptions) == PDF_OPTIONS_SIZE);
static_assert(offsetof(PdfOptions, version) == 8);
static_assert(offsetof(PdfOptions, makePdf) == 12);
static_assert(offsetof(PdfOptions, openResult) == 16);
static_assert(offsetof(PdfOptions, reportFailure) == 20);
static_assert(offsetof(PdfOptions, ghostscriptFile) == 24);

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
