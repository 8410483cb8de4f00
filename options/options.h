// The settings record: one global instance whose bytes are also the stored form.
#pragma once

#include <cstddef>
#include <cstdint>

#include "paths/path_rules.h"

constexpr std::uint32_t OPTIONS_MAGIC = 0x4C7B3EA1;
constexpr std::uint32_t OPTIONS_SIZE = 1644;

constexpr std::size_t SHORT_FIELD_SIZE = 64;

// Choice bytes hold the index of the checked radio button, or the button count when none is.
constexpr int PAGE_PARITY_BUTTONS = 3;
constexpr int COPY_MODE_BUTTONS = 3;
constexpr int WINDOW_MODE_BUTTONS = 4;

enum WindowMode : std::int8_t {
  WINDOW_CAPTURE = 0,
  WINDOW_NORMAL = 1,
  WINDOW_MINIMIZED = 2,
  WINDOW_HIDDEN = 3,
};

struct Options {
  std::uint32_t magic;
  std::uint32_t size;
  char dviFile[PATH_FIELD_SIZE];
  char psFile[PATH_FIELD_SIZE];
  std::int32_t encapsulated;
  std::int32_t useDviDirectory;
  char pageRanges[SHORT_FIELD_SIZE];
  std::int32_t firstPage;
  std::int32_t lastPage;
  std::int32_t useTexNumbers;
  std::int8_t pageParity;
  std::uint8_t reserved1[3];
  std::int32_t copies;
  std::int8_t copyMode;
  std::uint8_t reserved2[3];
  std::int32_t reverseOrder;
  char paperType[SHORT_FIELD_SIZE];
  std::int32_t magnification;
  std::int32_t multiplyDviMag;
  std::int32_t landscape;
  std::int32_t manualFeed;
  char offset[SHORT_FIELD_SIZE];
  char paperSize[SHORT_FIELD_SIZE];
  std::int32_t resolution;
  std::int32_t horizontalResolution;
  std::int32_t verticalResolution;
  char programFile[PATH_FIELD_SIZE];
  char printer[PATH_FIELD_SIZE];
  char otherOptions[PATH_FIELD_SIZE];
  std::int8_t windowMode;
  std::uint8_t reserved3[3];
  std::int32_t quiet;
  std::int32_t createFonts;
  std::int32_t showCommandLine;
};

// The stored form is these bytes as they lie in memory on a little-endian machine; any
// change of offset would change what stored values mean.
static_assert(sizeof(Options) == OPTIONS_SIZE);
static_assert(offsetof(Options, dviFile) == 8);
static_assert(offsetof(Options, psFile) == 268);
static_assert(offsetof(Options, encapsulated) == 528);
static_assert(offsetof(Options, useDviDirectory) == 532);
static_assert(offsetof(Options, pageRanges) == 536);
static_assert(offsetof(Options, firstPage) == 600);
static_assert(offsetof(Options, lastPage) == 604);
static_assert(offsetof(Options, useTexNumbers) == 608);
static_assert(offsetof(Options, pageParity) == 612);
static_assert(offsetof(Options, copies) == 616);
static_assert(offsetof(Options, copyMode) == 620);
static_assert(offsetof(Options, reverseOrder) == 624);
static_assert(offsetof(Options, paperType) == 628);
static_assert(offsetof(Options, magnification) == 692);
static_assert(offsetof(Options, multiplyDviMag) == 696);
static_assert(offsetof(Options, landscape) == 700);
static_assert(offsetof(Options, manualFeed) == 704);
static_assert(offsetof(Options, offset) == 708);
static_assert(offsetof(Options, paperSize) == 772);
static_assert(offsetof(Options, resolution) == 836);
static_assert(offsetof(Options, horizontalResolution) == 840);
static_assert(offsetof(Options, verticalResolution) == 844);
static_assert(offsetof(Options, programFile) == 848);
static_assert(offsetof(Options, printer) == 1108);
static_assert(offsetof(Options, otherOptions) == 1368);
static_assert(offsetof(Options, windowMode) == 1628);
static_assert(offsetof(Options, quiet) == 1632);
static_assert(offsetof(Options, createFonts) == 1636);
static_assert(offsetof(Options, showCommandLine) == 1640);

extern Options options;

// Relies on the record being all zero, as it is at process start; sets only the non-zero defaults.
void setDefaultOptions();

// A little-endian 32-bit word of a stored value.
inline std::uint32_t readWord(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Defaults, then a valid stored record overlaid; the size field ends as OPTIONS_SIZE. The PDF
// page's record (options/pdf_options.h) is loaded from its own value under the same key.
void loadOptions();

// Writes the whole record as it stands in memory, and the PDF page's record beside it; failures
// are silent.
void saveOptions();
