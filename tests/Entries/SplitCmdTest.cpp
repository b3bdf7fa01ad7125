// Command-line resolution against real files in a scratch folder under the temp directory, with
// the current directory and PATH changed in-process and restored after each test.
#include "Entries/SplitCmd.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string WindowsDirectory() {
    char buffer[MAX_PATH];
    return std::string(buffer, GetWindowsDirectoryA(buffer, MAX_PATH));
}

std::string SystemDirectory() {
    char buffer[MAX_PATH];
    return std::string(buffer, GetSystemDirectoryA(buffer, MAX_PATH));
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where a bare program name is expected: the Windows directory comes before the system one.
std::string FoundOnSystemDirectories(const std::string& name) {
    const std::string inWindows = WindowsDirectory() + "\\" + name;
    return IsFile(inWindows) ? inWindows : SystemDirectory() + "\\" + name;
}

struct TSplitRow {
    const char* label;
    std::string line, program, params;
};

void ExpectSplits(const std::vector<TSplitRow>& rows) {
    for (const TSplitRow& row : rows) {
        SCOPED_TRACE(row.label);
        std::string program = "stale", params = "stale";
        SplitCommandLine(row.line, program, params);
        EXPECT_EQ(row.program, program);
        EXPECT_EQ(row.params, params);
    }
}

class SplitCmdTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        scratch_ = std::string(temp) + "twk-split-" + std::to_string(GetCurrentProcessId());
        std::filesystem::remove_all(scratch_);
        ASSERT_TRUE(CreateDirectoryA(scratch_.c_str(), nullptr));
        char directory[MAX_PATH];
        savedDirectory_.assign(directory, GetCurrentDirectoryA(MAX_PATH, directory));
        std::vector<char> path(32767);
        const DWORD length = GetEnvironmentVariableA("PATH", path.data(), static_cast<DWORD>(path.size()));
        hadPath_ = length > 0;
        savedPath_.assign(path.data(), length);
    }

    void TearDown() override {
        SetCurrentDirectoryA(savedDirectory_.c_str());
        SetEnvironmentVariableA("PATH", hadPath_ ? savedPath_.c_str() : nullptr);
        std::filesystem::remove_all(scratch_);
    }

    std::string In(const std::string& relative) const { return scratch_ + "\\" + relative; }

    // Creates an empty file (and its folders) below the scratch folder; returns its full path.
    std::string MakeFile(const std::string& relative) {
        const std::string path = In(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, file) << path;
        CloseHandle(file);
        return path;
    }

    std::string MakeDirectory(const std::string& relative) {
        std::filesystem::create_directories(In(relative));
        return In(relative);
    }

    void SetPath(const std::string& value) { SetEnvironmentVariableA("PATH", value.c_str()); }

    std::string scratch_, savedDirectory_, savedPath_;
    bool hadPath_ = false;
};

TEST(StripQuotes, RemovesOnlyALeadingQuoteAndTheNextOne) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"\"C:\\a b\\x.exe\" /u", "C:\\a b\\x.exe /u"},
        {"\"a\"b\"c\"", "ab\"c\""},
        {"\"unclosed", "unclosed"},
        {"\"\"", ""},
        {"a\"b\"", "a\"b\""},
        {" \"a\"", " \"a\""},
        {"", ""},
    };
    for (const auto& [input, expected] : rows) {
        SCOPED_TRACE(input);
        std::string text = input;
        StripQuotes(text);
        EXPECT_EQ(expected, text);
    }
}

