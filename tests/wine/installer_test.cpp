// The per-user installer, run silently as a deployment tool runs it, and what it leaves behind:
// the files, the Start menu shortcuts, the Explorer command and the entry in Installed apps; run
// interactively, its pages, and what it does while Corvane is open.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstring>
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
constexpr std::array<const char*, 15> INSTALLED_KEYS = {
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
    "Software\\Classes\\SystemFileAssociations\\.dvi\\shell\\MakePdfWithCorvane",
    "Software\\Classes\\SystemFileAssociations\\.dvi\\shell\\MakePdfWithCorvane\\command",
};

std::string knownFolder(int folder) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}
std::string programsFolder() { return knownFolder(CSIDL_LOCAL_APPDATA) + "\\Programs"; }
std::string installFolder() { return programsFolder() + "\\Corvane\\"; }
std::string shortcutPath() { return knownFolder(CSIDL_PROGRAMS) + "\\Corvane.lnk"; }
std::string helpShortcutPath() { return knownFolder(CSIDL_PROGRAMS) + "\\Corvane Help.lnk"; }
std::string documentsFolder() { return knownFolder(CSIDL_PERSONAL); }

// The registry as this 32-bit process sees it, or (with KEY_WOW64_64KEY) as 64-bit Explorer and
// Settings see it.
bool keyExists(const char* key, REGSAM view = 0) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
    return false;
  RegCloseKey(opened);
  return true;
}

DWORD valueCount(const char* key, REGSAM view = 0) {
  HKEY opened = nullptr;
  DWORD count = 0;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return 0;
  RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(opened);
  return count;
}

// A value as "REG_SZ text" or "REG_DWORD number"; empty when it is missing or of another type.
std::string valueOf(const char* key, const char* name, REGSAM view = 0) {
  char data[1024] = {};
  DWORD type = 0;
  DWORD size = sizeof data - 1;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
    return "";
  const LONG read =
      RegGetValueA(opened, nullptr, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size);
  RegCloseKey(opened);
  if (read != ERROR_SUCCESS) return "";
  if (type == REG_SZ) return std::string("REG_SZ ") + data;
  if (type == REG_DWORD) return "REG_DWORD " + std::to_string(*reinterpret_cast<DWORD*>(data));
  return "";
}

std::string lowerCase(std::string text) {
  CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// The files that Windows deletes at the next restart (MoveFileEx with
// MOVEFILE_DELAY_UNTIL_REBOOT and no new name), in lower case.
std::vector<std::string> deletedAtRestart() {
  std::vector<char> data(65536);
  DWORD size = static_cast<DWORD>(data.size()) - 2;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                   "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, data.data(),
                   &size) != ERROR_SUCCESS)
    return {};
  std::vector<std::string> deleted;
  // Pairs of names: the file, and its new name or an empty one.
  for (const char* name = data.data(); *name != '\0';) {
    const char* newName = name + std::strlen(name) + 1;
    std::string file = name;
    if (file.rfind("\\??\\", 0) == 0) file.erase(0, 4);
    if (*newName == '\0') deleted.push_back(lowerCase(file));
    name = newName + std::strlen(newName) + 1;
  }
  return deleted;
}

