// Entry locations: the places Windows keeps Uninstall entries, each a root key and a registry
// view, and the file-system view that goes with an entry of the 64-bit registry view.
#pragma once

#include <windows.h>

#include <string>

struct TEntryLocation {
    HKEY root;          // a predefined key, or an open key that outlives every use of the location
    REGSAM view;        // KEY_WOW64_64KEY, KEY_WOW64_32KEY, or 0 for the process's own view
    const char* title;  // what the window caption adds for it; "" for the location shown first
};

// The machine's entries in the 64-bit and the 32-bit registry view of 64-bit Windows, in the
// only view of 32-bit Windows, and the current user's entries.
inline const TEntryLocation kMachine64Location{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, ""};
inline const TEntryLocation kMachine32Location{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "32-bit Programs"};
inline const TEntryLocation kMachineLocation{HKEY_LOCAL_MACHINE, 0, ""};
inline const TEntryLocation kUserLocation{HKEY_CURRENT_USER, 0, "User Programs"};

// Whether both name the same place: root and view.
inline bool SameLocation(const TEntryLocation& left, const TEntryLocation& right) {
    return left.root == right.root && left.view == right.view;
}

// True on 64-bit Windows, whichever build asks.
bool IsWindows64();

// While it lives, the file probes of this thread see the real system folder when `location` is
// the 64-bit view and the process is a 32-bit one on 64-bit Windows; otherwise, and in the 64-bit
// build, it does nothing. Nothing may be loaded or launched meanwhile: a DLL that fails to load
// while redirection is off stays unloadable for the rest of the run.
class TNativeFileSystemScope {
public:
    explicit TNativeFileSystemScope(const TEntryLocation& location);
    ~TNativeFileSystemScope();
    TNativeFileSystemScope(const TNativeFileSystemScope&) = delete;
    TNativeFileSystemScope& operator=(const TNativeFileSystemScope&) = delete;

    // Whether redirection is switched off by this scope.
    bool Active() const { return active_; }

private:
    bool active_ = false;
    void* saved_ = nullptr;  // the thread's redirection state, for the revert
};

// `path` (after an optional opening quote) with a leading `windowsDir`\System32\, in any case,
// replaced by `windowsDir`\`folder`\; any other path unchanged.
std::string MovedFromSystem32(const std::string& path, const std::string& windowsDir, const char* folder);

// The command line whose files the link check probes and the launch starts: in the 64-bit build,
// a 32-bit-view entry naming the system folder was written by a 32-bit installer, for which that
// folder is SysWOW64. Applied before the line is split.
std::string ProbedCommandLine(const TEntryLocation& location, const std::string& line);

// The program the launch hands to the shell, with redirection on: in the 32-bit build on 64-bit
// Windows, a 64-bit-view entry's program in the system folder is reached through Sysnative.
std::string LaunchedProgram(const TEntryLocation& location, const std::string& program);
