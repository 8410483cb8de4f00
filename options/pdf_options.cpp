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

void readPdfOptions(StoreKey key) {
  std::array<unsigned char, PDF_OPTIONS_SIZE> stored{};
  std::uint32_t count = PDF_OPTIONS_SIZE;
  if (storeQueryValue(key, loadResourceString(IDS_PDF_REGISTRY_VALUE), stored.data(), &count) != 0)
    return;
  if (count != PDF_OPTIONS_SIZE || readWord(stored.data()) != PDF_OPTIONS_MAGIC ||
      readWord(stored.data() + 4) != count || readWord(stored.data() + 8) != PDF_OPTIONS_VERSION)
    return;
  std::memcpy(&pdfOptions, stored.data(), count);
  terminateField(pdfOptions.ghostscriptFile, PATH_FIELD_SIZE);
}

void writePdfOptions(StoreKey key) {
  storeSetBinaryValue(key, loadResourceString(IDS_PDF_REGISTRY_VALUE),
                      reinterpret_cast<const unsigned char*>(&pdfOptions), PDF_OPTIONS_SIZE);
}
