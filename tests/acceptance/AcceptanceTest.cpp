// End to end under Wine: a real NSIS installer, a real Windows Installer package and the fake
// uninstaller install into the test prefix; their Uninstall entries are read and resolved the
// way the program does it, then their own uninstallers remove them again. The installers are
// other processes, so these tests use the prefix's real HKEY_LOCAL_MACHINE and clean up after
// themselves, also after an interrupted earlier run.
#include "Link.h"
#include "Registry.h"
#include "ScratchRegistry.h"
#include "SplitCmd.h"
#include "TestPaths.h"
#include "Win/Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using TProcessHandle = TUniqueHandle<TKernelHandleTraits>;

constexpr DWORD kProcessTimeoutMs = 120000;
constexpr DWORD kRemovalTimeoutMs = 60000;
constexpr DWORD kPollIntervalMs = 100;
constexpr DWORD kNoExitCode = 0xFFFFFFFF;

const std::string kNsisEntry = "TarnwickSampleNSIS";
const std::string kNsisFolder = "C:\\Program Files\\Tarnwick Sample NSIS";
const std::string kNsisUninstaller = kNsisFolder + "\\uninstall.exe";

const std::string kMsiProductCode = "{9BF6FB89-A106-48D0-BEAF-D74B4E9E3E01}";
const std::string kMsiFolder = "C:\\Program Files\\Tarnwick Sample MSI";

const std::string kFakeEntry = "TarnwickFakeApp";
const std::string kFakeFolder = "C:\\Program Files\\Tarnwick Fake App";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Runs `commandLine` and waits at most kProcessTimeoutMs for its end; a program that takes
// longer is ended. Returns its exit code, or kNoExitCode when it did not start or finish.
DWORD RunAndWait(const std::string& commandLine) {
    std::string buffer = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        ADD_FAILURE() << "Cannot start " << commandLine << " (error " << GetLastError() << ")";
        return kNoExitCode;
    }
    const TProcessHandle process(started.hProcess);
    const TProcessHandle thread(started.hThread);
    if (WaitForSingleObject(process.Get(), kProcessTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.Get(), kNoExitCode);
        ADD_FAILURE() << commandLine << " did not finish within " << kProcessTimeoutMs << " ms";
        return kNoExitCode;
    }
    DWORD exitCode = kNoExitCode;
    GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
}

// Polls `condition` until it holds, at most kRemovalTimeoutMs; true when it held.
template <class Condition>
bool WaitFor(Condition condition) {
    const ULONGLONG deadline = GetTickCount64() + kRemovalTimeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(kPollIntervalMs);
    }
    return true;
}

std::string EntryKeyPath(const std::string& entry) { return std::string(UninstallKeyPath) + "\\" + entry; }

bool EntryExists(const std::string& entry) {
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE);
    return registry.OpenRegistryKey(EntryKeyPath(entry), false);
}

// Reads the string values of an entry the way the details list does.
std::string ReadEntryString(const std::string& entry, const std::string& name) {
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(registry.OpenRegistryKey(EntryKeyPath(entry), false)) << entry;
    return registry.ReadStringValue(name);
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool EntryAndFolderGone(const std::string& entry, const std::string& folder) {
    return !EntryExists(entry) && !PathExists(folder);
}

// Deletes `folder` with everything in it, as far as it can.
void DeleteFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const TFindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (search) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteFolderTree(folder + "\\" + name);
            else
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(search.Get(), &found));
    }
    RemoveDirectoryA(folder.c_str());
}

// Removes what a failed or interrupted run may have left: the entry's key and the folder.
void RemoveLeftovers(const std::string& entry, const std::string& folder) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, EntryKeyPath(entry).c_str());
    DeleteFolderTree(folder);
}

// The program and parameters that the program would show and run for a command line.
std::pair<std::string, std::string> Resolve(const std::string& line) {
    std::pair<std::string, std::string> command;
    SplitCommandLine(line, command.first, command.second);
    return command;
}

