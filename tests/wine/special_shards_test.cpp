// The shards with a set-up of their own run the tests where that set-up holds: a Japanese locale
// and a 64-bit prefix. The suites here run only in those shards.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(Cp932Sanity, TheAnsiCodePageIs932) {
  EXPECT_EQ(GetACP(), 932u);
  EXPECT_TRUE(IsDBCSLeadByte(0x82));  // the lead byte of hiragana in Shift JIS
}

TEST(Win64Sanity, TheProgramRunsUnderWow64) {
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_TRUE(wow64);
}

}  // namespace
