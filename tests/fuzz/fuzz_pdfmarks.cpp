// Fuzz target: any bytes, read in pieces of any size, leave the pdfmark reader within its
// buffers, with its faults named and counted within bounds.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "command/pdfmark_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static PdfMarkReader reader;
  startPdfMarks(reader);
  // The first byte sets the size of the pieces, as a pipe or a file read may cut them.
  const std::size_t piece = size > 0 ? data[0] % 64 + 1 : 1;
  for (std::size_t at = 1; at < size; at += piece) {
    readPdfMarks(reader, reinterpret_cast<const char*>(data) + at,
                 size - at < piece ? size - at : piece);
    if (reader.markLength >= sizeof reader.mark) __builtin_trap();
  }
  endPdfMarks(reader);
  if (reader.faultCount < 0 || reader.faultCount > MAX_PDFA_FAULTS) __builtin_trap();
  for (int index = 0; index < reader.faultCount; ++index)
    if (std::memchr(reader.faults[index].name, '\0', sizeof reader.faults[index].name) == nullptr ||
        reader.faults[index].page < 0)
      __builtin_trap();
  return 0;
}
