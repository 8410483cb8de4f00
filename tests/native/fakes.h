// Test stand-ins for the platform: the string table, the per-user value store, short paths.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct StoredValue {
  std::vector<unsigned char> data;
  std::uint32_t type = 3;  // the registry's REG_BINARY; any type is served alike
};

struct FakeStore {
  std::map<std::string, std::map<std::string, StoredValue>> keys;
  bool refuseFullAccess = false;  // the key exists but may only be read
  bool refuseCreate = false;
  int opens = 0;
  int closes = 0;
};

extern FakeStore fakeStore;

// What shortPathName and wideShortPathName answer: an empty name makes the conversion fail.
extern std::map<std::string, std::string> fakeShortNames;
extern std::map<std::wstring, std::wstring> fakeWideShortNames;
// fullPathName puts a relative path after this folder; an absolute one stays as it is.
extern std::string fakeCurrentDirectory;
// ansiPathName's code page holds the characters below this one.
constexpr std::uint32_t FAKE_CODE_PAGE_END = 0x100;
// With it set, isLeadByte answers for a double-byte code page with 932's first bytes (0x81 to
// 0x9F and 0xE0 to 0xFC): 表 is 95 5C there, ソ 83 5C and 能 94 5C.
extern bool fakeDoubleByte;

// What the program lookups find: files that exist, what the search path answers, the environment,
// registry texts and subkeys (keyed "HKCU\\key" or "HKLM64\\key", "HKLM32\\key") and subfolders.
// The lookups ask in wide characters; these texts are their UTF-8, so that a name outside the
// code page is written as it reads.
struct FakeSystem {
  std::set<std::string> files;
  std::map<std::string, std::string> searchPath;
  std::map<std::string, std::string> environment;
  std::map<std::string, std::map<std::string, std::string>> registry;
  std::map<std::string, std::vector<std::string>> subfolders;
};

extern FakeSystem fakeSystem;

// A file that exists, with the folders above it listed as subfolders of their parents.
void addFakeFile(const std::string& path);

void resetFakes();

// Wide text in UTF-8 and back.
std::string utf8Of(const std::wstring& text);
std::wstring wideOfUtf8(const std::string& text);

// Fills the global record as the program does at start-up; the record is zeroed first.
void resetOptions();
