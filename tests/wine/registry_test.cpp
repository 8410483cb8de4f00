// The registry reader against Wine's real registry: what other programs store is read whole and
// ended, whatever its length.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "base/registry.h"

namespace {

constexpr wchar_t TEST_KEY[] = L"Software\\Tolmarek\\Registry reader test";

class RegistryReader : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, TEST_KEY);
    ASSERT_EQ(openRegistryKey(HKEY_CURRENT_USER, TEST_KEY, KEY_ALL_ACCESS, true, &key),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    closeRegistryKey(key);
    RegDeleteTreeW(HKEY_CURRENT_USER, TEST_KEY);
  }
  HKEY key = nullptr;
};

// A program may store a text without its NUL, or with an odd byte: the text is read whole, and
// ended where the stored characters end.
TEST_F(RegistryReader, ATextStoredWithoutItsNulIsReadWholeAndEnded) {
  const std::wstring folder = L"C:\\texlive\\2024";
  for (const DWORD bytes : {DWORD(folder.size() * 2), DWORD(folder.size() * 2 + 1)}) {
    ASSERT_EQ(RegSetValueExW(key, L"Root", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                             bytes),
              ERROR_SUCCESS);
    wchar_t read[64];
    std::wmemset(read, L'x', 64);
    ASSERT_TRUE(readRegistryText(key, L"Root", read, 64)) << bytes;
    EXPECT_EQ(std::wstring(read), folder) << bytes;
    EXPECT_FALSE(readRegistryText(key, L"Root", read, static_cast<DWORD>(folder.size()))) << bytes;
  }
}

// A subkey name longer than the reader's first buffer is read in a larger one, and the names that
// follow it still come.
TEST_F(RegistryReader, ASubkeyNameOfAnyLengthIsEnumerated) {
  const std::wstring longest(255, L'n');
  for (const std::wstring& name : {std::wstring(L"a"), longest, std::wstring(L"z")}) {
    HKEY subkey = nullptr;
    ASSERT_EQ(openRegistryKey(key, name.c_str(), KEY_ALL_ACCESS, true, &subkey), ERROR_SUCCESS);
    closeRegistryKey(subkey);
  }
  std::wstring names;
  for (DWORD index = 0; wchar_t* name = registrySubkeyName(key, index); ++index) {
    names += std::wstring(name) + L";";
    std::free(name);
  }
  EXPECT_EQ(names, L"a;" + longest + L";z;");
}

}  // namespace
