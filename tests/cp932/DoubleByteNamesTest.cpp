// Registry names in a double-byte ANSI code page (932): this program has no UTF-8 manifest and
// runs under a Japanese locale, as the program itself does on an older Japanese system.
#include "Entries/Exchange.h"
#include "ScratchFolder.h"
#include "ScratchRegistry.h"

#include <algorithm>

namespace {

// `name` as the ANSI functions give it: the platform's own conversion, look-alikes and "?"
// included.
std::string AnsiFormOf(const std::wstring& name) {
    std::string text(name.size() * 2, '\0');
    text.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()),
                                                        text.data(), static_cast<int>(text.size()), nullptr,
                                                        nullptr)));
    return text;
}

TStringList Sorted(TStringList list) {
    std::sort(list.begin(), list.end());
    return list;
}

// Characters whose second byte is "\\" (0x5C) or an ASCII letter in code page 932.
const std::string kSo = AnsiFormOf(L"ソ");   // 83 5C
const std::string kHyo = AnsiFormOf(L"表");  // 95 5C
const std::string kA = AnsiFormOf(L"ア");    // 83 41
const std::string kDi = AnsiFormOf(L"ヂ");   // 83 61

TEST(DoubleByteText, NeverTakesASecondByteForASeparatorOrALetter) {
    ASSERT_EQ("\x83\x5C", kSo);
    ASSERT_EQ("\x83\x61", kDi);
    EXPECT_EQ(kA + "abc" + kDi, AsciiLower(kA + "ABC" + kDi));
    EXPECT_EQ(kA + "ABC" + kDi, AsciiUpper(kA + "abc" + kDi));
    EXPECT_FALSE(SameTextAscii(kA, kDi));
    EXPECT_TRUE(SameTextAscii(kA + "x", kA + "X"));
    EXPECT_EQ((TStringList{kSo + kHyo, kSo, ""}), SplitAt(kSo + kHyo + "\\" + kSo + "\\", '\\'));
    EXPECT_EQ(std::string::npos, FindCharacter(kSo + kHyo, '\\'));
    EXPECT_EQ(std::string::npos, FindCharacter(kA + kDi, 'a'));
    EXPECT_EQ(2u, FindLastOf("C:\\" + kSo + kHyo, "\\/"));
    EXPECT_EQ(4u, FindCharacter("\\b" + kSo + "\\", '\\', 1));
}

class DoubleByteNamesTest : public ScratchRegistryTest {
protected:
    void SetUp() override {
        ASSERT_EQ(932u, GetACP()) << "this program runs under a Japanese locale";
        ScratchRegistryTest::SetUp();
    }

    // A key named "ABCDEFGHIJ" beside an 8-character Japanese one that takes 16 bytes: the
    // longest name the key reports (10) is too short for the Japanese one.
    const std::wstring japanese_ = L"日本語の名前です";
    const std::string entry_ = EntryPath("Sample");

    TRegistry& OpenSample() {
        registry_.ChooseRoot(HKEY_LOCAL_MACHINE);
        EXPECT_TRUE(registry_.OpenRegistryKey(entry_, false));
        return registry_;
    }

    TRegistry registry_;
};

TEST_F(DoubleByteNamesTest, ListsNamesThatTakeMoreBytesThanTheLongestNameHasCharacters) {
    const std::string japanese = AnsiFormOf(japanese_);
    ASSERT_EQ(16u, japanese.size());
    CreateKey(entry_ + "\\ABCDEFGHIJ");
    CreateKey(entry_ + "\\" + japanese);
    SetString(entry_, "ABCDEFGHIJ", "latin");
    SetString(entry_, japanese, "japanese");

    TStringList subkeys, values, inexact{"stale"};
    OpenSample().ListSubkeyNames(subkeys, &inexact);
    EXPECT_EQ(Sorted({"ABCDEFGHIJ", japanese}), Sorted(subkeys));
    EXPECT_TRUE(inexact.empty());
    registry_.ListValueNames(values, &inexact);
    EXPECT_EQ(Sorted({"ABCDEFGHIJ", japanese}), Sorted(values));
    EXPECT_TRUE(inexact.empty());
    EXPECT_EQ("japanese", registry_.ReadStringValue(japanese));
}

TEST_F(DoubleByteNamesTest, DeletesTreesWhoseSubkeysHaveSuchNames) {
    const std::string japanese = AnsiFormOf(japanese_);
    CreateKey(entry_ + "\\ABCDEFGHIJ\\" + japanese + "\\ABCDEFGHIJ");
    CreateKey(entry_ + "\\" + japanese + "\\" + japanese);
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(registry.DeleteKeyTree(entry_));
    EXPECT_FALSE(KeyExists(entry_));
}