TEST_F(SplitCmdTest, FileExistsAcceptsDatedFilesOnly) {
    const std::string tool = MakeFile("App\\tool.exe");
    MakeDirectory("App\\sub.exe");
    EXPECT_TRUE(FileExists(tool));
    EXPECT_TRUE(FileExists(In("App\\too?.exe")));
    EXPECT_FALSE(FileExists(In("App\\sub.exe")));
    EXPECT_FALSE(FileExists(In("App\\missing.exe")));
    EXPECT_FALSE(FileExists(In("App\\")));
    EXPECT_FALSE(FileExists(""));

    // A last-write time before 1980 has no DOS date: such a file does not count.
    const std::string old = MakeFile("App\\old.exe");
    const HANDLE file = CreateFileA(old.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SYSTEMTIME time{1975, 6, 0, 1, 12, 0, 0, 0};
    FILETIME written;
    SystemTimeToFileTime(&time, &written);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
    EXPECT_FALSE(FileExists(old));
}

TEST_F(SplitCmdTest, ResolvesTheTypicalUninstallLines) {
    const std::string longPath = MakeFile("Program Files\\App\\UninstallProgram.EXE");
    char buffer[MAX_PATH];
    const std::string shortPath(buffer, GetShortPathNameA(longPath.c_str(), buffer, MAX_PATH));
    ASSERT_NE(std::string::npos, shortPath.find('~')) << shortPath;
    ASSERT_EQ(std::string::npos, shortPath.find(' ')) << shortPath;
    const std::string unins = MakeFile("Program Files\\App\\unins000.exe");
    ASSERT_EQ(0u, scratch_.find("C:\\"));
    ASSERT_EQ(static_cast<UINT>(DRIVE_CDROM), GetDriveTypeA("E:\\"));

    ExpectSplits({
        {"short path", shortPath + " /u", shortPath, "/u"},
        {"quoted path with spaces", "\"" + unins + "\" /SILENT", unins, "/SILENT"},
        {"bare name on the search list", "RunDll32 advpack.dll,LaunchINFSection app.inf",
         FoundOnSystemDirectories("RunDll32.exe"), "advpack.dll,LaunchINFSection app.inf"},
        {"drive without disk", "E:\\SETUP\\REMOVE.BAT", "E:\\SETUP\\REMOVE.BAT", ""},
        {"missing file, cut after the extension", In("App\\Setup.exe.bak -r"), In("App\\Setup.exe"), ".bak -r"},
        {"not found", "uninst -y", "", "uninst -y"},
    });
}

TEST_F(SplitCmdTest, CutsAtTheEarlierExtensionAndKeepsTheRestAsParameters) {
    const std::string longParams = std::string(5000, 'p') + " end";
    const std::string tool = MakeFile("App\\tool.exe");
    ExpectSplits({
        {"empty line", "", "", ""},
        {"not found keeps the untrimmed line", "  uninst -y  ", "", "  uninst -y  "},
        {".bat before .exe", "C:\\nowhere\\a.bat.exe -q", "C:\\nowhere\\a.bat", ".exe -q"},
        {".exe before .bat", "C:\\nowhere\\b.exe.bat -q", "C:\\nowhere\\b.exe", ".bat -q"},
        {"upper-case extension", "C:\\NO WHERE\\SETUP.EXE /S", "C:\\NO WHERE\\SETUP.EXE", "/S"},
        {"quoted program, quoted parameter", "\"C:\\no where\\u.exe\" \"/log=a b\"", "C:\\no where\\u.exe",
         "\"/log=a b\""},
        {"blanks and controls trimmed", "\t C:\\nowhere\\x.exe  -a  \r\n", "C:\\nowhere\\x.exe", "-a"},
        {"relative name without drive is searched", "nowhere\\x.exe -a", "", "nowhere\\x.exe -a"},
        {"parameters longer than 260 kept whole", tool + " " + longParams, tool, longParams},
        {"wildcard name", In("App\\too?.exe -x"), In("App\\too?.exe"), "-x"},
    });
}

TEST_F(SplitCmdTest, SearchesTheCurrentDirectoryFirst) {
    MakeFile("App\\tool.exe");
    MakeFile("App\\tool.exe.exe");  // found only if a second extension were appended
    MakeFile("bin\\uninst.exe");
    MakeDirectory("setup.exe");

    ASSERT_TRUE(SetCurrentDirectoryA(scratch_.c_str()));
    ExpectSplits({
        {"relative path with extension", "bin\\uninst.exe -x", "bin\\uninst.exe", "-x"},
        {"directory is not a program", "setup /s", "", "setup /s"},
    });
    ASSERT_TRUE(SetCurrentDirectoryA(In("App").c_str()));
    ExpectSplits({{"no second extension", "TOOL.EXE -x", "TOOL.EXE", "-x"}});
}

TEST_F(SplitCmdTest, SearchesWindowsThenSystemDirectoryThenPath) {
    const std::string windowsNotepad = WindowsDirectory() + "\\notepad.exe";
    ASSERT_TRUE(IsFile(windowsNotepad));
    ASSERT_TRUE(IsFile(SystemDirectory() + "\\notepad.exe"));
    const std::string uninst = MakeFile("Tools\\bin\\uninst.exe");
    const std::string rundll = FoundOnSystemDirectories("rundll32.exe");
    ASSERT_TRUE(SetCurrentDirectoryA(MakeDirectory("Elsewhere").c_str()));

    SetPath(In("Tools\\") + ";" + savedPath_);
    ExpectSplits({
        {"Windows directory first", "notepad x.txt", windowsNotepad, "x.txt"},
        {"relative path below a PATH entry ending in \\", "bin\\uninst.exe -x", uninst, "-x"},
    });
    EXPECT_EQ("", SearchProgram("bin\\missing.exe"));

    std::string longPath;
    for (int index = 0; longPath.size() < 5000; ++index) longPath += "C:\\nowhere\\dir" + std::to_string(index) + ";";
    SetPath(longPath + In("Tools"));
    ExpectSplits({
        {"last entry of a 5000-character PATH", "bin\\uninst.exe -x", uninst, "-x"},
        {"system directory with a long PATH", "rundll32 x", rundll, "x"},
    });
    SetPath("C:\\Программы\\Инструменты;" + In("Tools"));
    ExpectSplits({{"last entry after one of more bytes than characters", "bin\\uninst.exe -x", uninst, "-x"}});

    SetEnvironmentVariableA("PATH", nullptr);
    ExpectSplits({
        {"system directory without PATH", "rundll32 x", rundll, "x"},
        {"PATH entries gone", "bin\\uninst.exe -x", "", "bin\\uninst.exe -x"},
    });
}

}  // namespace
