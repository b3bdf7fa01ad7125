// TIniFile against files written byte for byte in a scratch folder.
#include "Entries/IniFile.h"

#include "Base/Exception.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

std::string Numbered(const char* prefix, int number) {
    char text[32];
    wsprintfA(text, "%s%04d", prefix, number);
    return text;
}

std::string WriteError(TIniFile& ini, const std::string& section, const std::string& key) {
    try {
        ini.WriteString(section, key, "v");
    } catch (const Exception& error) {
        return error.Message();
    }
    return "(no exception)";
}

TEST(IniFileTest, ReadsListsAndValuesWhateverTheirLength) {
    TScratchFolder folder;
    const std::string file = folder.Path("long.ini");
    std::string text;
    TStringList sections, keys;
    for (int i = 0; i < 1500; ++i) {
        sections.push_back(Numbered("Section_", i));
        text += "[" + sections.back() + "]\r\nk=v\r\n";
    }
    text += "[Keys]\r\n";
    for (int i = 0; i < 1500; ++i) {
        keys.push_back(Numbered("key_", i));
        text += keys.back() + "=v\r\n";
    }
    // Lengths at and around the buffer sizes; quoted ones cost the reader one more character.
    const std::vector<int> lengths{0, 1, 2045, 2046, 2047, 2048, 2049, 4094, 4095, 4096, 16383, 16384, 32766};
    text += "[Values]\r\n";
    for (int length : lengths) {
        text += Numbered("plain", length) + "=" + std::string(length, 'p') + "\r\n";
        text += Numbered("quoted", length) + "=\"" + std::string(length, 'q') + "\"\r\n";
    }
    sections.push_back("Keys");
    sections.push_back("Values");
    TScratchFolder::WriteBytes(file, text);

    TIniFile ini(file);
    TStringList list;
    ini.ReadSectionNames(list);
    EXPECT_EQ(sections, list);
    ini.ReadKeyNames("Keys", list);
    EXPECT_EQ(keys, list);
    for (int length : lengths) {
        SCOPED_TRACE(length);
        EXPECT_EQ(std::string(length, 'p'), ini.ReadString("Values", Numbered("plain", length), "def"));
        EXPECT_EQ(std::string(length, 'q'), ini.ReadString("Values", Numbered("quoted", length), "def"));
    }
}

TEST(IniFileTest, KeyNamesLeaveOutEmptyNamesCommentsAndLinesWithoutEquals) {
    TScratchFolder folder;
    const std::string file = folder.Path("odd.ini");
    TScratchFolder::WriteBytes(file,
                               "top=above\r\n"
                               "[First]\r\n=empty name first\r\na=1\r\nb=2\r\n"
                               "[Middle]\r\na=1\r\n=empty name\r\n;c=3\r\nno equals\r\n  B = 2  \r\na=dup\r\n");
    TIniFile ini(file);
    TStringList list{"stale"};
    ini.ReadKeyNames("First", list);
    EXPECT_EQ((TStringList{"a", "b"}), list);
    ini.ReadKeyNames("Middle", list);
    EXPECT_EQ((TStringList{"a", "B", "a"}), list);
    ini.ReadKeyNames("Missing", list);
    EXPECT_TRUE(list.empty());
    ini.ReadKeyNames("", list);
    EXPECT_TRUE(list.empty()) << "the lines above the first section are no section";

    EXPECT_EQ("1", ini.ReadString("Middle", "a", "def")) << "a repeated key reads as its first line";
    EXPECT_EQ("2", ini.ReadString("Middle", "b", "def"));
    EXPECT_EQ("def", ini.ReadString("Middle", "missing", "def"));
    EXPECT_EQ("def", ini.ReadString("First", "", "def")) << "an empty key name is never looked up";
    EXPECT_EQ("def", ini.ReadString("", "top", "def")) << "an empty section name is never looked up";
}

TEST(IniFileTest, WriteFailuresRaiseNamingTheFile) {
    TScratchFolder folder;
    const std::string directory = folder.Path("folder.ini");
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    TIniFile onDirectory(directory);
    EXPECT_EQ("Unable to write to " + directory, WriteError(onDirectory, "S", "k"));

    const std::string orphan = folder.Path("missing\\x.ini");
    TIniFile inMissingFolder(orphan);
    EXPECT_EQ("Unable to write to " + orphan, WriteError(inMissingFolder, "S", "k"));

    const std::string file = folder.Path("names.ini");
    TIniFile ini(file);
    EXPECT_EQ("Unable to write to " + file, WriteError(ini, "S", ""));
    EXPECT_EQ("Unable to write to " + file, WriteError(ini, "", "k"));
    EXPECT_FALSE(TScratchFolder::Exists(file)) << "nothing may be written for an empty name";

    ini.WriteString("S", "k", std::string(TIniFile::MaxTextLength, 'v'));
    EXPECT_EQ(std::string(TIniFile::MaxTextLength, 'v'), ini.ReadString("S", "k", ""));
    ini.WriteString("S", "k", "value");
    EXPECT_EQ("[S]\r\nk=value\r\n", TScratchFolder::ReadBytes(file));
    try {
        ini.WriteString("S", "k", std::string(TIniFile::MaxTextLength + 1, 'v'));
        ADD_FAILURE() << "a value longer than the profile functions take must be refused";
    } catch (const Exception& error) {
        EXPECT_EQ("Unable to write to " + file, error.Message());
    }
    EXPECT_EQ("[S]\r\nk=value\r\n", TScratchFolder::ReadBytes(file));
}

TEST(IniFileTest, ReadsAfterAWriteSeeTheFileAsStored) {
    TScratchFolder folder;
    TIniFile ini(folder.Path("fresh.ini"));
    // A line feed splits the line in the file: a read served from a cached copy would keep it.
    ini.WriteString("S", "k", "a\nb");
    EXPECT_EQ("a", ini.ReadString("S", "k", ""));
}

}  // namespace
