// ShellRun through the ShellExecuteA seam, and one real call of the shell.
#include "Entries/ExecApp.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct TShellCall {
    int count = 0;
    HWND owner = nullptr;
    bool hasVerb = false;
    std::string file, params, directory;
    int showCommand = 0;
};

TShellCall lastCall;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR directory,
                                    INT showCommand) {
    lastCall = {lastCall.count + 1, owner, verb != nullptr, file, params, directory, showCommand};
    return reinterpret_cast<HINSTANCE>(INT_PTR{42});
}

class ExecAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        lastCall = {};
        SetShellExecuteFunction(RecordShellExecute);
    }
    void TearDown() override {
        SetShellExecuteFunction(nullptr);
        SetShellRunOwner(nullptr);
    }
};

TEST_F(ExecAppTest, HandsEverythingOverWhole) {
    const HWND owner = reinterpret_cast<HWND>(INT_PTR{0x1234});
    SetShellRunOwner(owner);
    const std::string params = std::string(5000, 'p') + " \"quoted arg\" end";
    const std::string file = "C:\\Program Files\\App\\" + std::string(MAX_PATH - 22, 'f');
    ASSERT_EQ(size_t{MAX_PATH - 1}, file.size());

    EXPECT_EQ(42, ShellRun(file, params, "C:\\Program Files\\App", SW_SHOW));
    EXPECT_EQ(1, lastCall.count);
    EXPECT_EQ(owner, lastCall.owner);
    EXPECT_FALSE(lastCall.hasVerb);
    EXPECT_EQ(file, lastCall.file);
    EXPECT_EQ(params, lastCall.params);
    EXPECT_EQ("C:\\Program Files\\App", lastCall.directory);
    EXPECT_EQ(SW_SHOW, lastCall.showCommand);
}

TEST_F(ExecAppTest, RefusesOverlongFileOrDirectoryWithoutCallingTheShell) {
    EXPECT_EQ(SE_ERR_FNF, ShellRun("C:\\" + std::string(1000, 'x') + ".exe", "", "", SW_SHOW));
    EXPECT_EQ(SE_ERR_FNF, ShellRun("C:\\x.exe", "", "C:\\" + std::string(MAX_PATH - 3, 'd'), SW_SHOW));
    EXPECT_EQ(0, lastCall.count);
}

TEST_F(ExecAppTest, CountsThePathLimitInCharactersNotBytes) {
    std::string folder = "C:\\";
    for (int i = 0; i < 100; ++i) folder += "表";  // 3 bytes each in UTF-8
    const std::string file = folder + "\\uninst.exe";
    EXPECT_EQ(42, ShellRun(file, "", folder, SW_SHOW));
    EXPECT_EQ(file, lastCall.file);
    EXPECT_EQ(folder, lastCall.directory);
}

TEST_F(ExecAppTest, RealShellReportsAMissingFile) {
    SetShellExecuteFunction(nullptr);
    EXPECT_LE(ShellRun("C:\\nowhere\\x.exe", "", "", SW_SHOW), 32);
}

}  // namespace
