// The per-user installer, run silently as a deployment tool runs it, and what it leaves behind:
// the files, the Start menu shortcut, the Explorer command and the entry in Installed apps.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <array>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/wine/driver.h"

namespace {

constexpr char VERB_KEY[] =
    "Software\\Classes\\SystemFileAssociations\\.dvi\\shell\\ConvertWithCorvane";
constexpr char APPLICATION_KEY[] = "Software\\Classes\\Applications\\corvane.exe";
constexpr char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane";

// Every key the installer writes, with the keys above them that it may have made.
constexpr std::array<const char*, 13> INSTALLED_KEYS = {
    "Software\\Classes\\SystemFileAssociations",
    "Software\\Classes\\SystemFileAssociations\\.dvi",
    "Software\\Classes\\SystemFileAssociations\\.dvi\\shell",
    VERB_KEY,
    "Software\\Classes\\SystemFileAssociations\\.dvi\\shell\\ConvertWithCorvane\\command",
    "Software\\Classes\\Applications",
    APPLICATION_KEY,
    "Software\\Classes\\Applications\\corvane.exe\\SupportedTypes",
    "Software\\Classes\\Applications\\corvane.exe\\shell\\open\\command",
    "Software\\Classes\\.dvi",
    "Software\\Classes\\.dvi\\OpenWithList",
    "Software\\Classes\\.dvi\\OpenWithList\\corvane.exe",
    UNINSTALL_KEY,
};

std::string knownFolder(int folder) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}
std::string programsFolder() { return knownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs"; }
std::string installFolder() { return programsFolder() + "\\Corvane\\"; }
std::string shortcutPath() { return knownFolder(CSIDL_PROGRAMS) + "\\Corvane.lnk"; }

bool keyExists(const char* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

DWORD valueCount(const char* key) {
  HKEY opened = nullptr;
  DWORD count = 0;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return 0;
  RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(opened);
  return count;
}

// A value as "REG_SZ text" or "REG_DWORD number"; empty when it is missing or of another type.
std::string valueOf(const char* key, const char* name) {
  char data[1024] = {};
  DWORD type = 0;
  DWORD size = sizeof data - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) !=
      ERROR_SUCCESS)
    return "";
  if (type == REG_SZ) return std::string("REG_SZ ") + data;
  if (type == REG_DWORD) return "REG_DWORD " + std::to_string(*reinterpret_cast<DWORD*>(data));
  return "";
}

// Starts a command line as Explorer and Installed apps start theirs, program name included.
PROCESS_INFORMATION startCommandLine(std::string command) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                 &process);
  return process;
}

DWORD kilobytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes);
  return (attributes.nFileSizeLow + 1023) / 1024;
}

class Installer : public ::testing::Test {
 protected:
  // What the prefix held before the first installation of the run, so that what one test's
  // uninstall leaves behind cannot hide from the next.
  struct Before {
    std::vector<bool> keys;
    bool programsFolder = false;
  };
  static Before takeBefore() {
    Before before;
    for (const char* key : INSTALLED_KEYS) before.keys.push_back(keyExists(key));
    before.programsFolder = fileExists(programsFolder());
    return before;
  }

  void SetUp() override {
    static const Before first = takeBefore();
    before = first;
    ASSERT_EQ(install(), 0u);
  }

  void TearDown() override {
    if (fileExists(installFolder() + "uninstall.exe")) uninstall();
  }

  static DWORD install() {
    PROCESS_INFORMATION setup = startProgram(buildFolder() + "corvane-1.0-setup.exe", "/S");
    return waitForExit(setup);
  }

  // The quiet uninstall command of Installed apps, as a deployment tool runs it; its exit code.
  // The uninstaller hands over to a copy of itself and ends; the copy removes the entry in
  // Installed apps last.
  static DWORD runUninstall() {
    const std::string command = valueOf(UNINSTALL_KEY, "QuietUninstallString").substr(7);
    PROCESS_INFORMATION uninstaller = startCommandLine(command);
    return waitForExit(uninstaller);
  }
  static void uninstall() {
    EXPECT_EQ(runUninstall(), 0u);
    EXPECT_TRUE(waitUntil([] { return !keyExists(UNINSTALL_KEY); })) << "still installed";
  }

  Before before;
};

