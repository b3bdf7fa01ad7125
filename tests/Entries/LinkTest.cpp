// Link states of resolved program paths on Wine's drives: C: fixed, E: a CD-ROM drive with no
// disk, Q: not mapped.
#include "Entries/Link.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LinkTest, MessagesAreAHeadingAndARecommendation) {
    for (int state = 0; state < kLinkStateCount; ++state) {
        SCOPED_TRACE(state);
        const std::string message = LinkMessages[state];
        const size_t lineBreak = message.find("\r\n");
        ASSERT_NE(std::string::npos, lineBreak);
        EXPECT_EQ(std::string::npos, message.find('\n', lineBreak + 2));
        const std::string heading = message.substr(0, lineBreak);
        EXPECT_EQ(std::string::npos, heading.find_first_of("abcdefghijklmnopqrstuvwxyz")) << heading;
    }
}

TEST(LinkTest, ExistingFileThenDeleted) {
    InitDiskFreeSpaceFunction();
    char temp[MAX_PATH], file[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    ASSERT_NE(0u, GetTempFileNameA(temp, "twk", 0, file));
    EXPECT_EQ(lsExistingLink, ProgramLinkState(file));
    ASSERT_TRUE(DeleteFileA(file));
    EXPECT_EQ(lsInvalidLink, ProgramLinkState(file));
}

TEST(LinkTest, OnlyADriveThatCannotAnswerIsAMissingDisk) {
    ASSERT_EQ(static_cast<UINT>(DRIVE_CDROM), GetDriveTypeA("E:\\"));
    ASSERT_EQ(static_cast<UINT>(DRIVE_NO_ROOT_DIR), GetDriveTypeA("Q:\\"));
    const struct {
        const char* program;
        LinkState state;
    } rows[] = {
        {"E:\\SETUP\\REMOVE.BAT", lsMissingDisk},
        {"e:\\setup\\remove.bat", lsMissingDisk},
        {"C:\\nowhere\\uninst.exe", lsInvalidLink},
        {"Q:\\App\\uninst.exe", lsInvalidLink},
        {"", lsInvalidLink},
        {"E", lsInvalidLink},
        {"eject\\setup.exe", lsInvalidLink},
        {"E:setup.exe", lsInvalidLink},
        {"\\\\server\\share\\setup.exe", lsInvalidLink},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.program);
        EXPECT_EQ(row.state, ProgramLinkState(row.program));
    }
}

}  // namespace
