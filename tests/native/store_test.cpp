// Loading and saving the record against an in-memory per-user store: what is accepted, what
// is refused, and that a save followed by a load gives back the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "options/options.h"
#include "options/pdf_options.h"
#include "tests/native/fakes.h"

namespace {

const std::string KEY = "Software\\Tolmarek\\Corvane\\Version 1.00";
const std::string VALUE = "Options";

std::vector<unsigned char> defaultBytes() {
  resetOptions();
  setDefaultOptions();
  const auto* bytes = reinterpret_cast<const unsigned char*>(&options);
  return {bytes, bytes + OPTIONS_SIZE};
}

std::vector<unsigned char> currentBytes() {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&options);
  return {bytes, bytes + OPTIONS_SIZE};
}

void putWord(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t word) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = (word >> (8 * i)) & 0xFF;
}

// A stored record of the given length with a valid header and a recognisable body.
std::vector<unsigned char> storedRecord(std::size_t length) {
  std::vector<unsigned char> bytes(length, 0);
  for (std::size_t i = 8; i < length; ++i) bytes[i] = static_cast<unsigned char>('A' + i % 26);
  if (length >= 4) putWord(bytes, 0, OPTIONS_MAGIC);
  if (length >= 8) putWord(bytes, 4, static_cast<std::uint32_t>(length));
  return bytes;
}

class Store : public ::testing::Test {
 protected:
  void SetUp() override {
    resetFakes();
    resetOptions();
  }
  void store(std::vector<unsigned char> bytes, std::uint32_t type = 3) {
    fakeStore.keys[KEY][VALUE] = StoredValue{std::move(bytes), type};
  }
  void expectDefaults() {
    const auto loaded = currentBytes();
    EXPECT_EQ(loaded, defaultBytes());
  }
};

TEST_F(Store, NoKeyGivesDefaultsAndCreatesNothing) {
  loadOptions();
  expectDefaults();
  EXPECT_TRUE(fakeStore.keys.empty());
}

TEST_F(Store, KeyWithoutValueGivesDefaults) {
  fakeStore.keys[KEY];
  loadOptions();
  expectDefaults();
  EXPECT_EQ(fakeStore.opens, fakeStore.closes);
}

TEST_F(Store, KeyWithoutFullAccessGivesDefaults) {
  auto record = defaultBytes();
  record[8] = 'x';
  store(record);
  fakeStore.refuseFullAccess = true;
  resetOptions();
  loadOptions();
  expectDefaults();
}

TEST_F(Store, RefusedValuesLeaveTheDefaults) {
  auto wrongSize = storedRecord(OPTIONS_SIZE);
  putWord(wrongSize, 4, 1640);
  auto wrongMagic = storedRecord(OPTIONS_SIZE);
  putWord(wrongMagic, 0, 0x4C7B3EA2);
  std::vector<unsigned char> magicOnly = storedRecord(4);
  auto tooLong = storedRecord(OPTIONS_SIZE + 1);
  putWord(tooLong, 4, OPTIONS_SIZE);
  auto tooLongOwnSize = storedRecord(2000);
  for (const auto& refused : {wrongSize, wrongMagic, magicOnly, tooLong, tooLongOwnSize,
                              std::vector<unsigned char>{}, storedRecord(7)}) {
    SCOPED_TRACE(refused.size());
    store(refused);
    resetOptions();
    loadOptions();
    expectDefaults();
  }
}

TEST_F(Store, ShorterRecordIsReadAsAPrefix) {
  const auto stored = storedRecord(848);
  store(stored);
  loadOptions();
  const auto loaded = currentBytes();
  auto expected = defaultBytes();
  std::memcpy(expected.data() + 8, stored.data() + 8, 840);
  // The stored text fields have no NUL; each ends at its last byte.
  for (std::size_t fieldEnd : {267u, 527u, 599u, 691u, 771u, 835u}) expected[fieldEnd] = 0;
  EXPECT_EQ(loaded, expected);
  EXPECT_EQ(options.size, OPTIONS_SIZE);
  EXPECT_STREQ(options.programFile, "dvips.exe");
  EXPECT_EQ(options.windowMode, WINDOW_NORMAL);
  EXPECT_EQ(options.createFonts, 1);
}

TEST_F(Store, ShortestValidRecordIsTheHeader) {
  store(storedRecord(8));
  loadOptions();
  expectDefaults();
}

TEST_F(Store, AnyValueTypeIsAccepted) {
  auto record = defaultBytes();
  std::memcpy(record.data() + 1108, "laserjet", 9);
  store(record, 0);  // REG_NONE
  resetOptions();
  loadOptions();
  EXPECT_STREQ(options.printer, "laserjet");
}

