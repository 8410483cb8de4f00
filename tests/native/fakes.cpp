// Stand-ins for the platform services of the portable core, for tests and fuzzers.
#include "tests/native/fakes.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <sstream>

#include "base/strings.h"
#include "command/lookup_system.h"
#include "options/options.h"
#include "options/value_store.h"
#include "paths/path_system.h"

FakeStore fakeStore;
std::map<std::string, std::string> fakeShortNames;
std::map<std::wstring, std::wstring> fakeWideShortNames;
std::string fakeCurrentDirectory;
FakeSystem fakeSystem;
bool fakeDoubleByte = false;

namespace {

// The string table is read from the program's own resource script, so the tests use the
// texts that the program ships.
std::map<int, std::string> readStringTable() {
  std::map<int, std::string> table;
  std::ifstream script(CORVANE_RESOURCE_SCRIPT);
  std::string line;
  bool inside = false;
  while (std::getline(script, line)) {
    if (line.rfind("STRINGTABLE", 0) == 0) inside = true;
    if (!inside) continue;
    if (line.rfind("END", 0) == 0) break;
    const auto comma = line.find(',');
    const auto open = line.find('"');
    const auto close = line.rfind('"');
    if (comma == std::string::npos || open == std::string::npos || close <= open) continue;
    std::string text;
    for (auto i = open + 1; i < close; ++i) {
      if (line[i] == '\\' && i + 1 < close) ++i;
      text += line[i];
    }
    table[std::stoi(line.substr(0, comma))] = text;
  }
  return table;
}

char stringBuffer[256];

}  // namespace

const char* loadResourceString(int id) {
  static const std::map<int, std::string> table = readStringTable();
  const auto found = table.find(id);
  copyText(stringBuffer, found == table.end() ? "" : found->second.c_str());
  return stringBuffer;
}

void resetFakes() {
  fakeStore = FakeStore{};
  fakeShortNames.clear();
  fakeWideShortNames.clear();
  fakeCurrentDirectory = "C:\\Start";
  fakeDoubleByte = false;
  fakeSystem = FakeSystem{};
}

void addFakeFile(const std::string& path) {
  fakeSystem.files.insert(path);
  std::string child = path;
  for (auto separator = child.rfind('\\'); separator != std::string::npos && separator > 2;
       separator = child.rfind('\\')) {
    const std::string parent = child.substr(0, separator);
    const std::string name = child.substr(separator + 1);
    auto& names = fakeSystem.subfolders[parent];
    if (child != path && std::find(names.begin(), names.end(), name) == names.end())
      names.push_back(name);
    child = parent;
  }
}

void resetOptions() { std::memset(&options, 0, sizeof options); }

long storeOpenKey(const char* path, StoreKey* key) {
  auto found = fakeStore.keys.find(path);
  if (found == fakeStore.keys.end()) return 2;  // not found
  if (fakeStore.refuseFullAccess) return 5;     // access denied
  ++fakeStore.opens;
  *key = &found->second;
  return 0;
}

long storeCreateKey(const char* path, StoreKey* key) {
  if (fakeStore.refuseCreate) return 5;
  ++fakeStore.opens;
  *key = &fakeStore.keys[path];
  return 0;
}

long storeQueryValue(StoreKey key, const char* name, unsigned char* buffer, std::uint32_t* count) {
  auto& values = *static_cast<std::map<std::string, StoredValue>*>(key);
  const auto found = values.find(name);
  if (found == values.end()) return 2;
  const auto size = static_cast<std::uint32_t>(found->second.data.size());
  if (size > *count) {
    *count = size;
    return 234;  // more data
  }
  if (size > 0) std::memcpy(buffer, found->second.data.data(), size);
  *count = size;
  return 0;
}

long storeSetBinaryValue(StoreKey key, const char* name, const unsigned char* data,
                         std::uint32_t size) {
  auto& values = *static_cast<std::map<std::string, StoredValue>*>(key);
  values[name] = StoredValue{std::vector<unsigned char>(data, data + size), 3};
  return 0;
}

void storeCloseKey(StoreKey) { ++fakeStore.closes; }

namespace {

// Answers as the system's path queries do: the length without the NUL when the buffer holds the
// text, else the size that it needs; 0 for no answer.
template <typename Char>
std::uint32_t answerPath(const std::basic_string<Char>& text, Char* buffer,
                         std::uint32_t bufferSize) {
  if (text.empty()) return 0;
  const auto length = static_cast<std::uint32_t>(text.size());
  if (length >= bufferSize) return length + 1;
  std::copy(text.c_str(), text.c_str() + length + 1, buffer);
  return length;
}

}  // namespace

std::string utf8Of(const std::wstring& text) {
  std::string utf8;
  for (const wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += static_cast<char>(0xC0 | (code >> 6));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (code >> 12));
      utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (code >> 18));
      utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return utf8;
}

std::wstring wideOfUtf8(const std::string& text) {
  std::wstring wide;
  for (std::size_t at = 0; at < text.size();) {
    const std::uint32_t first = static_cast<unsigned char>(text[at]);
    const std::size_t size = first < 0x80 ? 1 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
    std::uint32_t code = size == 1 ? first : first & (0x3Fu >> (size - 1));
    for (std::size_t next = 1; next < size && at + next < text.size(); ++next)
      code = (code << 6) | (static_cast<unsigned char>(text[at + next]) & 0x3Fu);
    wide += static_cast<wchar_t>(code);
    at += size;
  }
  return wide;
}

