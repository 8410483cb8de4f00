// The default record, byte for byte, and bounded copies into text fields.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "base/text_format.h"
#include "options/options.h"
#include "tests/native/fakes.h"

namespace {

const unsigned char* bytesOf(const Options& record) {
  return reinterpret_cast<const unsigned char*>(&record);
}

TEST(DefaultRecord, IsAllZeroButTheDocumentedBytes) {
  resetOptions();
  setDefaultOptions();
  std::array<unsigned char, OPTIONS_SIZE> expected{};
  const unsigned char header[] = {0xA1, 0x3E, 0x7B, 0x4C, 0x6C, 0x06, 0x00, 0x00};
  std::memcpy(expected.data(), header, sizeof header);
  std::memcpy(expected.data() + 848, "dvips.exe", 10);
  expected[532] = 1;   // useDviDirectory
  expected[608] = 1;   // useTexNumbers
  expected[1636] = 1;  // createFonts
  expected[1628] = 1;  // windowMode Normal
  for (std::size_t i = 0; i < OPTIONS_SIZE; ++i)
    ASSERT_EQ(bytesOf(options)[i], expected[i]) << "at offset " << i;
}

TEST(CopyText, FitsExactlyTheFieldLessOne) {
  char field[64];
  std::memset(field, 'x', sizeof field);
  const std::string longest(63, 'a');
  copyText(field, longest.c_str());
  EXPECT_EQ(std::string(field), longest);

  const std::string tooLong(70, 'b');
  copyText(field, tooLong.c_str());
  EXPECT_EQ(std::string(field), std::string(63, 'b'));
  EXPECT_EQ(field[63], '\0');
}

// In a double-byte code page the cut keeps whole characters: 表, ソ and 能 end in 0x5C.
TEST(CopyText, NeverKeepsTheFirstByteOfACharacterAlone) {
  resetFakes();
  fakeDoubleByte = true;
  char field[8];
  copyText(field, "ab\x95\x5c\x83\x5c\x94\x5c");  // "ab表ソ能" needs 8 bytes and its NUL
  EXPECT_STREQ(field, "ab\x95\x5c\x83\x5c");
  copyText(field, "abcdef\x95\x5c");
  EXPECT_STREQ(field, "abcdef");
  copyText(field, "abc\x95");  // a first byte without its second is no character
  EXPECT_STREQ(field, "abc");
  resetFakes();
}

// A message cut to its buffer, such as a path at the end of the error box's text, keeps whole
// characters too, and nothing follows the cut.
TEST(CopyText, AMessageIsCutOnAWholeCharacter) {
  resetFakes();
  fakeDoubleByte = true;
  char message[10] = "";
  appendFormatted(message, "%s.", {"abcdef\x95\x5c\x83\x5c"});  // "abcdef表ソ." needs 11 bytes
  EXPECT_STREQ(message, "abcdef\x95\x5c");
  message[0] = '\0';
  appendFormatted(message, "%s and more", {"abcdefgh\x95\x5c"});
  EXPECT_STREQ(message, "abcdefgh");
  resetFakes();
}

TEST(CopyText, ShorterTextLeavesTheTailOfTheLongerOne) {
  char field[16];
  copyText(field, "a long old text");
  copyText(field, "new");
  EXPECT_STREQ(field, "new");
  EXPECT_EQ(std::memcmp(field + 4, "ng old text", 11), 0);
}

}  // namespace