TEST_F(Store, UnterminatedTextFieldsEndAtTheirLastByte) {
  auto record = storedRecord(OPTIONS_SIZE);
  store(record);
  loadOptions();
  EXPECT_EQ(std::strlen(options.dviFile), 259u);
  EXPECT_EQ(std::strlen(options.pageRanges), 63u);
  EXPECT_EQ(std::strlen(options.otherOptions), 259u);
  EXPECT_EQ(std::memcmp(options.dviFile, record.data() + 8, 259), 0);
}

TEST_F(Store, UnterminatedTextFieldsEndOnAWholeCharacter) {
  fakeDoubleByte = true;
  auto record = storedRecord(OPTIONS_SIZE);
  for (std::size_t at = 0; at < 260; at += 2) {  // 表 (95 5C) 130 times, without a NUL
    record[8 + at] = 0x95;
    record[8 + at + 1] = 0x5C;
  }
  setDefaultPdfOptions();
  saveOptions();  // a valid "PDF" value, whose Ghostscript field is then filled the same way
  std::vector<unsigned char>& pdf = fakeStore.keys[KEY]["PDF"].data;
  for (std::size_t at = 24; at < pdf.size(); at += 2) {
    pdf[at] = 0x95;
    pdf[at + 1] = 0x5C;
  }
  store(record);
  loadOptions();
  EXPECT_EQ(std::strlen(options.dviFile), 258u);
  EXPECT_EQ(std::memcmp(options.dviFile, record.data() + 8, 258), 0);
  EXPECT_EQ(std::strlen(pdfOptions.ghostscriptFile), 258u);
}

TEST_F(Store, TerminatedFieldsKeepTheBytesAfterTheirEnd) {
  auto record = defaultBytes();
  std::memcpy(record.data() + 8, "a.dvi\0tail of an older name", 27);
  record[8 + 259] = 'z';  // an earlier NUL already ends the field
  store(record);
  resetOptions();
  loadOptions();
  EXPECT_EQ(currentBytes(), record);
}

TEST_F(Store, SaveCreatesTheKeyAndWritesTheWholeRecord) {
  resetOptions();
  setDefaultOptions();
  copyText(options.printer, "a long printer name");
  copyText(options.printer, "lp");
  options.windowMode = 9;
  options.firstPage = -5;
  const auto saved = currentBytes();
  saveOptions();
  ASSERT_EQ(fakeStore.keys.count(KEY), 1u);
  const auto& value = fakeStore.keys[KEY][VALUE];
  EXPECT_EQ(value.data, saved);
  EXPECT_EQ(value.type, 3u);

  resetOptions();
  loadOptions();
  EXPECT_EQ(currentBytes(), saved);
}

TEST_F(Store, SaveAfterAShorterRecordWritesAFullOne) {
  store(storedRecord(848));
  loadOptions();
  saveOptions();
  const auto& value = fakeStore.keys[KEY][VALUE];
  ASSERT_EQ(value.data.size(), OPTIONS_SIZE);
  EXPECT_EQ(value.data[4], 0x6C);
  EXPECT_EQ(value.data[5], 0x06);
}

TEST_F(Store, SaveThatCannotCreateTheKeyWritesNothing) {
  fakeStore.refuseCreate = true;
  setDefaultOptions();
  saveOptions();
  EXPECT_TRUE(fakeStore.keys.empty());
}

// The PDF page's settings: a value of their own beside "Options", with a size, magic and version
// of their own; anything else gives their defaults and leaves the main record alone.
TEST_F(Store, PdfSettingsLiveInAValueOfTheirOwn) {
  loadOptions();
  EXPECT_EQ(pdfOptions.reportFailure, 1);
  EXPECT_EQ(pdfOptions.makePdf, 0);
  EXPECT_EQ(pdfOptions.openResult, 0);
  EXPECT_STREQ(pdfOptions.ghostscriptFile, "");

  pdfOptions.makePdf = 1;
  pdfOptions.reportFailure = 0;
  copyText(pdfOptions.ghostscriptFile, "C:\\gs\\gswin64c.exe");
  const auto record = currentBytes();
  saveOptions();
  EXPECT_EQ(fakeStore.keys[KEY][VALUE].data, record);
  const std::vector<unsigned char> stored = fakeStore.keys[KEY]["PDF"].data;
  ASSERT_EQ(stored.size(), PDF_OPTIONS_SIZE);
  EXPECT_EQ(std::vector<unsigned char>(stored.begin(), stored.begin() + 12),
            (std::vector<unsigned char>{0x56, 0x50, 0x44, 0x46, 0x24, 0x01, 0, 0, 2, 0, 0, 0}));

  setDefaultPdfOptions();
  loadOptions();
  EXPECT_EQ(pdfOptions.makePdf, 1);
  EXPECT_EQ(pdfOptions.reportFailure, 0);
  EXPECT_STREQ(pdfOptions.ghostscriptFile, "C:\\gs\\gswin64c.exe");
  EXPECT_EQ(currentBytes(), record);

  auto shorter = stored;
  shorter.pop_back();
  putWord(shorter, 4, PDF_OPTIONS_SIZE - 1);
  auto wrongMagic = stored, wrongSize = stored, laterVersion = stored, unterminated = stored;
  putWord(wrongMagic, 0, OPTIONS_MAGIC);
  putWord(wrongSize, 4, OPTIONS_SIZE);
  putWord(laterVersion, 8, PDF_OPTIONS_VERSION + 1);
  for (const auto& refused : {shorter, wrongMagic, wrongSize, laterVersion}) {
    fakeStore.keys[KEY]["PDF"].data = refused;
    loadOptions();
    EXPECT_EQ(pdfOptions.makePdf, 0) << refused.size();
    EXPECT_EQ(pdfOptions.reportFailure, 1);
    EXPECT_EQ(currentBytes(), record);
  }
  std::fill(unterminated.begin() + 24, unterminated.end(), 'g');
  fakeStore.keys[KEY]["PDF"].data = unterminated;
  loadOptions();
  EXPECT_EQ(std::strlen(pdfOptions.ghostscriptFile), 259u);
}

