// The sentences that say where a failed lookup of dvips or Ghostscript looked and what the user
// can do, for the error box and the PDF page.
#pragma once

#include <cstddef>

constexpr std::size_t PLACES_TEXT_SIZE = 2048;

// Where findDvips looks for the name, then what to do; in one shared buffer.
const char* dvipsPlacesLooked(const char* name);
// Where findGhostscript looks, then what to do; in one shared buffer.
const char* ghostscriptPlacesLooked();
