// The PDF page's record: its defaults and its stored value beside the main record's.
#include "options/pdf_options.h"

#include <array>
#include <cstring>

#include "base/strings.h"
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
  const std::uint32_t version = readWord(stored.data() + 8);
  const bool knownLayout = (version == PDF_OPTIONS_VERSION && count == PDF_OPTIONS_SIZE) ||
                           (version == 1 && count == PDF_OPTIONS_SIZE_1);
  if (!knownLayout || readWord(stored.data()) != PDF_OPTIONS_MAGIC ||
      readWord(stored.data() + 4) != count)
    return;
  // A first version's value leaves the later fields at their defaults, and is saved again whole.
  std::memcpy(&pdfOptions, stored.data(), count);
  pdfOptions.size = PDF_OPTIONS_SIZE;
  pdfOptions.version = PDF_OPTIONS_VERSION;
  terminateField(pdfOptions.ghostscriptFile, PATH_FIELD_SIZE);
  if (pdfOptions.purpose < 0 || pdfOptions.purpose >= PDF_PURPOSE_COUNT)
    pdfOptions.purpose = PDF_FOR_EVERYDAY_USE;
}

void writePdfOptions(StoreKey key) {
  storeSetBinaryValue(key, loadResourceString(IDS_PDF_REGISTRY_VALUE),
                      reinterpret_cast<const unsigned char*>(&pdfOptions), PDF_OPTIONS_SIZE);
}
