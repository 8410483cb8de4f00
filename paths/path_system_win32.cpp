// Path conversions on Windows.
#include <windows.h>

#include "paths/path_rules.h"
#include "paths/path_system.h"

namespace {

constexpr DWORD EXTENDED_PATH_SIZE = WIDE_PATH_SIZE + 8;
ZERO_FILLED wchar_t extendedPath[EXTENDED_PATH_SIZE];
ZERO_FILLED wchar_t extendedShortPath[EXTENDED_PATH_SIZE];

bool startsWith(const wchar_t* text, const wchar_t* start) {
  while (*start != L'\0')
    if (*text++ != *start++) return false;
  return true;
}

}  // namespace

std::uint32_t shortPathName(const char* path, char* buffer, std::uint32_t bufferSize) {
  return GetShortPathNameA(path, buffer, bufferSize);
}

// A path of MAX_PATH characters or more is taken only in its extended form ("\\?\C:\..." or
// "\\?\UNC\server\..."), and its short form then comes back in that form too.
std::uint32_t wideShortPathName(const wchar_t* path, wchar_t* buffer, std::uint32_t bufferSize) {
  const int length = lstrlenW(path);
  const bool drive = path[0] != L'\0' && path[1] == L':' && path[2] == L'\\';
  const bool server = path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
  if (length < MAX_PATH || length >= static_cast<int>(WIDE_PATH_SIZE) || (!drive && !server))
    return GetShortPathNameW(path, buffer, bufferSize);
  const wchar_t* const prefix = drive ? L"\\\\?\\" : L"\\\\?\\UNC";
  lstrcpyW(extendedPath, prefix);
  lstrcatW(extendedPath, drive ? path : path + 1);
  const DWORD shortLength = GetShortPathNameW(extendedPath, extendedShortPath, EXTENDED_PATH_SIZE);
  const int prefixLength = lstrlenW(prefix);
  if (shortLength <= static_cast<DWORD>(prefixLength) || shortLength >= EXTENDED_PATH_SIZE ||
      !startsWith(extendedShortPath, prefix))
    return 0;
  // Back to the plain form: the drive path as it was, or "\\server\..." from "\\?\UNC\server\...".
  const wchar_t* plain = extendedShortPath + prefixLength;
  const std::uint32_t plainLength =
      shortLength - static_cast<DWORD>(prefixLength) + (drive ? 0 : 1);
  if (plainLength >= bufferSize) return plainLength + 1;
  if (!drive) *buffer++ = L'\\';
  lstrcpyW(buffer, plain);
  return plainLength;
}

std::uint32_t fullPathName(const char* path, char* buffer, std::uint32_t bufferSize) {
  return GetFullPathNameA(path, bufferSize, buffer, nullptr);
}

std::uint32_t ansiPathName(const wchar_t* path, char* buffer, std::uint32_t bufferSize) {
  // UTF-8 as the ANSI code page holds every character, and refuses the default-char query.
  const UINT codePage = GetACP();
  const bool anyCharacter = codePage == CP_UTF8 || codePage == CP_UTF7;
  const DWORD flags = anyCharacter ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const usedDefaultFlag = anyCharacter ? nullptr : &usedDefault;
  const int needed =
      WideCharToMultiByte(CP_ACP, flags, path, -1, nullptr, 0, nullptr, usedDefaultFlag);
  if (needed <= 1 || usedDefault) return 0;
  const auto size = static_cast<std::uint32_t>(needed);
  if (size > bufferSize) return size;
  WideCharToMultiByte(CP_ACP, flags, path, -1, buffer, needed, nullptr, nullptr);
  return size - 1;
}

std::uint32_t widePathName(const char* path, wchar_t* buffer, std::uint32_t bufferSize) {
  const int size = MultiByteToWideChar(CP_ACP, 0, path, -1, buffer, static_cast<int>(bufferSize));
  return size > 1 ? static_cast<std::uint32_t>(size - 1) : 0;
}