std::string SystemFolder() {
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

class SampleNsisInstallerTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveLeftovers(kNsisEntry, kNsisFolder); }
    void TearDown() override {
        RemoveLeftovers(kNsisEntry, kNsisFolder);
        RemoveEmptyUninstallerFolders();
    }

    // The uninstaller runs from a "~nsu*.tmp" folder in the temp folder and leaves it empty.
    static void RemoveEmptyUninstallerFolders() {
        char temp[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, temp);
        WIN32_FIND_DATAA found;
        const TFindHandle search(FindFirstFileA((std::string(temp) + "~nsu*.tmp").c_str(), &found));
        if (!search) return;
        do {
            RemoveDirectoryA((std::string(temp) + found.cFileName).c_str());
        } while (FindNextFileA(search.Get(), &found));
    }
};

TEST_F(SampleNsisInstallerTest, InstallsAResolvableEntryAndItsUninstallerRemovesIt) {
    ASSERT_EQ(0u, RunAndWait(Quoted(kSampleNsisSetupPath) + " /S"));
    ASSERT_TRUE(EntryExists(kNsisEntry));
    EXPECT_TRUE(PathExists(kNsisFolder + "\\SampleApp.exe"));

    EXPECT_EQ("Tarnwick Sample NSIS", ReadEntryString(kNsisEntry, "DisplayName"));
    const std::string uninstall = ReadEntryString(kNsisEntry, "UninstallString");
    EXPECT_EQ(Quoted(kNsisUninstaller), uninstall);
    EXPECT_THROW(ReadEntryString(kNsisEntry, "EstimatedSize"), ERegistryException);

    const auto [program, params] = Resolve(uninstall);
    EXPECT_EQ(kNsisUninstaller, program);
    EXPECT_EQ("", params);
    EXPECT_EQ(lsExistingLink, ProgramLinkState(program));
    const auto [quietProgram, quietParams] = Resolve(ReadEntryString(kNsisEntry, "QuietUninstallString"));
    EXPECT_EQ(kNsisUninstaller, quietProgram);
    EXPECT_EQ("/S", quietParams);

    // The uninstaller hands over to a copy of itself in the temp folder and returns at once.
    EXPECT_EQ(0u, RunAndWait(Quoted(quietProgram) + " " + quietParams));
    EXPECT_TRUE(WaitFor([] { return EntryAndFolderGone(kNsisEntry, kNsisFolder); }));
    EXPECT_EQ(lsInvalidLink, ProgramLinkState(program));
}

class SampleMsiPackageTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveProduct(); }
    void TearDown() override { RemoveProduct(); }

    // Windows Installer keeps its own record of the product, so it has to uninstall it itself.
    static void RemoveProduct() {
        RunAndWait("msiexec /x " + kMsiProductCode + " /qn");
        RemoveLeftovers(kMsiProductCode, kMsiFolder);
    }
};

TEST_F(SampleMsiPackageTest, WindowsInstallerRegistersAResolvableEntryAndRemovesIt) {
    ASSERT_EQ(0u, RunAndWait("msiexec /i " + Quoted(kSampleMsiPath) + " /qn"));
    ASSERT_TRUE(EntryExists(kMsiProductCode));
    EXPECT_TRUE(PathExists(kMsiFolder + "\\SampleApp.exe"));

    EXPECT_EQ("Tarnwick Sample MSI", ReadEntryString(kMsiProductCode, "DisplayName"));
    const std::string uninstall = ReadEntryString(kMsiProductCode, "UninstallString");
    EXPECT_EQ("MsiExec.exe /X" + kMsiProductCode, uninstall);

    // The bare program name is found in the system folder.
    const auto [program, params] = Resolve(uninstall);
    EXPECT_STRCASEEQ((SystemFolder() + "\\msiexec.exe").c_str(), program.c_str());
    EXPECT_EQ("/X" + kMsiProductCode, params);
    EXPECT_EQ(lsExistingLink, ProgramLinkState(program));

    // The entry's own command, made quiet for the test.
    EXPECT_EQ(0u, RunAndWait(Quoted(program) + " " + params + " /qn"));
    EXPECT_TRUE(WaitFor([] { return EntryAndFolderGone(kMsiProductCode, kMsiFolder); }));
}

