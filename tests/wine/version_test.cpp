// The version details that Explorer shows under Properties, Details, read back from corvane.exe.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/wine/driver.h"

namespace {

TEST(VersionDetails, ReadBackFromTheProgram) {
  const std::string exe = corvanePath();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof *fixed);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);           // .0.0
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  // The texts of the first language the block lists, as Explorer finds them.
  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 4u);
  char prefix[40];
  wsprintfA(prefix, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  const auto text = [&](const char* name) {
    char* value = nullptr;
    UINT chars = 0;
    if (!VerQueryValueA(block.data(), (std::string(prefix) + name).c_str(),
                        reinterpret_cast<void**>(&value), &chars))
      return std::string("(missing)");
    return std::string(value);
  };
  EXPECT_EQ(text("CompanyName"), "Tolmarek");
  EXPECT_EQ(text("ProductName"), "Corvane");
  EXPECT_EQ(text("FileDescription"), "Corvane, a front end for dvips");
  EXPECT_EQ(text("FileVersion"), "1.0.0.0");
  EXPECT_EQ(text("ProductVersion"), "1.0.0.0");
  EXPECT_EQ(text("LegalCopyright"), "Copyright (C) 2026 Tolmarek");
  EXPECT_EQ(text("OriginalFilename"), "corvane.exe");
  EXPECT_EQ(text("InternalName"), "corvane.exe");
}

}  // namespace
