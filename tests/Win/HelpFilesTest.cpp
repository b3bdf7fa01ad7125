// Where the help files are found (beside the program, else in the folder above it) and the
// names the viewers are given for them.
#include "ScratchFolder.h"

#include "Win/Application.h"
#include "Win/Help.h"

namespace {

TEST(HelpFilesTest, FoundBesideTheProgramElseInTheFolderAbove) {
    const std::string beside = FileBesideProgram("");
    const std::string above = beside.substr(0, beside.find_last_of('\\', beside.size() - 2) + 1);
    const std::string onlyAbove = "twk-help-above-" + std::to_string(GetCurrentProcessId()) + ".chm";
    TScratchFolder::WriteBytes(above + onlyAbove, "help");

    const struct {
        const char* label;
        std::string name;
        std::string expected;
    } cases[] = {
        {"beside the program", "Twk.hlp", beside + "Twk.hlp"},
        {"only in the folder above", onlyAbove, above + onlyAbove},
        {"nowhere: where it was looked for first", "Missing.chm", beside + "Missing.chm"},
    };
    for (const auto& row : cases) EXPECT_EQ(row.expected, FindHelpFile(row.name)) << row.label;
    DeleteFileA((above + onlyAbove).c_str());
}

TEST(HelpFilesTest, ViewersGetAnAsciiNameForAFolderNamedInCyrillic) {
    const TScratchFolder folder("-Справка");
    const std::string file = folder.Path("Twk.hlp");
    TScratchFolder::WriteBytes(file, "help");

    const std::string name = ViewerFileName(file);
    EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char c) { return c > 0 && c < 0x7F; })) << name;
    EXPECT_EQ("help", TScratchFolder::ReadBytes(name)) << "the same file: " << name;
    EXPECT_EQ(folder.Path("Missing.hlp"), ViewerFileName(folder.Path("Missing.hlp"))) << "a missing file keeps its name";
}

}  // namespace
