// The settings record's defaults, and its load from and save to the per-user value store.
#include "options/options.h"

#include <array>
#include <cstring>

#include "base/strings.h"
#include "options/pdf_options.h"
#include "options/value_store.h"
#include "resources/resource.h"

// In .bss: the record starts all zero, as the defaults rely on, and costs the file nothing.
ZERO_FILLED Options options;

void setDefaultOptions() {
  copyText(options.programFile, loadResourceString(IDS_DEFAULT_PROGRAM));
  options.createFonts = 1;
  options.useTexNumbers = 1;
  options.useDviDirectory = 1;
  options.windowMode = WINDOW_NORMAL;
  options.magic = OPTIONS_MAGIC;
  options.size = OPTIONS_SIZE;
}

namespace {

bool isAcceptableStoredRecord(const unsigned char* bytes, std::uint32_t count) {
  return count >= 8 && count <= OPTIONS_SIZE && readWord(bytes) == OPTIONS_MAGIC &&
         readWord(bytes + 4) == count;
}

// A stored value may come from anywhere: a text field without its NUL is ended, so that no
// reader runs past the field.
void terminateTextFields() {
  for (char* field : {options.dviFile, options.psFile, options.programFile, options.printer,
                      options.otherOptions})
    terminateField(field, PATH_FIELD_SIZE);
  for (char* field : {options.pageRanges, options.paperType, options.offset, options.paperSize})
    terminateField(field, SHORT_FIELD_SIZE);
}

}  // namespace

void loadOptions() {
  setDefaultOptions();
  setDefaultPdfOptions();
  StoreKey key = nullptr;
  if (storeOpenKey(loadResourceString(IDS_REGISTRY_KEY), &key) == 0) {
    std::array<unsigned char, OPTIONS_SIZE> stored{};
    std::uint32_t count = OPTIONS_SIZE;
    if (storeQueryValue(key, loadResourceString(IDS_REGISTRY_VALUE), stored.data(), &count) == 0 &&
        isAcceptableStoredRecord(stored.data(), count)) {
      std::memcpy(&options, stored.data(), count);
      terminateTextFields();
    }
    readPdfOptions(key);
    storeCloseKey(key);
  }
  options.size = OPTIONS_SIZE;
}

void saveOptions() {
  StoreKey key = nullptr;
  if (storeCreateKey(loadResourceString(IDS_REGISTRY_KEY), &key) != 0) return;
  storeSetBinaryValue(key, loadResourceString(IDS_REGISTRY_VALUE),
                      reinterpret_cast<const unsigned char*>(&options), OPTIONS_SIZE);
  writePdfOptions(key);
  storeCloseKey(key);
}