std::uint32_t shortPathName(const char* path, char* buffer, std::uint32_t bufferSize) {
  const auto found = fakeShortNames.find(path);
  return found == fakeShortNames.end() ? 0 : answerPath(found->second, buffer, bufferSize);
}

std::uint32_t wideShortPathName(const wchar_t* path, wchar_t* buffer, std::uint32_t bufferSize) {
  const auto found = fakeWideShortNames.find(path);
  return found == fakeWideShortNames.end() ? 0 : answerPath(found->second, buffer, bufferSize);
}

std::uint32_t fullPathName(const char* path, char* buffer, std::uint32_t bufferSize) {
  const bool absolute = path[0] == '\\' || (path[0] != '\0' && path[1] == ':');
  return answerPath(absolute ? std::string(path) : fakeCurrentDirectory + "\\" + path, buffer,
                    bufferSize);
}

std::uint32_t ansiPathName(const wchar_t* path, char* buffer, std::uint32_t bufferSize) {
  const std::size_t length = std::wcslen(path);
  for (std::size_t at = 0; at < length; ++at)
    if (static_cast<std::uint32_t>(path[at]) >= FAKE_CODE_PAGE_END) return 0;
  if (length == 0) return 0;
  if (length >= bufferSize) return static_cast<std::uint32_t>(length + 1);
  for (std::size_t at = 0; at <= length; ++at) buffer[at] = static_cast<char>(path[at]);
  return static_cast<std::uint32_t>(length);
}

namespace {

std::string registryPlace(RegistryRoot root, RegistryView view, const wchar_t* key) {
  if (root == REGISTRY_CURRENT_USER) return "HKCU\\" + utf8Of(key);
  return (view == REGISTRY_64 ? "HKLM64\\" : "HKLM32\\") + utf8Of(key);
}

// The text of a map entry in the wide buffer, answered as the system's path queries are.
std::uint32_t answerWide(const std::string& text, wchar_t* buffer, std::uint32_t bufferSize) {
  return answerPath(wideOfUtf8(text), buffer, bufferSize);
}

}  // namespace

bool isExistingFile(const wchar_t* path) { return fakeSystem.files.count(utf8Of(path)) != 0; }

std::uint32_t searchPathFor(const wchar_t* name, wchar_t* buffer, std::uint32_t bufferSize) {
  const auto found = fakeSystem.searchPath.find(utf8Of(name));
  return found == fakeSystem.searchPath.end() ? 0 : answerWide(found->second, buffer, bufferSize);
}

std::uint32_t environmentText(const wchar_t* name, wchar_t* buffer, std::uint32_t bufferSize) {
  const auto found = fakeSystem.environment.find(utf8Of(name));
  return found == fakeSystem.environment.end() ? 0 : answerWide(found->second, buffer, bufferSize);
}

bool registryText(RegistryRoot root, RegistryView view, const wchar_t* key, const wchar_t* value,
                  wchar_t* buffer, std::uint32_t bufferSize) {
  const auto values = fakeSystem.registry.find(registryPlace(root, view, key));
  if (values == fakeSystem.registry.end()) return false;
  const auto found = values->second.find(utf8Of(value));
  if (found == values->second.end()) return false;
  const std::uint32_t length = answerWide(found->second, buffer, bufferSize);
  return length != 0 && length < bufferSize;
}

namespace {

bool answerName(const std::string& found, wchar_t* name, std::uint32_t size) {
  const std::wstring wide = wideOfUtf8(found);
  if (wide.size() < size)
    std::wmemcpy(name, wide.c_str(), wide.size() + 1);
  else
    name[0] = L'\0';
  return true;
}

}  // namespace

bool registrySubkey(RegistryRoot root, RegistryView view, const wchar_t* key, std::uint32_t index,
                    wchar_t* name, std::uint32_t size) {
  const std::string parent = registryPlace(root, view, key) + "\\";
  std::set<std::string> names;
  for (const auto& [path, values] : fakeSystem.registry)
    if (path.rfind(parent, 0) == 0)
      names.insert(path.substr(parent.size(), path.find('\\', parent.size()) - parent.size()));
  if (index >= names.size()) return false;
  return answerName(*std::next(names.begin(), index), name, size);
}

bool subfolder(const wchar_t* folder, std::uint32_t index, wchar_t* name, std::uint32_t size) {
  const auto found = fakeSystem.subfolders.find(utf8Of(folder));
  if (found == fakeSystem.subfolders.end() || index >= found->second.size()) return false;
  return answerName(found->second[index], name, size);
}

std::uint32_t widePathName(const char* path, wchar_t* buffer, std::uint32_t bufferSize) {
  const std::size_t length = std::strlen(path);
  if (length >= bufferSize) return 0;
  for (std::size_t at = 0; at <= length; ++at)
    buffer[at] = static_cast<wchar_t>(static_cast<unsigned char>(path[at]));
  return static_cast<std::uint32_t>(length);
}

bool isLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return fakeDoubleByte && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}
