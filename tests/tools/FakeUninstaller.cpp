// A small uninstaller for the tests. Run from an install folder as
//   uninst.exe <EntryKeyName> [<MachineRoot>]
// it deletes the entry's key from the Uninstall key and the whole install folder, itself
// included, but only when the entry's InstallLocation names the folder it runs from. The
// Uninstall key is HKEY_LOCAL_MACHINE's, or with <MachineRoot> the one below
// HKEY_CURRENT_USER\<MachineRoot>, where the tests' scratch registry stands in for the machine.
// It cannot delete its own running file, so, like everyday uninstallers, it copies itself to the
// temp folder, starts the copy and returns at once; the copy waits for it to end, does the work
// and marks itself for deletion at the next system start. Callers poll for the result.
#include "FolderTree.h"
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* kUninstallKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kCleanupSwitch = "/cleanup";
constexpr DWORD kParentWaitMs = 30000;
constexpr int kDone = 0, kIncomplete = 1, kRefused = 2;

// Where the entry lives: its key name and the key that stands for HKEY_LOCAL_MACHINE.
struct TEntry {
    std::string name;
    std::string machineRoot;  // empty: the real HKEY_LOCAL_MACHINE

    HKEY Root() const { return machineRoot.empty() ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
    std::string KeyPath() const {
        return (machineRoot.empty() ? "" : machineRoot + "\\") + kUninstallKeyPath + "\\" + name;
    }
};

// An entry whose key cannot reach outside itself: an empty name would empty the whole
// Uninstall key.
bool ParseEntry(int count, char** args, TEntry& entry) {
    if (count < 1 || count > 2) return false;
    entry.name = args[0];
    entry.machineRoot = count == 2 ? args[1] : "";
    return !entry.name.empty() && entry.name.find('\\') == std::string::npos &&
           (count == 1 || !entry.machineRoot.empty());
}

std::string ModulePath() {
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length < MAX_PATH ? std::string(path, length) : std::string();
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The entry's InstallLocation string, or empty.
std::string InstallLocationOf(const TEntry& entry) {
    char location[MAX_PATH] = "";
    DWORD size = sizeof(location);
    if (RegGetValueA(entry.Root(), entry.KeyPath().c_str(), "InstallLocation", RRF_RT_REG_SZ, nullptr, location,
                     &size) != ERROR_SUCCESS)
        return std::string();
    return location;
}

// First run, from the install folder: checks the entry and hands the work to a copy of this
// program in the temp folder.
int StartCleanupCopy(const TEntry& entry) {
    const std::string self = ModulePath();
    const std::string folder = FolderOf(self);
    if (folder.empty() || lstrcmpiA(InstallLocationOf(entry).c_str(), folder.c_str()) != 0) return kRefused;
    char tempFolder[MAX_PATH] = "";
    if (GetTempPathA(MAX_PATH, tempFolder) == 0) return kIncomplete;
    const std::string copy =
        std::string(tempFolder) + "twk-fake-uninstaller-" + std::to_string(GetCurrentProcessId()) + ".exe";
    if (!CopyFileA(self.c_str(), copy.c_str(), FALSE)) return kIncomplete;

    // The copy inherits a handle to this process, to wait for its end.
    HANDLE selfProcess = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &selfProcess, SYNCHRONIZE,
                         TRUE, 0))
        return kIncomplete;
    std::string command = Quoted(copy) + " " + kCleanupSwitch + " " +
                          std::to_string(reinterpret_cast<std::uintptr_t>(selfProcess)) + " " + Quoted(folder) + " " +
                          Quoted(entry.name);
    if (!entry.machineRoot.empty()) command.append(" ").append(Quoted(entry.machineRoot));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(copy.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, tempFolder,
                                        &startup, &process);
    CloseHandle(selfProcess);
    if (!started) return kIncomplete;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return kDone;
}

// Second run, from the temp folder: waits for the first run to end, then removes the entry and
// the install folder.
int Cleanup(const char* parentHandle, const std::string& folder, const TEntry& entry) {
    const auto parent = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::strtoull(parentHandle, nullptr, 10)));
    WaitForSingleObject(parent, kParentWaitMs);
    CloseHandle(parent);

    const bool keyDeleted = RegDeleteTreeA(entry.Root(), entry.KeyPath().c_str()) == ERROR_SUCCESS;
    const bool folderDeleted = DeleteFolderTree(folder);
    MoveFileExA(ModulePath().c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return keyDeleted && folderDeleted ? kDone : kIncomplete;
}

}  // namespace

int main(int argc, char** argv) {
    TEntry entry;
    if (argc >= 4 && std::string(argv[1]) == kCleanupSwitch && argv[3][0] != '\0' &&
        ParseEntry(argc - 4, argv + 4, entry))
        return Cleanup(argv[2], argv[3], entry);
    if (ParseEntry(argc - 1, argv + 1, entry)) return StartCleanupCopy(entry);
    return kRefused;
}