// Copies of the uninstaller in the folders of the temporary folder, in lower case.
std::vector<std::string> uninstallerCopies() {
  char temporary[MAX_PATH] = {};
  GetTempPathA(sizeof temporary, temporary);
  std::vector<std::string> copies;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((std::string(temporary) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return copies;
  do {
    const std::string copy = std::string(temporary) + found.cFileName + "\\uninstall.exe";
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && found.cFileName[0] != '.' &&
        fileExists(copy))
      copies.push_back(lowerCase(copy));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return copies;
}

// This user's Path as programs read it: its type and its bytes.
std::pair<DWORD, std::vector<BYTE>> userPath() {
  std::vector<BYTE> data(70000);
  DWORD type = REG_NONE, size = static_cast<DWORD>(data.size());
  if (RegGetValueW(HKEY_CURRENT_USER, L"Environment", L"Path", RRF_RT_ANY | RRF_NOEXPAND, &type,
                   data.data(), &size) != ERROR_SUCCESS)
    size = 0;
  data.resize(size);
  return {type, data};
}
std::vector<BYTE> bytesOf(const std::wstring& text) {
  const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  return std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
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

// What a shortcut starts and in which folder.
struct Shortcut {
  std::string target, folder;
  bool loaded = false;
};
Shortcut readShortcut(const std::string& path) {
  Shortcut shortcut;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                       reinterpret_cast<void**>(&link)) == S_OK) {
    IPersistFile* file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (file->Load(wideOf(path).c_str(), STGM_READ) == S_OK) {
      char text[MAX_PATH] = {};
      link->GetPath(text, sizeof text, nullptr, 0);
      shortcut.target = text;
      text[0] = '\0';
      link->GetWorkingDirectory(text, sizeof text);
      shortcut.folder = text;
      shortcut.loaded = true;
    }
    file->Release();
    link->Release();
  }
  CoUninitialize();
  return shortcut;
}

// Empties an installed file, so that whether an installation writes it again shows.
bool emptyFile(const std::string& path) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

DWORD kilobytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes);
  return (attributes.nFileSizeLow + 1023) / 1024;
}

