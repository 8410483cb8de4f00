// The names of a new PDF and the order in which it is put in place.
#include "command/pdf_placing.h"

#include <cstring>

#include "base/text.h"
#include "base/text_format.h"

namespace {

constexpr char NEW_PDF_MARK[] = ".corvane-";
constexpr char NEW_PDF_END[] = ".tmp";

// The pieces one after another in name, when they fit whole.
bool joined(PathText& name, std::initializer_list<const char*> pieces) {
  std::size_t length = 0;
  for (const char* piece : pieces) length += std::strlen(piece);
  name[0] = '\0';
  if (length >= sizeof name) return false;
  for (const char* piece : pieces) appendFormatted(name, "%s", {piece});
  return true;
}

}  // namespace

bool newPdfName(const char* pdf, std::uint32_t processId, PathText& name) {
  char number[12];
  return joined(name, {pdf, NEW_PDF_MARK, decimalText(processId, number), NEW_PDF_END});
}

bool newPdfOwner(const char* fileName, const char* pdfName, std::uint32_t& processId) {
  const std::size_t pdfLength = std::strlen(pdfName);
  const std::size_t markLength = sizeof NEW_PDF_MARK - 1;
  if (std::strlen(fileName) < pdfLength + markLength ||
      !equalsIgnoringAsciiCase(fileName, pdfName, pdfLength) ||
      !equalsIgnoringAsciiCase(fileName + pdfLength, NEW_PDF_MARK, markLength))
    return false;
  const char* digits = fileName + pdfLength + markLength;
  std::uint64_t number = 0;
  const char* at = digits;
  for (; *at >= '0' && *at <= '9' && number <= 0xFFFFFFFFu; ++at)
    number = number * 10 + static_cast<std::uint64_t>(*at - '0');
  if (at == digits || number > 0xFFFFFFFFu || !equalsIgnoringAsciiCase(at, NEW_PDF_END))
    return false;
  processId = static_cast<std::uint32_t>(number);
  return true;
}

bool keptPdfName(const char* pdf, PathText& name) {
  // The PDF's name ends in ".pdf", which the kept one keeps, so that it opens as a PDF.
  PathText stem;
  const std::size_t length = std::strlen(pdf);
  if (length < 4 || length >= sizeof stem) return false;
  std::memcpy(stem, pdf, length - 4);
  stem[length - 4] = '\0';
  return joined(name, {stem, ".new", pdf + length - 4});
}

PdfPlace placeNewPdf(const char* made, const char* pdf, const char* kept,
                     const PdfPlacing& placing) {
  if (placing.replace(made, pdf)) return PdfPlace::Replaced;
  if (placing.writeOver(made, pdf)) {
    placing.remove(made);
    return PdfPlace::WrittenOver;
  }
  return kept[0] != '\0' && placing.rename(made, kept) ? PdfPlace::KeptBeside
                                                       : PdfPlace::KeptAsMade;
}
