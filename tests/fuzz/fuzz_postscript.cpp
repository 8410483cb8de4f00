// Fuzz target: a PostScript file read whole and read in pieces of any size gives the same facts,
// and its bitmap fonts fit their list; a PDF's tail is read within its bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "command/postscript_facts.h"

namespace {

std::string factsOf(const char* bytes, std::size_t size, std::size_t piece) {
  clearBitmapFonts();
  PostScriptFacts facts;
  startPostScript(facts);
  for (std::size_t at = 0; at < size; at += piece)
    readPostScript(facts, bytes + at, size - at < piece ? size - at : piece);
  endPostScript(facts);
  if (std::strlen(bitmapFonts()) >= 160) __builtin_trap();
  return std::to_string(facts.pagesAnnounced) + " " + std::to_string(facts.pagesMarked) + " " +
         std::to_string(facts.ended) + std::to_string(facts.encapsulated) +
         std::to_string(wholePostScript(facts)) + " " + bitmapFonts();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = data[0] % 32 + 1;
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  --size;
  if (factsOf(bytes, size, size + 1) != factsOf(bytes, size, piece)) __builtin_trap();
  pdfTailEnded(bytes, size);
  return 0;
}