// The sheet of a run that Explorer's command started on a file shows that file (the quotes of the
// command around it, if any, removed); Cancel ends the run.
void expectTheSheetShowsAndCancel(PROCESS_INFORMATION& corvane, const std::string& dvi) {
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  std::string shown = controlText(currentPage(sheet), IDC_DVI_FILE);
  if (shown.size() >= 2 && shown.front() == '"' && shown.back() == '"')
    shown = shown.substr(1, shown.size() - 2);
  EXPECT_EQ(shown, dvi);
  pressSheetButton(sheet, PSBTN_CANCEL);
  EXPECT_EQ(waitForExit(corvane), 0u);
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

  static const Before& firstBefore() {
    static const Before first = takeBefore();
    return first;
  }

  void SetUp() override {
    before = firstBefore();
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
  static DWORD runUninstall() {
    const std::string command = valueOf(UNINSTALL_KEY, "QuietUninstallString").substr(7);
    PROCESS_INFORMATION uninstaller = startCommandLine(command);
    return waitForExit(uninstaller);
  }
  // The command ends when Corvane is gone, the entry in Installed apps last; the uninstaller that
  // ran and its folder go a moment later.
  static void uninstall() {
    EXPECT_EQ(runUninstall(), 0u);
    EXPECT_FALSE(keyExists(UNINSTALL_KEY)) << "still installed";
    EXPECT_FALSE(fileExists(installFolder() + "corvane.exe"));
    EXPECT_TRUE(waitUntil([] { return !fileExists(installFolder()); }));
    // The uninstaller's copy may still be at work: the next test's setup must not race it.
    EXPECT_TRUE(waitUntil([] { return processIdOf("uninstall.exe") == 0; }));
  }

  Before before;
};

TEST_F(Installer, InstallsTheFilesTheShortcutsAndEveryKey) {
  const std::string folder = installFolder();
  const std::string release = buildFolder() + "release\\corvane-1.0\\";
  EXPECT_EQ(readFile(folder + "corvane.exe"), readFile(corvanePath()));
  EXPECT_EQ(readFile(folder + "corvane.com"), readFile(buildFolder() + "corvane.com"));
  EXPECT_EQ(readFile(folder + "corvane.chm"), readFile(buildFolder() + "corvane.chm"));
  EXPECT_EQ(readFile(folder + "README.txt"), readFile(release + "README.txt"));
  EXPECT_EQ(readFile(folder + "LICENSE.txt"), readFile(release + "LICENSE.txt"));
  EXPECT_NE(readFile(folder + "LICENSE.txt").find("Copyright (c) 2026 Tolmarek"),
            std::string::npos);
  EXPECT_TRUE(fileExists(folder + "uninstall.exe"));
  // Silently, the finish page's "Run Corvane" and "Show the read-me" start nothing.
  EXPECT_EQ(processIdOf("corvane.exe"), 0u);
  EXPECT_EQ(processIdOf("notepad.exe"), 0u);

  // The program starts in the user's Documents, so that a PostScript file written beside no DVI
  // file does not land in the program's hidden folder.
  const Shortcut program = readShortcut(shortcutPath());
  EXPECT_TRUE(program.loaded) << shortcutPath();
  EXPECT_EQ(program.target, folder + "corvane.exe");
  EXPECT_EQ(program.folder, documentsFolder());
  const Shortcut help = readShortcut(helpShortcutPath());
  EXPECT_TRUE(help.loaded) << helpShortcutPath();
  EXPECT_EQ(help.target, folder + "corvane.chm");

  const std::string exe = folder + "corvane.exe";
  const std::string command = "REG_SZ \"" + exe + "\" \"%1\"";
  const DWORD size = kilobytes(folder + "corvane.exe") + kilobytes(folder + "corvane.com") +
                     kilobytes(folder + "corvane.chm") + kilobytes(folder + "README.txt") +
                     kilobytes(folder + "LICENSE.txt");
  const std::string location = folder.substr(0, folder.size() - 1);
  struct Expected {
    const char* key;
    const char* name;
    std::string value;
  };
  const std::vector<Expected> expected = {
      {VERB_KEY, "", "REG_SZ Convert with Corvane"},
      {VERB_KEY, "Icon", "REG_SZ " + exe + ",0"},
      {INSTALLED_KEYS[4], "", command},
      {APPLICATION_KEY, "FriendlyAppName", "REG_SZ Corvane"},
      {INSTALLED_KEYS[7], ".dvi", "REG_SZ "},
      {INSTALLED_KEYS[8], "", command},
      {INSTALLED_KEYS[11], "", "REG_SZ "},
      {UNINSTALL_KEY, "DisplayName", "REG_SZ Corvane"},
      {UNINSTALL_KEY, "DisplayVersion", "REG_SZ 1.0"},
      {UNINSTALL_KEY, "Publisher", "REG_SZ Tolmarek"},
      {UNINSTALL_KEY, "DisplayIcon", "REG_SZ " + exe + ",0"},
      {UNINSTALL_KEY, "InstallLocation", "REG_SZ " + location},
      {UNINSTALL_KEY, "EstimatedSize", "REG_DWORD " + std::to_string(size)},
      {UNINSTALL_KEY, "UninstallString", "REG_SZ \"" + folder + "uninstall.exe\" _?=" + location},
      {UNINSTALL_KEY, "QuietUninstallString",
       "REG_SZ \"" + folder + "uninstall.exe\" /S _?=" + location},
      {UNINSTALL_KEY, "NoModify", "REG_DWORD 1"},
      {UNINSTALL_KEY, "NoRepair", "REG_DWORD 1"},
      {UNINSTALL_KEY, "PathEntry", "REG_SZ " + location},
      {INSTALLED_KEYS[13], "", "REG_SZ Make PDF with Corvane"},
      {INSTALLED_KEYS[13], "Icon", "REG_SZ " + exe + ",0"},
      {INSTALLED_KEYS[14], "", "REG_SZ \"" + exe + "\" /convert \"%1\" /pdf /open"},
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
  expectTheSheetShowsAndCancel(corvane, dvi);
}

TEST_F(Installer, UninstallLeavesNothingButTheSettings) {
  storeRecord(defaultRecord());
  const std::vector<std::uint8_t> settings = storedBytes();
  uninstall();
  EXPECT_TRUE(waitUntil([&] { return fileExists(programsFolder()) == before.programsFolder; }));
  EXPECT_FALSE(fileExists(shortcutPath()));
  EXPECT_FALSE(fileExists(helpShortcutPath()));
  for (std::size_t at = 0; at < INSTALLED_KEYS.size(); ++at)
    EXPECT_EQ(keyExists(INSTALLED_KEYS[at]), before.keys[at]) << INSTALLED_KEYS[at];
  EXPECT_EQ(storedBytes(), settings);
  clearStoredRecord();
  // Its copy in the temporary folder, which cannot remove itself, goes at the next restart.
  const std::vector<std::string> pending = deletedAtRestart();
  for (const std::string& copy : uninstallerCopies())
    EXPECT_NE(std::find(pending.begin(), pending.end(), copy), pending.end()) << copy;
  // For a user who may not ask that, the next setup removes them, once they have ended.
  ASSERT_TRUE(waitUntil([] { return processIdOf("uninstall.exe") == 0; }));
  EXPECT_FALSE(uninstallerCopies().empty());
  ASSERT_EQ(install(), 0u);
  EXPECT_TRUE(uninstallerCopies().empty());
}

// The help file held open, as the help viewer started from the Start menu holds it: silently,
// setup and uninstall change nothing and end with 32; once it is closed, both go through.
TEST_F(Installer, WhileTheHelpIsOpenSilentSetupAndUninstallFail) {
  const HANDLE help = CreateFileA((installFolder() + "corvane.chm").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(help, INVALID_HANDLE_VALUE);
  EXPECT_EQ(install(), 32u);
  EXPECT_EQ(runUninstall(), 32u);
  EXPECT_TRUE(keyExists(UNINSTALL_KEY));
  CloseHandle(help);
  EXPECT_EQ(install(), 0u);
}

// This user's Path with folders of its own, an empty entry among them: setup adds the folder at
// its end, and uninstalling takes away exactly that; with /NOPATH setup leaves it alone.
TEST_F(Installer, PathEntryIsAddedAndRemovedLeavingTheOtherFolders) {
  uninstall();
  const KeptRegistryValue kept(HKEY_CURRENT_USER, "Environment", "Path");
  const std::string path = "C:\\one;%SystemRoot%\\two;;C:\\three";
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Environment", "Path", REG_EXPAND_SZ, path.c_str(),
                            static_cast<DWORD>(path.size() + 1)),
            ERROR_SUCCESS);
  const auto userPath = [] {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    RegGetValueA(HKEY_CURRENT_USER, "Environment", "Path", RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                 nullptr, data, &size);
    return std::string(data);
  };
  ASSERT_EQ(install(), 0u);
  const std::string folder = installFolder();
  EXPECT_EQ(userPath(), path + ";" + folder.substr(0, folder.size() - 1));
  uninstall();
  EXPECT_EQ(userPath(), path);
  PROCESS_INFORMATION setup = startProgram(buildFolder() + "corvane-1.0-setup.exe", "/S /NOPATH");
  EXPECT_EQ(waitForExit(setup), 0u);
  EXPECT_EQ(userPath(), path);
}

TEST_F(Installer, InstallingAgainUpgradesInPlace) {
  const std::string program = installFolder() + "corvane.exe";
  ASSERT_TRUE(emptyFile(program));
  EXPECT_EQ(install(), 0u);
  EXPECT_EQ(readFile(program), readFile(corvanePath()));
  EXPECT_EQ(valueOf(UNINSTALL_KEY, "InstallLocation"),
            "REG_SZ " + installFolder().substr(0, installFolder().size() - 1));
}

// A Path longer than setup's own strings hold keeps its type and every byte, the folder between.
TEST_F(Installer, ALongPathKeepsItsTypeAndEveryByte) {
  uninstall();
  const KeptRegistryValue kept(HKEY_CURRENT_USER, "Environment", "Path");
  const std::wstring folder = wideOf(installFolder().substr(0, installFolder().size() - 1));
  for (const auto& [type, length] :
       {std::pair<DWORD, size_t>{REG_EXPAND_SZ, 1100}, {REG_SZ, 5000}}) {
    std::wstring path = L"%SystemRoot%\\system32";
    while (path.size() < length) path += L";C:\\Tools\\" + std::to_wstring(path.size());
    path.resize(length);
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Environment", L"Path", type, path.c_str(),
                    static_cast<DWORD>((length + 1) * sizeof(wchar_t)));
    ASSERT_EQ(install(), 0u);
    EXPECT_EQ(userPath(), std::make_pair(type, bytesOf(path + L";" + folder)));
    uninstall();
    EXPECT_EQ(userPath(), std::make_pair(type, bytesOf(path)));
  }
}

