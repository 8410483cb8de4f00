// Test stand-ins for the platform: the string table, the per-user value store, short paths.
#pragma once

#include <cstdint>
#include <map>
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

void resetFakes();

// Fills the global record as the program does at start-up; the record is zeroed first.
void resetOptions();
