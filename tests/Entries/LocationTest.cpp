// The system folder an entry's paths mean in each registry view, as each build probes and
// launches them.
#include "Entries/Location.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr bool kIs32BitBuild = sizeof(void*) == 4;

std::string WindowsDirectory() {
    char buffer[MAX_PATH] = "";
    return std::string(buffer, GetWindowsDirectoryA(buffer, MAX_PATH));
}

TEST(LocationTest, OnlyALeadingSystem32FolderMoves) {
    const struct {
        const char* path;
        const char* moved;
    } rows[] = {
        {"C:\\Windows\\System32\\x.exe /u", "C:\\Windows\\Sysnative\\x.exe /u"},
        {"c:\\WINDOWS\\system32\\Sub Dir\\x.exe", "C:\\Windows\\Sysnative\\Sub Dir\\x.exe"},
        {"\"C:\\Windows\\System32\\x.exe\" /u", "\"C:\\Windows\\Sysnative\\x.exe\" /u"},
        {"C:\\Windows\\System32", "C:\\Windows\\System32"},
        {"C:\\Windows\\System32x\\x.exe", "C:\\Windows\\System32x\\x.exe"},
        {"C:\\Windows\\SysWOW64\\x.exe", "C:\\Windows\\SysWOW64\\x.exe"},
        {"D:\\Windows\\System32\\x.exe", "D:\\Windows\\System32\\x.exe"},
        {"x.exe C:\\Windows\\System32\\y.exe", "x.exe C:\\Windows\\System32\\y.exe"},
        {" C:\\Windows\\System32\\x.exe", " C:\\Windows\\System32\\x.exe"},
        {"", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(row.moved, MovedFromSystem32(row.path, "C:\\Windows", "Sysnative")) << row.path;
    EXPECT_EQ("C:\\Windows\\System32\\x.exe", MovedFromSystem32("C:\\Windows\\System32\\x.exe", "", "Sysnative"));
}

// The 64-bit build probes a 32-bit-view entry's system folder in SysWOW64; the 32-bit build
// probes with redirection switched off instead, and launches a 64-bit-view entry's program
// through Sysnative.
TEST(LocationTest, EachBuildReachesTheSystemFolderOfTheEntrysView) {
    const std::string windows = WindowsDirectory();
    const std::string named = windows + "\\system32\\x.exe";
    const std::string wow64 = windows + "\\SysWOW64\\x.exe";
    const std::string native = windows + "\\Sysnative\\x.exe";
    const struct {
        const char* label;
        const TEntryLocation& location;
        std::string probed64, launched32;  // by the 64-bit build, by the 32-bit build
    } rows[] = {
        {"64-bit view", kMachine64Location, named, native},
        {"32-bit view", kMachine32Location, wow64, named},
        {"current user", kUserLocation, named, named},
        {"32-bit Windows", kMachineLocation, named, named},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ((kIs32BitBuild ? named : row.probed64) + " /u", ProbedCommandLine(row.location, named + " /u"));
        EXPECT_EQ(kIs32BitBuild && IsWindows64() ? row.launched32 : named, LaunchedProgram(row.location, named));
        EXPECT_EQ(kIs32BitBuild && IsWindows64() && &row.location == &kMachine64Location,
                  TNativeFileSystemScope(row.location).Active());
    }
}

}  // namespace