// A value of the first version, which ended with the Ghostscript field, keeps its settings; what
// the PDF is for and transparency come at their defaults, and the next save writes the whole
// value. Each version is read at its own size only, and a purpose that the list lacks reads as
// everyday use.
TEST_F(Store, PdfSettingsOfTheFirstVersionAreKept) {
  setDefaultPdfOptions();
  pdfOptions.makePdf = pdfOptions.openResult = 1;
  pdfOptions.reportFailure = 0;
  copyText(pdfOptions.ghostscriptFile, "C:\\gs\\gswin64c.exe");
  const auto* bytes = reinterpret_cast<const unsigned char*>(&pdfOptions);
  std::vector<unsigned char> first(bytes, bytes + PDF_OPTIONS_SIZE_1);
  putWord(first, 4, PDF_OPTIONS_SIZE_1);
  putWord(first, 8, 1);
  fakeStore.keys[KEY]["PDF"].data = first;
  setDefaultPdfOptions();
  pdfOptions.purpose = PDF_FOR_SMALLER_FILE;
  pdfOptions.allowTransparency = 1;
  loadOptions();
  EXPECT_EQ(pdfOptions.makePdf, 1);
  EXPECT_EQ(pdfOptions.openResult, 1);
  EXPECT_EQ(pdfOptions.reportFailure, 0);
  EXPECT_STREQ(pdfOptions.ghostscriptFile, "C:\\gs\\gswin64c.exe");
  EXPECT_EQ(pdfOptions.purpose, PDF_FOR_EVERYDAY_USE);
  EXPECT_EQ(pdfOptions.allowTransparency, 0);
  saveOptions();
  std::vector<unsigned char> saved = fakeStore.keys[KEY]["PDF"].data;
  ASSERT_EQ(saved.size(), PDF_OPTIONS_SIZE);
  EXPECT_EQ(std::vector<unsigned char>(saved.begin() + 4, saved.begin() + 12),
            (std::vector<unsigned char>{0x24, 0x01, 0, 0, 2, 0, 0, 0}));
  EXPECT_TRUE(std::equal(first.begin() + 12, first.end(), saved.begin() + 12));

  putWord(saved, 284, PDF_FOR_PRINTING);
  putWord(saved, 288, 1);
  fakeStore.keys[KEY]["PDF"].data = saved;
  setDefaultPdfOptions();
  loadOptions();
  EXPECT_EQ(pdfOptions.purpose, PDF_FOR_PRINTING);
  EXPECT_EQ(pdfOptions.allowTransparency, 1);

  auto secondAsFirst = saved, firstAsSecond = first;
  putWord(secondAsFirst, 8, 1);
  putWord(firstAsSecond, 8, 2);
  for (const auto& refused : {secondAsFirst, firstAsSecond}) {
    fakeStore.keys[KEY]["PDF"].data = refused;
    setDefaultPdfOptions();
    loadOptions();
    EXPECT_EQ(pdfOptions.makePdf, 0) << refused.size();
  }
  for (const std::uint32_t unknown : {4u, 0xFFFFFFFFu}) {
    putWord(saved, 284, unknown);
    fakeStore.keys[KEY]["PDF"].data = saved;
    loadOptions();
    EXPECT_EQ(pdfOptions.purpose, PDF_FOR_EVERYDAY_USE) << unknown;
    EXPECT_EQ(pdfOptions.makePdf, 1);
  }
}

}  // namespace
