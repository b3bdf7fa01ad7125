// Running the sample installers and removing every trace of them from the test prefix.
#include "Installations.h"

#include "TestPaths.h"
#include "FolderTree.h"
#include "Base/Handles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using TProcessHandle = TUniqueHandle<TKernelHandleTraits<&CloseHandle>>;

constexpr DWORD kProcessTimeoutMs = 120000;
// An uninstaller's temp copy may still be ending when its entry and folder are gone.
constexpr DWORD kTempCopyTimeoutMs = 10000;

std::string TempFolder() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

// The files and folders in the temp folder whose names match `pattern`.
std::vector<std::string> TempMatches(const char* pattern) {
    std::vector<std::string> paths;
    WIN32_FIND_DATAA found;
    const TFindHandle search(FindFirstFileA((TempFolder() + pattern).c_str(), &found));
    if (!search) return paths;
    do {
        paths.push_back(TempFolder() + found.cFileName);
    } while (FindNextFileA(search.Get(), &found));
    return paths;
}

}  // namespace

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

std::string UserNsisFolder() {
    char folder[MAX_PATH] = "";
    GetEnvironmentVariableA("LOCALAPPDATA", folder, MAX_PATH);
    return std::string(folder) + "\\Programs\\Tarnwick Sample User NSIS";
}

bool EntryExists(const std::string& entry, const TEntryLocation& location) {
    TRegistry registry;
    registry.ChooseRoot(location.root, location.view);
    return registry.OpenRegistryKey(EntryKeyPath(entry), false);
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool EntryAndFolderGone(const std::string& entry, const std::string& folder, const TEntryLocation& location) {
    return !EntryExists(entry, location) && !PathExists(folder);
}

void RemoveLeftovers(const std::string& entry, const std::string& folder, const TEntryLocation& location) {
    TKeyHandle uninstall;
    if (RegOpenKeyExA(location.root, UninstallKeyPath, 0, KEY_ALL_ACCESS | location.view, uninstall.Receive()) ==
        ERROR_SUCCESS)
        RegDeleteTreeA(uninstall.Get(), entry.c_str());
    DeleteFolderTree(folder);
}

bool InstallSampleNsis() { return RunAndWait(Quoted(kSampleNsisSetupPath) + " /S") == 0 && EntryExists(kNsisEntry); }

bool InstallSampleMsi() {
    return RunAndWait("msiexec /i " + Quoted(kSampleMsiPath) + " /qn") == 0 && EntryExists(kMsiProductCode);
}

bool InstallSampleUserNsis() {
    return RunAndWait(Quoted(kSampleUserNsisSetupPath) + " /S") == 0 && EntryExists(kUserNsisEntry, kUserLocation);
}

bool InstallSampleMsi32() {
    return RunAndWait("msiexec /i " + Quoted(kSampleMsi32Path) + " /qn") == 0 &&
           EntryExists(kMsi32ProductCode, kMachine32Location);
}

bool RemoveTempLeftovers(const char* pattern) {
    return WaitFor(
        [pattern] {
            for (const std::string& path : TempMatches(pattern))
                if (!DeleteFileA(path.c_str())) DeleteFolderTree(path);
            return TempMatches(pattern).empty();
        },
        kTempCopyTimeoutMs);
}

void TSampleNsisGuard::Remove() {
    if (perUser_)
        RemoveLeftovers(kUserNsisEntry, UserNsisFolder(), kUserLocation);
    else
        RemoveLeftovers(kNsisEntry, kNsisFolder);
    // NSIS uninstallers run from a copy in a "~nsu*.tmp" folder, left behind empty.
    EXPECT_TRUE(RemoveTempLeftovers("~nsu*.tmp")) << "an NSIS uninstaller's temp folder stays";
}

void TSampleMsiGuard::Remove() {
    const std::string& productCode = package32_ ? kMsi32ProductCode : kMsiProductCode;
    RunAndWait("msiexec /x " + productCode + " /qn");
    if (package32_)
        RemoveLeftovers(kMsi32ProductCode, kMsi32Folder, kMachine32Location);
    else
        RemoveLeftovers(kMsiProductCode, kMsiFolder);
}
