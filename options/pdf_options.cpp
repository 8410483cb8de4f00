// The PDF page's record: its defaults and its stored value beside the main record's.
#include "options/pdf_options.h"

#include <array>
#include <cstring>

#include "app/strings.h"
#include "resources/resource.h"

ZERO_FILLED PdfOptions pdfOptions;

void setDefaultPdfOptions() {
  std::memset(&pdfOptions, 0, sizeof pdfOptions);
  pdfOptions.magic = PDF_OPTIONS_MAGIC;
  pdfOptions.size = PDF_OPTIONS_SIZE;
  pdfOptions.version = PDF_OPTIONS_VERSION;
  pdfOptions.reportFailure = 1;
}

namespace {

std::uint32_t wordAt(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

void readPdfOptions(StoreKey key) {
  std::array<unsigned char, PDF_OPTIONS_SIZE> stored{};
  std::uint32_t count = PDF_OPTIONS_SIZE;
  if (storeQueryValue(key, loadResourceString(IDS_PDF_REGISTRY_VALUE), stored.data(), &count) != 0)
    return;
  if (count != PDF_OPTIONS_SIZE || wordAt(stored.data()) != PDF_OPTIONS_MAGIC ||
      wordAt(stored.data() + 4) != count || wordAt(stored.data() + 8) != PDF_OPTIONS_VERSION)
    return;
  std::memcpy(&pdfOptions, stored.data(), count);
  // A stored value may come from anywhere: the text is ended inside its field.
  if (std::memchr(pdfOptions.ghostscriptFile, '\0', PATH_FIELD_SIZE) == nullptr)
    pdfOptions.ghostscriptFile[PATH_FIELD_SIZE - 1] = '\0';
}

void writePdfOptions(StoreKey key) {
  storeSetBinaryValue(key, loadResourceString(IDS_PDF_REGISTRY_VALUE),
                      reinterpret_cast<const unsigned char*>(&pdfOptions), PDF_OPTIONS_SIZE);
}