TEST_F(DoubleByteNamesTest, NamesOutsideTheCodePageAreListedAsInexact) {
    const std::vector<std::wstring> outside = {L"한국어", L"café", L"😀 Emoji"};  // no exact form in 932
    const std::vector<std::wstring> inside = {L"Привет", L"Ελληνικη", japanese_, L"cafe"};
    for (const std::wstring& name : outside) CreateWideKey(entry_, name);
    for (const std::wstring& name : inside) CreateWideKey(entry_, name);

    TStringList subkeys, inexact, expectedInexact;
    OpenSample().ListSubkeyNames(subkeys, &inexact);
    for (const std::wstring& name : outside) expectedInexact.push_back(AnsiFormOf(name));
    EXPECT_EQ(Sorted(expectedInexact), Sorted(inexact));
    EXPECT_EQ(outside.size() + inside.size(), subkeys.size());
    for (const std::string& name : inexact) {
        SCOPED_TRACE(name);
        TRegistry registry;
        registry.ChooseRoot(HKEY_LOCAL_MACHINE);
        // Such a name opens no key, or another one ("cafe" for "café" by a look-alike).
        if (registry.OpenRegistryKey(entry_ + "\\" + name, false)) {
            EXPECT_EQ("cafe", name);
        }
    }
}

// Entries whose names hold characters with a second byte of "\\" or of an ASCII letter.
class DoubleByteEntriesTest : public DoubleByteNamesTest {
protected:
    const std::string update_ = AnsiFormOf(L"ソフトウェア更新");  // starts with ソ
    const std::string sibling_ = AnsiFormOf(L"フト更新");          // what follows ソ's second byte
    const std::string extension_ = AnsiFormOf(L"拡張機能");        // ends in 94 5C
    TScratchFolder folder_;
};

TEST_F(DoubleByteEntriesTest, RemovesAnEntryWithSubkeysAndLeavesItsLookAlikeSibling) {
    CreateEntry(update_, {{"DisplayName", "update"}});
    CreateKey(EntryPath(update_) + "\\" + extension_ + "\\" + kSo);
    CreateEntry(sibling_, {{"DisplayName", "sibling"}});
    CreateKey(EntryPath(sibling_) + "\\" + AnsiFormOf(L"ウェア更新"));
    CreateEntry(extension_, {{"DisplayName", "extension"}});
    CreateWideKey(EntryPath(extension_), L"한국어");  // a subkey outside the code page

    for (const std::string& entry : {update_, extension_}) {
        SCOPED_TRACE(entry);
        TRegistry registry;
        registry.ChooseRoot(HKEY_LOCAL_MACHINE);
        EXPECT_TRUE(registry.DeleteKeyTree(UninstallEntryPath(entry)));
        EXPECT_FALSE(KeyExists(EntryPath(entry)));
    }
    EXPECT_TRUE(KeyExists(EntryPath(sibling_) + "\\" + AnsiFormOf(L"ウェア更新")));
}

TEST_F(DoubleByteEntriesTest, OpensReadsAndExportsAnEntryWhoseNameEndsInSuchAByte) {
    CreateEntry(extension_, {{"DisplayName", "extension"}, {"UninstallString", "C:\\x\\uninst.exe"}});
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.OpenRegistryKey(UninstallEntryPath(extension_), false));
    EXPECT_TRUE(registry.HasValue("DisplayName"));
    EXPECT_TRUE(registry.HasValue("UninstallString"));
    EXPECT_EQ((TValueRows{{"DisplayName", "extension"}, {"UninstallString", "C:\\x\\uninst.exe"}}),
              ReadExportValues(extension_, kMachineLocation).texts);
}

TEST_F(DoubleByteEntriesTest, RoundTripThroughAFolderOfSuchNamesKeepsEveryNameAndValue) {
    const TValueRows values{{"DisplayName", AnsiFormOf(L"表示名")}, {kA, "a"}, {kDi, "di"}};  // details' order
    CreateEntry(update_, values);
    const wchar_t korean[] = L"한국어";
    TKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryPath(update_).c_str(), 0, KEY_SET_VALUE,
                                           key.Receive()));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), L"Korean", 0, REG_SZ, reinterpret_cast<const BYTE*>(korean),
                                            sizeof(korean)));
    const std::string folder = folder_.Path(AnsiFormOf(L"ソフト一覧"));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string file = folder + "\\" + update_ + ".ini";

    const TExportValues exported = ReadExportValues(update_, kMachineLocation);
    EXPECT_EQ(TStringList{"Korean"}, exported.outsideCodePage) << "its data reads as \"???\" here";
    ExportEntry(file, update_, exported.texts);
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(registry.DeleteKeyTree(UninstallEntryPath(update_)));
    ImportEntries(file, kMachineLocation);
    EXPECT_EQ(values, ReadExportValues(update_, kMachineLocation).texts);
    EXPECT_TRUE(DeleteFileA(file.c_str()));
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str())) << "no temporary file is left";
}

TEST_F(DoubleByteEntriesTest, ImportTakesSectionsThatDifferInASecondByteOnly) {
    const std::string file = folder_.Path("import.ini");
    TScratchFolder::WriteBytes(file, "[" + kA + "]\r\nk=a\r\n[" + kDi + "]\r\nk=di\r\n");
    ImportEntries(file, kMachineLocation);
    EXPECT_EQ((TValueRows{{"k", "a"}}), ReadExportValues(kA, kMachineLocation).texts);
    EXPECT_EQ((TValueRows{{"k", "di"}}), ReadExportValues(kDi, kMachineLocation).texts);
}

}  // namespace