TEST_F(Installer, InstallsTheFilesTheShortcutAndEveryKey) {
  const std::string folder = installFolder();
  EXPECT_EQ(readFile(folder + "corvane.exe"), readFile(corvanePath()));
  EXPECT_EQ(readFile(folder + "corvane.chm"), readFile(buildFolder() + "corvane.chm"));
  EXPECT_EQ(readFile(folder + "README.txt"),
            readFile(buildFolder() + "release\\corvane-1.0\\README.txt"));
  EXPECT_TRUE(fileExists(folder + "uninstall.exe"));

  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                             reinterpret_cast<void**>(&link)),
            S_OK);
  IPersistFile* file = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  const std::string shortcut = shortcutPath();
  const std::wstring wideShortcut(shortcut.begin(), shortcut.end());
  EXPECT_EQ(file->Load(wideShortcut.c_str(), STGM_READ), S_OK) << shortcut;
  char target[MAX_PATH] = {};
  link->GetPath(target, sizeof target, nullptr, 0);
  EXPECT_EQ(std::string(target), folder + "corvane.exe");
  file->Release();
  link->Release();
  CoUninitialize();

  const std::string program = folder + "corvane.exe";
  const std::string command = "REG_SZ \"" + program + "\" \"%1\"";
  const DWORD size =
      kilobytes(program) + kilobytes(folder + "corvane.chm") + kilobytes(folder + "README.txt");
  const std::string location = folder.substr(0, folder.size() - 1);
  struct Expected {
    const char* key;
    const char* name;
    std::string value;
  };
  const std::vector<Expected> expected = {
      {VERB_KEY, "", "REG_SZ Convert with Corvane"},
      {VERB_KEY, "Icon", "REG_SZ " + program + ",0"},
      {INSTALLED_KEYS[4], "", command},
      {APPLICATION_KEY, "FriendlyAppName", "REG_SZ Corvane"},
      {INSTALLED_KEYS[7], ".dvi", "REG_SZ "},
      {INSTALLED_KEYS[8], "", command},
      {INSTALLED_KEYS[11], "", "REG_SZ "},
      {UNINSTALL_KEY, "DisplayName", "REG_SZ Corvane"},
      {UNINSTALL_KEY, "DisplayVersion", "REG_SZ 1.0"},
      {UNINSTALL_KEY, "Publisher", "REG_SZ Tolmarek"},
      {UNINSTALL_KEY, "DisplayIcon", "REG_SZ " + program + ",0"},
      {UNINSTALL_KEY, "InstallLocation", "REG_SZ " + location},
      {UNINSTALL_KEY, "EstimatedSize", "REG_DWORD " + std::to_string(size)},
      {UNINSTALL_KEY, "UninstallString", "REG_SZ \"" + folder + "uninstall.exe\" _?=" + location},
      {UNINSTALL_KEY, "QuietUninstallString",
       "REG_SZ \"" + folder + "uninstall.exe\" /S _?=" + location},
      {UNINSTALL_KEY, "NoModify", "REG_DWORD 1"},
      {UNINSTALL_KEY, "NoRepair", "REG_DWORD 1"},
  };
  for (const Expected& value : expected)
    EXPECT_EQ(valueOf(value.key, value.name), value.value) << value.key << " " << value.name;
  // No value beyond those: the ones above, counted per key.
  for (const char* key : INSTALLED_KEYS) {
    DWORD count = 0;
    for (const Expected& value : expected) count += std::string(value.key) == key ? 1 : 0;
    if (count > 0) {
      EXPECT_EQ(valueCount(key), count) << key;
    }
  }
}

TEST_F(Installer, ExplorerCommandOpensTheSheetWithTheFile) {
  const std::string dvi = scratchFolder("explorer command") + "first draft.dvi";
  createEmptyFile(dvi);
  std::string command = valueOf(INSTALLED_KEYS[4], "").substr(7);
  command.replace(command.find("%1"), 2, dvi);
  PROCESS_INFORMATION corvane = startCommandLine(command);
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr) << command;
  std::string shown = controlText(currentPage(sheet), IDC_DVI_FILE);
  if (shown.size() >= 2 && shown.front() == '"' && shown.back() == '"')
    shown = shown.substr(1, shown.size() - 2);
  EXPECT_EQ(shown, dvi);
  pressSheetButton(sheet, PSBTN_CANCEL);
  EXPECT_EQ(waitForExit(corvane), 0u);
}

TEST_F(Installer, UninstallLeavesNothingButTheSettings) {
  storeRecord(defaultRecord());
  const std::vector<std::uint8_t> settings = storedBytes();
  uninstall();
  EXPECT_FALSE(fileExists(installFolder()));
  EXPECT_EQ(fileExists(programsFolder()), before.programsFolder);
  EXPECT_FALSE(fileExists(shortcutPath()));
  for (std::size_t at = 0; at < INSTALLED_KEYS.size(); ++at)
    EXPECT_EQ(keyExists(INSTALLED_KEYS[at]), before.keys[at]) << INSTALLED_KEYS[at];
  EXPECT_EQ(storedBytes(), settings);
  clearStoredRecord();
}

TEST_F(Installer, InstallingAgainUpgradesInPlace) {
  const std::string program = installFolder() + "corvane.exe";
  const HANDLE old =
      CreateFileA(program.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
  ASSERT_NE(old, INVALID_HANDLE_VALUE);
  CloseHandle(old);
  EXPECT_EQ(install(), 0u);
  EXPECT_EQ(readFile(program), readFile(corvanePath()));
  EXPECT_EQ(valueOf(UNINSTALL_KEY, "InstallLocation"),
            "REG_SZ " + installFolder().substr(0, installFolder().size() - 1));
}

// Upgrading or uninstalling with Corvane open: silently, neither touches a file or a key and both
// end with 32; once Corvane has closed, both go through.
TEST_F(Installer, WhileCorvaneIsOpenSilentSetupAndUninstallChangeNothingAndFail) {
  const std::string readMe = installFolder() + "README.txt";
  const HANDLE emptied =
      CreateFileA(readMe.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
  ASSERT_NE(emptied, INVALID_HANDLE_VALUE);
  CloseHandle(emptied);
  PROCESS_INFORMATION corvane = startProgram(installFolder() + "corvane.exe", "");
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);

  EXPECT_EQ(install(), 32u);
  EXPECT_EQ(readFile(readMe), "");
  EXPECT_EQ(runUninstall(), 32u);
  EXPECT_TRUE(keyExists(UNINSTALL_KEY));
  EXPECT_TRUE(fileExists(installFolder() + "uninstall.exe"));
  EXPECT_TRUE(fileExists(shortcutPath()));

  pressSheetButton(sheet, PSBTN_CANCEL);
  EXPECT_EQ(waitForExit(corvane), 0u);
  EXPECT_EQ(install(), 0u);
  EXPECT_EQ(readFile(readMe), readFile(buildFolder() + "release\\corvane-1.0\\README.txt"));
  uninstall();
  EXPECT_FALSE(fileExists(installFolder()));
}

}  // namespace
