// What Explorer shows of corvane.exe, read back from the program: the version details under
// Properties, Details, and the icon at every size that Windows asks for.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
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

// 16 to 48 pixels for title bars, the taskbar and lists at 100 to 300 %, 64 and 256 for Explorer's
// large views: both icon groups hold each size, and each loads as a 32-bit image whose edges are
// smoothed by its alpha channel.
TEST(ProgramIcons, BothGroupsHoldEverySizeEachIn32BitsWithAlpha) {
  const std::set<int> sizes = {16, 20, 24, 32, 40, 48, 64, 256};
  const HMODULE exe = LoadLibraryExA(corvanePath().c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr);
  for (const int group : {101, 102}) {
    const HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(group), MAKEINTRESOURCEA(14));
    ASSERT_NE(found, nullptr) << group;
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(exe, found)));
    WORD count = 0;
    std::memcpy(&count, directory + 4, sizeof count);
    ASSERT_EQ(SizeofResource(exe, found), 6u + 14u * count) << group;
    std::set<int> listed;
    for (WORD index = 0; index < count; ++index) {
      const BYTE* entry = directory + 6 + 14 * index;  // width, height, colours, 0, planes, bits
      WORD bits = 0;
      std::memcpy(&bits, entry + 6, sizeof bits);
      EXPECT_EQ(bits, 32) << group << ", entry " << index;
      listed.insert(entry[0] == 0 ? 256 : entry[0]);
    }
    EXPECT_EQ(listed, sizes) << group;

    for (const int size : sizes) {
      const auto icon = static_cast<HICON>(
          LoadImageA(exe, MAKEINTRESOURCEA(group), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
      ASSERT_NE(icon, nullptr) << group << " at " << size;
      ICONINFO info = {};
      ASSERT_TRUE(GetIconInfo(icon, &info));
      BITMAP colour = {};
      GetObjectA(info.hbmColor, sizeof colour, &colour);
      EXPECT_EQ(colour.bmWidth, size) << group;
      EXPECT_EQ(colour.bmBitsPixel, 32) << group << " at " << size;
      BITMAPINFOHEADER header = {};
      header.biSize = sizeof header;
      header.biWidth = size;
      header.biHeight = -size;  // top-down
      header.biPlanes = 1;
      header.biBitCount = 32;
      header.biCompression = BI_RGB;
      std::vector<RGBQUAD> pixels(static_cast<std::size_t>(size * size));
      const HDC screen = GetDC(nullptr);
      GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(size), pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
      ReleaseDC(nullptr, screen);
      int clear = 0, partly = 0, opaque = 0;
      for (const RGBQUAD& pixel : pixels) {
        clear += pixel.rgbReserved == 0 ? 1 : 0;
        partly += pixel.rgbReserved > 0 && pixel.rgbReserved < 255 ? 1 : 0;
        opaque += pixel.rgbReserved == 255 ? 1 : 0;
      }
      EXPECT_TRUE(clear > 0 && partly > 0 && opaque > 0)
          << group << " at " << size << ": " << clear << " clear, " << partly << " partly clear, "
          << opaque << " opaque pixels";
      DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
      DestroyIcon(icon);
    }
  }
  FreeLibrary(exe);
}

}  // namespace
