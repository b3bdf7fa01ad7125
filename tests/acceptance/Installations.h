// The acceptance tests' installations in the test prefix's real registry (the machine's 64-bit
// and 32-bit views and the current user's entries): where the sample installers put things,
// running programs and waiting for them, and guards that remove every trace of a sample before
// and after a test, also after an interrupted earlier run.
#pragma once

#include "Entries/Registry.h"
#include "ScratchRegistry.h"

#include <windows.h>

#include "FolderTree.h"

#include <string>

inline const std::string kNsisEntry = "TarnwickSampleNSIS";
inline const std::string kNsisFolder = "C:\\Program Files\\Tarnwick Sample NSIS";
inline const std::string kNsisUninstaller = kNsisFolder + "\\uninstall.exe";

inline const std::string kMsiProductCode = "{9BF6FB89-A106-48D0-BEAF-D74B4E9E3E01}";
inline const std::string kMsiFolder = "C:\\Program Files\\Tarnwick Sample MSI";

// The per-user NSIS sample: its entry under HKEY_CURRENT_USER, its folder in the user's profile.
inline const std::string kUserNsisEntry = "TarnwickSampleUserNSIS";
std::string UserNsisFolder();

// The 32-bit package: Windows Installer registers it in the 32-bit registry view.
inline const std::string kMsi32ProductCode = "{5C0E4D1A-7B61-4C3E-9F0B-2E8D6A4B7C32}";
inline const std::string kMsi32Folder = "C:\\Program Files (x86)\\Tarnwick Sample MSI 32";

inline constexpr DWORD kNoExitCode = 0xFFFFFFFF;

inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Runs `commandLine` and waits at most two minutes for its end; a program that takes longer
// is ended. Returns its exit code, or kNoExitCode when it did not start or finish.
DWORD RunAndWait(const std::string& commandLine);

// Polls `condition` every 100 ms until it holds, at most `timeoutMs`; true when it held.
template <class Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = 60000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(100);
    }
    return true;
}

inline std::string EntryKeyPath(const std::string& entry) { return std::string(UninstallKeyPath) + "\\" + entry; }
// Without a location these look at the machine's 64-bit view.
bool EntryExists(const std::string& entry, const TEntryLocation& location = kMachine64Location);
bool PathExists(const std::string& path);
bool EntryAndFolderGone(const std::string& entry, const std::string& folder,
                        const TEntryLocation& location = kMachine64Location);
// Deletes an entry's key with its subkeys and the folder with its files.
void RemoveLeftovers(const std::string& entry, const std::string& folder,
                     const TEntryLocation& location = kMachine64Location);

// Deletes the files and folders in the temp folder that match `pattern`, waiting up to 10 s for
// a program that still runs from one to end; true when none is left.
bool RemoveTempLeftovers(const char* pattern);

// Runs the sample NSIS setup silently; true when it succeeded and its entry exists.
bool InstallSampleNsis();
// Installs the sample package silently with Windows Installer; true when its entry exists.
bool InstallSampleMsi();
// The same for the per-user NSIS setup and the 32-bit package, each in its own location.
bool InstallSampleUserNsis();
bool InstallSampleMsi32();

// Removes the sample NSIS program, its entry and its uninstaller's temp folders when it is
// made and when it goes; for the per-user sample when `perUser`.
class TSampleNsisGuard {
public:
    explicit TSampleNsisGuard(bool perUser = false) : perUser_(perUser) { Remove(); }
    ~TSampleNsisGuard() { Remove(); }
    TSampleNsisGuard(const TSampleNsisGuard&) = delete;
    TSampleNsisGuard& operator=(const TSampleNsisGuard&) = delete;

private:
    void Remove();
    bool perUser_;
};

// Has Windows Installer remove the sample product (the 32-bit one when `package32`), which it
// keeps a record of, and then any leftover entry or folder, when it is made and when it goes.
class TSampleMsiGuard {
public:
    explicit TSampleMsiGuard(bool package32 = false) : package32_(package32) { Remove(); }
    ~TSampleMsiGuard() { Remove(); }
    TSampleMsiGuard(const TSampleMsiGuard&) = delete;
    TSampleMsiGuard& operator=(const TSampleMsiGuard&) = delete;

private:
    void Remove();
    bool package32_;
};
