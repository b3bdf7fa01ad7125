// End to end under Wine: a real NSIS installer, a real Windows Installer package and the fake
// uninstaller install into the test prefix; their Uninstall entries are read and resolved the
// way the program does it, then their own uninstallers remove them again. The installers are
// other processes, so these tests use the prefix's real HKEY_LOCAL_MACHINE and clean up after
// themselves, also after an interrupted earlier run.
#include "Installations.h"
#include "Entries/Link.h"
#include "Entries/Registry.h"
#include "ScratchRegistry.h"
#include "Entries/SplitCmd.h"
#include "TestPaths.h"
#include "Base/Handles.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kFakeEntry = "TarnwickFakeApp";
const std::string kFakeFolder = "C:\\Program Files\\Tarnwick Fake App";
// The fake uninstaller runs from a copy in the temp folder, which it leaves for the next reboot.
constexpr const char* kFakeTempCopies = "twk-fake-uninstaller-*.exe";

// Reads the string values of an entry the way the details list does.
std::string ReadEntryString(const std::string& entry, const std::string& name) {
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(registry.OpenRegistryKey(EntryKeyPath(entry), false)) << entry;
    return registry.ReadStringValue(name);
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
    TSampleNsisGuard sample_;
};

TEST_F(SampleNsisInstallerTest, InstallsAResolvableEntryAndItsUninstallerRemovesIt) {
    ASSERT_TRUE(InstallSampleNsis());
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
    TSampleMsiGuard sample_;
};

TEST_F(SampleMsiPackageTest, WindowsInstallerRegistersAResolvableEntryAndRemovesIt) {
    ASSERT_TRUE(InstallSampleMsi());
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
    void TearDown() override {
        RemoveLeftovers(kFakeEntry, kFakeFolder);
        EXPECT_TRUE(RemoveTempLeftovers(kFakeTempCopies));
    }
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
        EXPECT_TRUE(RemoveTempLeftovers(kFakeTempCopies));
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