// A moment's hold on corvane.exe, as Explorer's reading its icon, is waited for: not Corvane open.
TEST_F(Installer, APassingHoldOnTheProgramIsWaitedFor) {
  for (const bool installing : {true, false}) {
    const HANDLE hold = CreateFileA((installFolder() + "corvane.exe").c_str(), GENERIC_READ,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    PROCESS_INFORMATION process =
        installing ? startProgram(buildFolder() + "corvane-1.0-setup.exe", "/S")
                   : startCommandLine(valueOf(UNINSTALL_KEY, "QuietUninstallString").substr(7));
    EXPECT_FALSE(waitUntil([&] { return hasExited(process); }, 2000));
    CloseHandle(hold);
    EXPECT_EQ(waitForExit(process), 0u) << installing;
  }
  EXPECT_TRUE(waitUntil([] { return !fileExists(installFolder()); }));
  EXPECT_TRUE(waitUntil([] { return processIdOf("uninstall.exe") == 0; }));
}

// Upgrading or uninstalling with Corvane open: silently, neither touches a file or a key and both
// end with 32; once Corvane has closed, both go through.
TEST_F(Installer, WhileCorvaneIsOpenSilentSetupAndUninstallChangeNothingAndFail) {
  const std::string readMe = installFolder() + "README.txt";
  ASSERT_TRUE(emptyFile(readMe));
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

// A version from before the mutex: a program that holds none, running from the installed
// corvane.exe. Silently, setup and uninstall find it by the file, change nothing and end with 32.
TEST_F(Installer, AnOlderVersionThatHoldsNoMutexIsFoundByItsFile) {
  const std::string program = installFolder() + "corvane.exe";
  const std::string older = buildFolder() + "bare_sheet.exe";
  ASSERT_TRUE(CopyFileA(older.c_str(), program.c_str(), FALSE));
  PROCESS_INFORMATION running = startProgram(program, "");
  const HWND sheet = waitForWindow(running.dwProcessId, "#32770", "Bare sheet");
  ASSERT_NE(sheet, nullptr);

  EXPECT_EQ(install(), 32u);
  EXPECT_EQ(readFile(program), readFile(older));
  EXPECT_EQ(runUninstall(), 32u);
  EXPECT_TRUE(keyExists(UNINSTALL_KEY));
  EXPECT_EQ(readFile(program), readFile(older));
  EXPECT_TRUE(fileExists(shortcutPath()));

  pressSheetButton(sheet, PSBTN_CANCEL);
  EXPECT_EQ(waitForExit(running), 0u);
  EXPECT_EQ(install(), 0u);
  EXPECT_EQ(readFile(program), readFile(corvanePath()));
}

// The installer as a user runs it: no installation beforehand, each page in turn.
class InstallerPages : public Installer {
 protected:
  void SetUp() override { before = firstBefore(); }

  // The setup's window with its page in it (the message box has the same caption).
  static HWND wizardOf(const PROCESS_INFORMATION& setup) {
    HWND found = nullptr;
    waitUntil([&] {
      found = findWindowOf(setup.dwProcessId, "#32770", "Corvane 1.0 Setup",
                           [](HWND window) { return pageOf(window) != nullptr; });
      return found != nullptr;
    });
    return found;
  }

  // Waits for the page whose Next button has the caption, and keeps a picture of the window.
  static bool showsPage(HWND wizard, const char* nextCaption, const std::string& picture) {
    if (!waitUntil([&] { return controlText(wizard, IDOK) == nextCaption; })) {
      ADD_FAILURE() << "no page with \"" << nextCaption << "\", but \"" << controlText(wizard, IDOK)
                    << "\"";
      return false;
    }
    const std::string path = screenshotFolder("installer") + picture + ".bmp";
    DeleteFileA(path.c_str());
    EXPECT_TRUE(saveWindowImage(wizard, path)) << path;
    EXPECT_GT(colourCount(path), 8u) << path;
    return true;
  }

  // Every text that the page and its controls show, one after another.
  static std::string pageTexts(HWND wizard) {
    std::string texts;
    for (const HWND control : descendants(pageOf(wizard))) texts += windowText(control) + "\n";
    return texts;
  }

  // The page is the dialog inside the setup's window.
  static HWND pageOf(HWND wizard) {
    for (HWND child = GetWindow(wizard, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      char name[16] = "";
      GetClassNameA(child, name, sizeof name);
      if (std::strcmp(name, "#32770") == 0 && IsWindowVisible(child)) return child;
    }
    return nullptr;
  }

  static HWND checkBox(HWND wizard, const char* caption) {
    for (const HWND control : descendants(pageOf(wizard)))
      if (windowText(control) == caption) return control;
    return nullptr;
  }

  static BOOL CALLBACK collect(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
  }
  static std::vector<HWND> descendants(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&found));
    return found;
  }

  void TearDown() override {
    for (PROCESS_INFORMATION* process : {&setup, &corvane})
      if (!hasExited(*process)) waitForExit(*process, 1);
    Installer::TearDown();
  }

  PROCESS_INFORMATION setup = {}, corvane = {};
  static constexpr int BRANDING_ID = 1028;  // the text at the foot of the window
};

// Corvane open: the setup asks to close it, and Retry goes on once it has closed. Then the pages
// at 96 DPI, pictured in screenshots\installer\: welcome (Corvane 1.0, Tolmarek), licence, folder
// and finish, whose "Run Corvane" starts the program in the user's Documents.
TEST_F(InstallerPages, AskToCloseCorvaneThenEachPageAndFinishRunsCorvaneInDocuments) {
  HKEY desktop = nullptr;
  DWORD dpi = 96, size = sizeof dpi;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &desktop) ==
      ERROR_SUCCESS) {
    RegQueryValueExA(desktop, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&dpi), &size);
    RegCloseKey(desktop);
  }
  ASSERT_EQ(dpi, 96u);
  Options record = fakeConverterRecord();
  record.useDviDirectory = 0;
  storeRecord(record);
  const std::string log = newConverterLog("finish page");

  corvane = startCorvane();
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  setup = startProgram(buildFolder() + "corvane-1.0-setup.exe", "");
  const HWND box = waitForWindow(setup.dwProcessId, "#32770", "Corvane 1.0 Setup");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(messageBoxText(box).rfind("Corvane is open.", 0), 0u) << messageBoxText(box);
  EXPECT_NE(GetDlgItem(box, IDRETRY), nullptr);
  EXPECT_NE(GetDlgItem(box, IDCANCEL), nullptr);
  const std::string boxPicture = screenshotFolder("installer") + "0-corvane-is-open.bmp";
  EXPECT_TRUE(saveWindowImage(box, boxPicture));
  pressSheetButton(sheet, PSBTN_CANCEL);
  EXPECT_EQ(waitForExit(corvane), 0u);
  postCommand(box, IDRETRY);

  const HWND wizard = wizardOf(setup);
  ASSERT_NE(wizard, nullptr);
  EXPECT_EQ(controlText(wizard, BRANDING_ID).rfind("Corvane 1.0", 0), 0u);
  ASSERT_TRUE(showsPage(wizard, "&Next >", "1-welcome"));
  const std::string welcome = pageTexts(wizard);
  EXPECT_NE(welcome.find("Corvane 1.0"), std::string::npos) << welcome;
  EXPECT_NE(welcome.find("Tolmarek"), std::string::npos) << welcome;
  postClick(wizard, IDOK);
  ASSERT_TRUE(showsPage(wizard, "I &Agree", "2-licence"));
  const std::string licence = pageTexts(wizard);
  EXPECT_NE(licence.find("Copyright (c) 2026 Tolmarek"), std::string::npos) << licence;
  postClick(wizard, IDOK);
  ASSERT_TRUE(showsPage(wizard, "&Next >", "3-components"));
  postClick(wizard, IDOK);
  ASSERT_TRUE(showsPage(wizard, "&Install", "4-folder"));
  postClick(wizard, IDOK);
  ASSERT_TRUE(showsPage(wizard, "&Finish", "5-finish"));
  const HWND run = checkBox(wizard, "Run Corvane");
  const HWND readMe = checkBox(wizard, "Show the read-me");
  ASSERT_NE(run, nullptr);
  ASSERT_NE(readMe, nullptr);
  EXPECT_EQ(SendMessageA(run, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(readMe, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(readMe, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(readMe, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  postClick(wizard, IDOK);
  EXPECT_EQ(waitForExit(setup), 0u);
  EXPECT_TRUE(fileExists(installFolder() + "corvane.exe"));

  DWORD started = 0;
  ASSERT_TRUE(waitUntil([&] { return (started = processIdOf("corvane.exe")) != 0; }));
  corvane = openProcess(started);
  const HWND startedSheet = waitForSheet(corvane);
  ASSERT_NE(startedSheet, nullptr);
  pressSheetButton(startedSheet, PSBTN_OK);
  EXPECT_EQ(waitForExit(corvane), 0u);
  const ConverterRecord received = waitForConverterRecord(log);
  ASSERT_TRUE(received.found);
  EXPECT_EQ(received.directory, documentsFolder());
  EXPECT_EQ(processIdOf("notepad.exe"), 0u);
  clearStoredRecord();
}

// Corvane started from the installation while the licence page is open: Install asks to close it
// and Cancel leaves the installed program as it was.
TEST_F(InstallerPages, CorvaneStartedWhileAPageIsOpenIsFoundWhenInstallIsPressed) {
  ASSERT_EQ(install(), 0u);
  const std::string program = installFolder() + "corvane.exe";
  // An older version: the same program with a few bytes more at its end.
  const std::string older = readFile(corvanePath()) + "older";
  {
    const HANDLE file =
        CreateFileA(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, older.data(), static_cast<DWORD>(older.size()), &written, nullptr);
    CloseHandle(file);
  }
  ASSERT_EQ(readFile(program), older);

  setup = startProgram(buildFolder() + "corvane-1.0-setup.exe", "");
  const HWND wizard = wizardOf(setup);
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(waitUntil([&] { return controlText(wizard, IDOK) == "&Next >"; }));
  postClick(wizard, IDOK);
  ASSERT_TRUE(waitUntil([&] { return controlText(wizard, IDOK) == "I &Agree"; }));
  corvane = startProgram(program, "");
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  postClick(wizard, IDOK);
  ASSERT_TRUE(waitUntil([&] { return controlText(wizard, IDOK) == "&Next >"; }));
  postClick(wizard, IDOK);
  ASSERT_TRUE(waitUntil([&] { return controlText(wizard, IDOK) == "&Install"; }));
  postClick(wizard, IDOK);

  HWND box = nullptr;
  ASSERT_TRUE(waitUntil([&] {
    box = findWindowOf(setup.dwProcessId, "#32770", "Corvane 1.0 Setup",
                       [](HWND window) { return GetDlgItem(window, IDRETRY) != nullptr; });
    return box != nullptr;
  }));
  EXPECT_EQ(messageBoxText(box).rfind("Corvane is open.", 0), 0u) << messageBoxText(box);
  EXPECT_NE(GetDlgItem(box, IDRETRY), nullptr);
  EXPECT_NE(GetDlgItem(box, IDCANCEL), nullptr);
  EXPECT_EQ(readFile(program), older);
  postCommand(box, IDCANCEL);
  EXPECT_EQ(waitForExit(setup), 32u);
  EXPECT_EQ(readFile(program), older);
  pressSheetButton(sheet, PSBTN_CANCEL);
  EXPECT_EQ(waitForExit(corvane), 0u);
}

// Corvane started while the uninstaller asks to confirm: Uninstall asks to close it, and Cancel
// ends the command of Installed apps with 32, nothing removed.
TEST_F(InstallerPages, CorvaneStartedWhileTheUninstallerAsksIsFoundWhenUninstallIsPressed) {
  ASSERT_EQ(install(), 0u);
  setup = startCommandLine(valueOf(UNINSTALL_KEY, "UninstallString").substr(7));
  ASSERT_NE(setup.hProcess, nullptr);
  // The windows are its copy's, in the temporary folder (their caption ends in a blank).
  DWORD copy = 0;
  ASSERT_TRUE(
      waitUntil([&] { return (copy = processIdOf("uninstall.exe", setup.dwProcessId)) != 0; }));
  HWND wizard = nullptr;
  ASSERT_TRUE(waitUntil([&] {
    wizard = findWindowOf(copy, "#32770", nullptr,
                          [](HWND window) { return pageOf(window) != nullptr; });
    return wizard != nullptr && controlText(wizard, IDOK) == "&Uninstall";
  }));
  corvane = startProgram(installFolder() + "corvane.exe", "");
  const HWND sheet = waitForSheet(corvane);
  ASSERT_NE(sheet, nullptr);
  postClick(wizard, IDOK);

  HWND box = nullptr;
  ASSERT_TRUE(waitUntil([&] {
    box = findWindowOf(copy, "#32770", nullptr,
                       [](HWND window) { return GetDlgItem(window, IDRETRY) != nullptr; });
    return box != nullptr;
  }));
  EXPECT_EQ(messageBoxText(box).rfind("Corvane is open.", 0), 0u) << messageBoxText(box);
  EXPECT_NE(GetDlgItem(box, IDRETRY), nullptr);
  EXPECT_NE(GetDlgItem(box, IDCANCEL), nullptr);
  postCommand(box, IDCANCEL);
  EXPECT_EQ(waitForExit(setup), 32u);
  EXPECT_TRUE(fileExists(installFolder() + "corvane.chm"));
  EXPECT_TRUE(fileExists(shortcutPath()));
  EXPECT_TRUE(keyExists(UNINSTALL_KEY));
  pressSheetButton(sheet, PSBTN_CANCEL);
  EXPECT_EQ(waitForExit(corvane), 0u);
}

// 32-bit Corvane on 64-bit Windows, as every Windows 10 and 11 user has it.
class Win64Installer : public Installer {
 protected:
  void SetUp() override {
    if (!onWindows64()) GTEST_SKIP() << "needs a 64-bit prefix (WINEARCH=win64)";
    Installer::SetUp();
  }
};

// The 32-bit setup writes where 64-bit Explorer and Settings read: every key with the same values
// in the 64-bit view of the registry, none redirected under Wow6432Node; uninstalling removes
// them there too.
TEST_F(Win64Installer, KeysLieWhere64BitExplorerAndSettingsReadThem) {
  for (const char* key : INSTALLED_KEYS) {
    EXPECT_TRUE(keyExists(key, KEY_WOW64_64KEY)) << key;
    EXPECT_EQ(valueCount(key, KEY_WOW64_64KEY), valueCount(key)) << key;
  }
  for (const char* name : {"DisplayName", "DisplayIcon", "QuietUninstallString"}) {
    EXPECT_NE(valueOf(UNINSTALL_KEY, name), "") << name;
    EXPECT_EQ(valueOf(UNINSTALL_KEY, name, KEY_WOW64_64KEY), valueOf(UNINSTALL_KEY, name)) << name;
  }
  EXPECT_EQ(valueOf(INSTALLED_KEYS[4], "", KEY_WOW64_64KEY), valueOf(INSTALLED_KEYS[4], ""));
  EXPECT_FALSE(
      keyExists("Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane",
                KEY_WOW64_64KEY));
  EXPECT_FALSE(
      keyExists("Software\\Classes\\Wow6432Node\\Applications\\corvane.exe", KEY_WOW64_64KEY));
  uninstall();
  for (std::size_t at = 0; at < INSTALLED_KEYS.size(); ++at)
    EXPECT_EQ(keyExists(INSTALLED_KEYS[at], KEY_WOW64_64KEY), before.keys[at])
        << INSTALLED_KEYS[at];
}

// 64-bit Explorer starts the 32-bit program: the command, read from the 64-bit view and started by
// a 64-bit process, opens the sheet with the file.
TEST_F(Win64Installer, ExplorerCommandStartedByA64BitProcessOpensTheSheetWithTheFile) {
  const std::string dvi = scratchFolder("explorer command 64") + "first draft.dvi";
  createEmptyFile(dvi);
  std::string command = valueOf(INSTALLED_KEYS[4], "", KEY_WOW64_64KEY).substr(7);
  command.replace(command.find("%1"), 2, dvi);
  PROCESS_INFORMATION shell =
      startProgram(nativeSystemFolder() + "cmd.exe", "/c \"" + command + "\"");
  ASSERT_NE(shell.hProcess, nullptr);
  DWORD started = 0;
  ASSERT_TRUE(waitUntil([&] {
    return (started = processIdOf("corvane.exe", shell.dwProcessId)) != 0;
  })) << command;
  PROCESS_INFORMATION corvane = openProcess(started);
  expectTheSheetShowsAndCancel(corvane, dvi);
  waitForExit(shell);
}

}  // namespace
