// user_path.exe: adds a folder to this user's Path (HKCU\Environment) or removes the entry that
// was added, for setup and the uninstaller, whose own strings hold too few characters for a long
// Path. The value is read and written whole, in wide characters, and keeps its type (REG_SZ or
// REG_EXPAND_SZ); a value that cannot be read whole is left as it is. Windows' programs are told
// of a change as the system's own settings tell them.
//
//   user_path add FOLDER     adds FOLDER as the last entry, unless an entry names it already
//   user_path remove ENTRY   removes the last entry written exactly as ENTRY
//
// Exit codes, which the installer's script tells in its details:
//   0 the Path was changed      1 nothing to do (the folder was there, or the entry was not)
//   2 the Path was not read whole, or is not text, and was left as it is
//   3 the Path would grow longer than the system takes      4 the Path could not be written
#include <windows.h>

#include <shellapi.h>

#include "packaging/path_entries.h"

namespace {

enum : int { CHANGED = 0, NOTHING_TO_DO = 1, NOT_WHOLE = 2, TOO_LONG = 3, NOT_WRITTEN = 4 };

const wchar_t ENVIRONMENT_KEY[] = L"Environment";
const wchar_t PATH_NAME[] = L"Path";

// The value as read, one unit more than the longest that is taken, so that a longer one is seen;
// the value as written; one entry made a NUL-ended text for the system's expansion.
wchar_t readValue[PATH_VALUE_MAX + 2];
wchar_t newValue[PATH_VALUE_MAX + 1];
wchar_t entryText[PATH_VALUE_MAX + 1];

std::size_t expandEntry(const wchar_t* entry, std::size_t length, wchar_t* expanded,
                        std::size_t capacity) {
  lstrcpynW(entryText, entry, static_cast<int>(length + 1));
  const DWORD needed = ExpandEnvironmentStringsW(entryText, expanded, static_cast<DWORD>(capacity));
  return needed == 0 || needed > capacity ? 0 : needed - 1;
}

bool sameName(const wchar_t* a, std::size_t aLength, const wchar_t* b, std::size_t bLength) {
  return CompareStringOrdinal(a, static_cast<int>(aLength), b, static_cast<int>(bLength), TRUE) ==
         CSTR_EQUAL;
}

struct PathValue {
  bool present = false;
  DWORD type = REG_EXPAND_SZ;  // as Windows makes a user's Path
  std::size_t length = 0;
};

// Reads the Path into readValue; false when it is present but not whole text.
bool readPath(HKEY key, PathValue* path) {
  DWORD size = sizeof readValue;
  const LONG read = RegQueryValueExW(key, PATH_NAME, nullptr, &path->type,
                                     reinterpret_cast<BYTE*>(readValue), &size);
  if (read == ERROR_FILE_NOT_FOUND) {
    path->type = REG_EXPAND_SZ;
    return true;
  }
  path->present = true;
  return read == ERROR_SUCCESS && (path->type == REG_SZ || path->type == REG_EXPAND_SZ) &&
         size % sizeof(wchar_t) == 0 &&
         wholeTextLength(readValue, size / sizeof(wchar_t), &path->length) &&
         path->length <= PATH_VALUE_MAX;
}

int writePath(HKEY key, DWORD type, std::size_t length) {
  const LONG written =
      length == 0 ? RegDeleteValueW(key, PATH_NAME)
                  : RegSetValueExW(key, PATH_NAME, 0, type, reinterpret_cast<const BYTE*>(newValue),
                                   static_cast<DWORD>((length + 1) * sizeof(wchar_t)));
  if (written != ERROR_SUCCESS) return NOT_WRITTEN;
  // A window that does not answer is not waited for.
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                      reinterpret_cast<LPARAM>(ENVIRONMENT_KEY), SMTO_ABORTIFHUNG, 5000, nullptr);
  return CHANGED;
}

int addFolder(const wchar_t* folder) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, ENVIRONMENT_KEY, 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return NOT_WRITTEN;
  PathValue path;
  int result = NOTHING_TO_DO;
  std::size_t length = 0;
  const PathNaming naming = {expandEntry, sameName};
  if (!readPath(key, &path))
    result = NOT_WHOLE;
  else if (pathNamesFolder(readValue, path.length, folder, naming))
    result = NOTHING_TO_DO;
  else if (!pathWithEntry(readValue, path.length, folder, newValue, &length))
    result = TOO_LONG;
  else
    result = writePath(key, path.type, length);
  RegCloseKey(key);
  return result;
}

int removeEntry(const wchar_t* entry) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, ENVIRONMENT_KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
      ERROR_SUCCESS)
    return NOTHING_TO_DO;
  PathValue path;
  int result = NOTHING_TO_DO;
  std::size_t length = 0;
  if (!readPath(key, &path))
    result = NOT_WHOLE;
  else if (pathWithoutEntry(readValue, path.length, entry, newValue, &length))
    result = writePath(key, path.type, length);
  RegCloseKey(key);
  return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  int result = NOT_WRITTEN;
  if (arguments != nullptr && count == 3 && arguments[2][0] != L'\0') {
    if (lstrcmpW(arguments[1], L"add") == 0) result = addFolder(arguments[2]);
    if (lstrcmpW(arguments[1], L"remove") == 0) result = removeEntry(arguments[2]);
  }
  LocalFree(arguments);
  return result;
}
