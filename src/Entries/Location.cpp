// The kind of Windows, and the 32-bit build's switch to the real system folder: the code
// behind `kIs32BitBuild` is all that the 64-bit build never runs.
#include "Entries/Location.h"

#include "Base/Text.h"

namespace {

constexpr bool kIs32BitBuild = sizeof(void*) == 4;

using TDisableFunction = BOOL(WINAPI*)(PVOID* saved);
using TRevertFunction = BOOL(WINAPI*)(PVOID saved);

// A kernel32 function looked up at run time; null where this Windows lacks it.
template <class TFunction>
TFunction Kernel32Function(const char* name) {
    return reinterpret_cast<TFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

std::string WindowsDirectory() {
    char buffer[MAX_PATH] = "";
    const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    return length < MAX_PATH ? std::string(buffer, length) : std::string();
}

}  // namespace

bool IsWindows64() {
    if constexpr (!kIs32BitBuild) return true;
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

TNativeFileSystemScope::TNativeFileSystemScope(const TEntryLocation& location) {
    if (!kIs32BitBuild || location.view != KEY_WOW64_64KEY || !IsWindows64()) return;
    static const auto disable = Kernel32Function<TDisableFunction>("Wow64DisableWow64FsRedirection");
    active_ = disable && disable(&saved_);
}

TNativeFileSystemScope::~TNativeFileSystemScope() {
    if (!active_) return;
    static const auto revert = Kernel32Function<TRevertFunction>("Wow64RevertWow64FsRedirection");
    if (revert) revert(saved_);
}

std::string MovedFromSystem32(const std::string& path, const std::string& windowsDir, const char* folder) {
    if (windowsDir.empty()) return path;
    const size_t start = path.starts_with('"') ? 1 : 0;
    const std::string system32 = windowsDir + "\\System32\\";
    if (!SameTextAscii(path.substr(start, system32.size()), system32)) return path;
    return path.substr(0, start) + windowsDir + "\\" + folder + "\\" + path.substr(start + system32.size());
}

std::string ProbedCommandLine(const TEntryLocation& location, const std::string& line) {
    if (kIs32BitBuild || location.view != KEY_WOW64_32KEY) return line;
    return MovedFromSystem32(line, WindowsDirectory(), "SysWOW64");
}

std::string LaunchedProgram(const TEntryLocation& location, const std::string& program) {
    if (!kIs32BitBuild || location.view != KEY_WOW64_64KEY || !IsWindows64()) return program;
    return MovedFromSystem32(program, WindowsDirectory(), "Sysnative");
}