// Puts a copy of the fake uninstaller ("uninst.exe") and a small program into `folder`; returns
// the uninstaller's path.
std::string ArrangeFakeInstall(const std::string& folder) {
    const std::string uninstaller = folder + "\\uninst.exe";
    EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    EXPECT_TRUE(CreateDirectoryA((folder + "\\Data").c_str(), nullptr));
    EXPECT_TRUE(CopyFileA(kFakeUninstallerPath, uninstaller.c_str(), FALSE)) << kFakeUninstallerPath;
    EXPECT_TRUE(CopyFileA(kSampleAppPath, (folder + "\\Data\\SampleApp.exe").c_str(), FALSE)) << kSampleAppPath;
    return uninstaller;
}

// Writes an entry into the machine's real Uninstall key.
void WriteMachineEntry(const std::string& entry, const std::vector<std::pair<std::string, std::string>>& values) {
    TKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, EntryKeyPath(entry).c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr));
    for (const auto& [name, value] : values)
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                                                reinterpret_cast<const BYTE*>(value.c_str()),
                                                static_cast<DWORD>(value.size() + 1)));
}

class FakeUninstallerTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveLeftovers(kFakeEntry, kFakeFolder); }
    void TearDown() override { RemoveLeftovers(kFakeEntry, kFakeFolder); }
};

TEST_F(FakeUninstallerTest, RemovesItsMachineEntryAndInstallFolder) {
    const std::string uninstaller = ArrangeFakeInstall(kFakeFolder);
    WriteMachineEntry(kFakeEntry, {{"DisplayName", "Tarnwick Fake App"},
                                   {"UninstallString", Quoted(uninstaller) + " " + kFakeEntry},
                                   {"InstallLocation", kFakeFolder}});

    const auto [program, params] = Resolve(ReadEntryString(kFakeEntry, "UninstallString"));
    EXPECT_EQ(uninstaller, program);
    EXPECT_EQ(kFakeEntry, params);
    EXPECT_EQ(lsExistingLink, ProgramLinkState(program));

    EXPECT_EQ(0u, RunAndWait(Quoted(program) + " " + params));
    EXPECT_TRUE(WaitFor([] { return EntryAndFolderGone(kFakeEntry, kFakeFolder); }));
}

TEST_F(FakeUninstallerTest, LeavesEverythingWhenTheEntryNamesAnotherFolder) {
    const std::string uninstaller = ArrangeFakeInstall(kFakeFolder);
    WriteMachineEntry(kFakeEntry, {{"DisplayName", "Tarnwick Fake App"},
                                   {"UninstallString", Quoted(uninstaller) + " " + kFakeEntry},
                                   {"InstallLocation", "C:\\Program Files"}});

    EXPECT_EQ(2u, RunAndWait(Quoted(uninstaller) + " " + kFakeEntry));
    EXPECT_TRUE(EntryExists(kFakeEntry));
    EXPECT_TRUE(PathExists(kFakeFolder + "\\Data\\SampleApp.exe"));
}

// How unit tests use it: the entry sits in the scratch registry, named on the command line.
class FakeUninstallerScratchTest : public ScratchRegistryTest {
protected:
    void SetUp() override {
        ScratchRegistryTest::SetUp();
        DeleteFolderTree(kFakeFolder);
    }
    void TearDown() override {
        DeleteFolderTree(kFakeFolder);
        ScratchRegistryTest::TearDown();
    }
};

TEST_F(FakeUninstallerScratchTest, RemovesAnEntryOfTheScratchRegistry) {
    const std::string uninstaller = ArrangeFakeInstall(kFakeFolder);
    const std::string command = Quoted(uninstaller) + " " + kFakeEntry + " " + kScratchMachinePath;
    CreateEntry(kFakeEntry, {{"DisplayName", "Tarnwick Fake App"},
                             {"UninstallString", command},
                             {"InstallLocation", kFakeFolder}});

    const auto [program, params] = Resolve(command);
    EXPECT_EQ(uninstaller, program);
    EXPECT_EQ(0u, RunAndWait(Quoted(program) + " " + params));
    EXPECT_TRUE(WaitFor([] { return !KeyExists(EntryPath(kFakeEntry)) && !PathExists(kFakeFolder); }));
}

}  // namespace
