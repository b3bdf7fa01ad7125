// The acceptance tests' installations in the test prefix's real HKEY_LOCAL_MACHINE: where the
// sample installers put things, running programs and waiting for them, and guards that remove
// every trace of a sample before and after a test, also after an interrupted earlier run.
#pragma once

#include "Registry.h"

#include <windows.h>

#include "FolderTree.h"

#include <string>

inline const std::string kNsisEntry = "TarnwickSampleNSIS";
inline const std::string kNsisFolder = "C:\\Program Files\\Tarnwick Sample NSIS";
inline const std::string kNsisUninstaller = kNsisFolder + "\\uninstall.exe";

inline const std::string kMsiProductCode = "{9BF6FB89-A106-48D0-BEAF-D74B4E9E3E01}";
inline const std::string kMsiFolder = "C:\\Program Files\\Tarnwick Sample MSI";

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
bool EntryExists(const std::string& entry);
bool PathExists(const std::string& path);
bool EntryAndFolderGone(const std::string& entry, const std::string& folder);
// Deletes an entry's key with its subkeys and the folder with its files.
void RemoveLeftovers(const std::string& entry, const std::string& folder);

// Deletes the files and folders in the temp folder that match `pattern`, waiting up to 10 s for
// a program that still runs from one to end; true when none is left.
bool RemoveTempLeftovers(const char* pattern);

// Runs the sample NSIS setup silently; true when it succeeded and its entry exists.
bool InstallSampleNsis();
// Installs the sample package silently with Windows Installer; true when its entry exists.
bool InstallSampleMsi();

// Removes the sample NSIS program, its entry and its uninstaller's temp folders when it is
// made and when it goes.
class TSampleNsisGuard {
public:
    TSampleNsisGuard() { Remove(); }
    ~TSampleNsisGuard() { Remove(); }
    TSampleNsisGuard(const TSampleNsisGuard&) = delete;
    TSampleNsisGuard& operator=(const TSampleNsisGuard&) = delete;

private:
    static void Remove();
};

// Has Windows Installer remove the sample product, which it keeps a record of, and then any
// leftover entry or folder, when it is made and when it goes.
class TSampleMsiGuard {
public:
    TSampleMsiGuard() { Remove(); }
    ~TSampleMsiGuard() { Remove(); }
    TSampleMsiGuard(const TSampleMsiGuard&) = delete;
    TSampleMsiGuard& operator=(const TSampleMsiGuard&) = delete;

private:
    static void Remove();
};
