// TRegistry against Wine's real registry (HKEY_LOCAL_MACHINE redirected to a scratch key).
#include "ScratchRegistry.h"

#include <algorithm>

namespace {

class RegistryTest : public ScratchRegistryTest {
protected:
    const std::string entry_ = EntryPath("Sample");

    // Opens the sample entry in a fresh TRegistry rooted at HKEY_LOCAL_MACHINE.
    TRegistry& OpenSample() {
        registry_.CloseRegistryKey();
        registry_.ChooseRoot(HKEY_LOCAL_MACHINE, kMachine64Location.view);
        EXPECT_TRUE(registry_.OpenRegistryKey(entry_, false));
        return registry_;
    }

    std::string ReadErrorOf(const std::string& name) {
        try {
            OpenSample().ReadStringValue(name);
        } catch (const ERegistryException& error) {
            return error.Message();
        }
        return "(no exception)";
    }

    TRegistry registry_;
};

TEST_F(RegistryTest, ReadsStringsUpToTheirFirstNullWithoutExpanding) {
    CreateKey(entry_);
    SetString(entry_, "Plain", "C:\\App\\uninst.exe /u");
    SetString(entry_, "Expand", "%SystemRoot%\\x.exe", REG_EXPAND_SZ);
    SetRaw(entry_, "Embedded", REG_SZ, "ab\0cd", 6);
    SetRaw(entry_, "Unterminated", REG_SZ, "abcd", 3);  // stored without its null
    SetRaw(entry_, "EmptySz", REG_SZ, "", 0);

    TRegistry& registry = OpenSample();
    EXPECT_EQ("C:\\App\\uninst.exe /u", registry.ReadStringValue("Plain"));
    EXPECT_EQ("%SystemRoot%\\x.exe", registry.ReadStringValue("Expand"));
    EXPECT_EQ("ab", registry.ReadStringValue("Embedded"));
    EXPECT_EQ("abc", registry.ReadStringValue("Unterminated"));
    EXPECT_EQ("", registry.ReadStringValue("EmptySz"));
    EXPECT_EQ("", registry.ReadStringValue("Missing"));
}

TEST_F(RegistryTest, NonStringValuesRaiseOnlyWhenTheyHoldData) {
    CreateKey(entry_);
    SetDword(entry_, "UninstallString", 7);
    SetRaw(entry_, "EmptyDword", REG_DWORD, nullptr, 0);
    SetRaw(entry_, "Binary", REG_BINARY, "\x01\x02", 2);

    EXPECT_EQ("Invalid data type for 'UninstallString'", ReadErrorOf("UninstallString"));
    EXPECT_EQ("Invalid data type for 'Binary'", ReadErrorOf("Binary"));
    EXPECT_EQ("", OpenSample().ReadStringValue("EmptyDword"));
    EXPECT_TRUE(registry_.HasValue("EmptyDword"));
    EXPECT_FALSE(registry_.HasValue("Missing"));
}

TEST_F(RegistryTest, ReadsAnyValueAsItsTypeAndBytes) {
    CreateKey(entry_);
    SetDword(entry_, "Number", 0x0A0B0C0D);
    SetRaw(entry_, "Embedded", REG_SZ, "ab\0cd", 6);
    SetRaw(entry_, "EmptyDword", REG_DWORD, nullptr, 0);
    SetRaw(entry_, "Odd", 99, "\x05", 1);

    TRegistry& registry = OpenSample();
    const TRegistryValue number = registry.ReadValue("Number");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), number.type);
    EXPECT_EQ(std::string("\x0D\x0C\x0B\x0A", 4), number.data);
    EXPECT_FALSE(number.IsText());
    const TRegistryValue embedded = registry.ReadValue("Embedded");
    EXPECT_EQ(std::string("ab\0cd", 6), embedded.data) << "the data is kept whole";
    EXPECT_TRUE(embedded.IsText());
    EXPECT_EQ("ab", embedded.Text());
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), registry.ReadValue("EmptyDword").type);
    EXPECT_EQ("", registry.ReadValue("EmptyDword").data);
    EXPECT_EQ(static_cast<DWORD>(99), registry.ReadValue("Odd").type);
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), registry.ReadValue("Missing").type);
    EXPECT_EQ("", registry.ReadValue("Missing").data);
}

TEST_F(RegistryTest, WritesStringsAndRefusesWithoutAnOpenKey) {
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE, kMachine64Location.view);
    try {
        registry.WriteStringValue("DisplayName", "x");
        FAIL() << "writing with no key open must raise";
    } catch (const ERegistryException& error) {
        EXPECT_EQ("Failed to set data for 'DisplayName'", error.Message());
    }
    EXPECT_FALSE(registry.HasValue("DisplayName"));

    ASSERT_TRUE(registry.OpenRegistryKey(entry_, true));
    registry.WriteStringValue("DisplayName", "Sample App");
    registry.WriteStringValue("", "default");
    DWORD type = 0, size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(registry.CurrentKey(), "DisplayName", nullptr, &type, nullptr, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(11u, size);  // text plus its terminating null
    EXPECT_EQ("default", registry.ReadStringValue(""));
}

TEST_F(RegistryTest, ListsNamesInEnumerationOrderWithTheDefaultValueAsEmptyName) {
    CreateKey(entry_ + "\\Child1");
    CreateKey(entry_ + "\\Child2");
    SetString(entry_, "", "default");
    SetString(entry_, "DisplayName", "x");
    SetDword(entry_, "EstimatedSize", 5);

    TRegistry& registry = OpenSample();
    TStringList subkeys{"stale"}, values;
    registry.ListSubkeyNames(subkeys);
    registry.ListValueNames(values);
    EXPECT_EQ((TStringList{"Child1", "Child2"}), subkeys);
    ASSERT_EQ(3u, values.size());
    EXPECT_NE(values.end(), std::find(values.begin(), values.end(), ""));
    EXPECT_NE(values.end(), std::find(values.begin(), values.end(), "EstimatedSize"));

    TRegistry closed;
    closed.ListValueNames(values);
    EXPECT_TRUE(values.empty());
}

// Names whose UTF-8 form is longer than their count of characters, beside one that is not.
const TStringList kScriptNames = {"ABCDEFGHIJ", "Привет мир", "Ελληνικά", "中文名称", "日本語の名前です",
                                  "😀 Emoji"};

TStringList Sorted(TStringList list) {
    std::sort(list.begin(), list.end());
    return list;
}

TEST_F(RegistryTest, ListsOpensAndDeletesNamesInAnyScript) {
    ASSERT_EQ(static_cast<UINT>(CP_UTF8), GetACP()) << "the manifest makes UTF-8 the ANSI code page";
    for (const std::string& name : kScriptNames) {
        SetString(entry_, name, "data of " + name);
        SetString(entry_ + "\\" + name + "\\日本語の名前です", "", "inner");
    }
    TRegistry& registry = OpenSample();
    TStringList subkeys, values, inexact{"stale"};
    registry.ListSubkeyNames(subkeys, &inexact);
    EXPECT_EQ(Sorted(kScriptNames), Sorted(subkeys));
    EXPECT_TRUE(inexact.empty());
    registry.ListValueNames(values, &inexact);
    EXPECT_EQ(Sorted(kScriptNames), Sorted(values));
    EXPECT_TRUE(inexact.empty());
    for (const std::string& name : kScriptNames) {
        SCOPED_TRACE(name);
        EXPECT_EQ("data of " + name, OpenSample().ReadStringValue(name));
        ASSERT_TRUE(registry_.OpenRegistryKey(name + "\\日本語の名前です", false));
        EXPECT_EQ("inner", registry_.ReadStringValue(""));
    }
    registry_.CloseRegistryKey();
    EXPECT_TRUE(registry_.DeleteKeyTree(EntryPath("Sample\\中文名称")));
    EXPECT_FALSE(KeyExists(EntryPath("Sample\\中文名称")));
    EXPECT_TRUE(registry_.DeleteKeyTree(entry_)) << "every subkey name is read whole, however many bytes it takes";
    EXPECT_FALSE(KeyExists(entry_));
}

TEST_F(RegistryTest, ANameWithALoneSurrogateIsListedAsInexact) {
    CreateKey(entry_ + "\\Plain");
    CreateWideKey(entry_, L"Half \xD83D pair");
    TRegistry& registry = OpenSample();
    TStringList subkeys, inexact;
    registry.ListSubkeyNames(subkeys, &inexact);
    const std::string shown = "Half \xEF\xBF\xBD pair";  // U+FFFD stands in for the surrogate
    EXPECT_EQ((TStringList{"Half \xEF\xBF\xBD pair", "Plain"}), Sorted(subkeys));
    EXPECT_EQ(TStringList{shown}, inexact);
    EXPECT_FALSE(registry.OpenRegistryKey(shown, false)) << "the name as shown names no key";

    CreateWideKey(entry_, L"Real \xFFFD");  // a real U+FFFD is the registry's own name
    OpenSample().ListSubkeyNames(subkeys, &inexact);
    EXPECT_EQ(TStringList{shown}, inexact);
}

TEST_F(RegistryTest, OpensRelativeAndAbsolutePathsAndCreatesMissingParents) {
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE, kMachine64Location.view);
    EXPECT_FALSE(registry.OpenRegistryKey(entry_ + "\\Deep\\Er", false));
    EXPECT_EQ(nullptr, registry.CurrentKey());

    ASSERT_TRUE(registry.OpenRegistryKey(entry_ + "\\Deep\\Er", true));
    EXPECT_TRUE(KeyExists(entry_ + "\\Deep"));
    EXPECT_TRUE(KeyExists(entry_ + "\\Deep\\Er"));

    registry.CloseRegistryKey();
    ASSERT_TRUE(registry.OpenRegistryKey(UninstallKeyPath, false));
    ASSERT_TRUE(registry.OpenRegistryKey("Sample\\Deep", false));  // relative to the open key
    EXPECT_EQ(std::string(UninstallKeyPath) + "\\Sample\\Deep", registry.CurrentPath());

    ASSERT_TRUE(registry.OpenRegistryKey("\\" + entry_, false));  // absolute: from the root again
    EXPECT_EQ(entry_, registry.CurrentPath());
    EXPECT_FALSE(registry.OpenRegistryKey("NoSuchChild", false));
    EXPECT_EQ(entry_, registry.CurrentPath()) << "a failed open changes nothing";

    registry.CloseRegistryKey();
    EXPECT_EQ("", registry.CurrentPath());
    EXPECT_EQ(nullptr, registry.CurrentKey());
}

TEST_F(RegistryTest, HandlesPathsLongerThanOneCallAccepts) {
    std::string deep = entry_;
    for (int level = 0; level < 40; ++level) deep += "\\Level" + std::to_string(level);
    ASSERT_GT(deep.size(), 300u);

    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE, kMachine64Location.view);
    ASSERT_TRUE(registry.OpenRegistryKey(deep, true));
    registry.WriteStringValue("Marker", "deep");
    registry.CloseRegistryKey();
    ASSERT_TRUE(registry.OpenRegistryKey(deep, false));
    EXPECT_EQ("deep", registry.ReadStringValue("Marker"));
    registry.CloseRegistryKey();

    EXPECT_TRUE(registry.DeleteKeyTree(entry_));
    EXPECT_FALSE(KeyExists(entry_));
}

TEST_F(RegistryTest, DeletesATwoLevelTree) {
    CreateKey(entry_ + "\\A\\A1");
    CreateKey(entry_ + "\\A\\A2");
    CreateKey(entry_ + "\\B");
    CreateEntry("Neighbour", {{"DisplayName", "n"}});

    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE, kMachine64Location.view);
    EXPECT_TRUE(registry.DeleteKeyTree(entry_));
    EXPECT_FALSE(KeyExists(entry_));
    EXPECT_TRUE(KeyExists(EntryPath("Neighbour")));
    EXPECT_FALSE(registry.DeleteKeyTree(entry_)) << "a key that is gone cannot be deleted again";
}

TEST_F(RegistryTest, NeverDeletesTheBaseKeyThroughAnEmptyName) {
    CreateEntry("Keep", {{"DisplayName", "k"}});
    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE, kMachine64Location.view);
    EXPECT_FALSE(registry.DeleteKeyTree(std::string(UninstallKeyPath) + "\\"));
    EXPECT_FALSE(registry.DeleteKeyTree(""));
    EXPECT_FALSE(registry.DeleteKeyTree("\\"));
    ASSERT_TRUE(registry.OpenRegistryKey(EntryPath("Keep"), false));
    EXPECT_FALSE(registry.DeleteKeyTree(""));  // relative to the open key
    registry.CloseRegistryKey();
    EXPECT_TRUE(KeyExists(EntryPath("Keep")));
}

TEST_F(RegistryTest, ChoosingTheSameRootKeepsTheOpenKey) {
    CreateKey(entry_);
    TRegistry& registry = OpenSample();
    registry.ChooseRoot(HKEY_LOCAL_MACHINE, kMachine64Location.view);
    EXPECT_NE(nullptr, registry.CurrentKey());
    registry.ChooseRoot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY);
    EXPECT_EQ(nullptr, registry.CurrentKey()) << "another view is another key";
    registry.ChooseRoot(HKEY_CURRENT_USER);
    EXPECT_EQ(nullptr, registry.CurrentKey());
    EXPECT_EQ(HKEY_CURRENT_USER, registry.RootKey());
}

TEST_F(RegistryTest, EveryCallStaysInTheChosenView) {
    for (const TEntryLocation* location : {&kMachine64Location, &kMachine32Location}) {
        CreateEntry(*location, "Same", {{"DisplayName", location->title}});
        CreateEntry(*location, "Same\\Inner\\Deeper", {});
    }
    CreateEntry(kMachine32Location, "Only32", {});

    TRegistry registry;
    registry.ChooseRoot(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY);
    ASSERT_TRUE(registry.OpenRegistryKey(UninstallKeyPath, false));
    TStringList names;
    registry.ListSubkeyNames(names);
    EXPECT_EQ((TStringList{"Only32", "Same"}), names);
    ASSERT_TRUE(registry.OpenRegistryKey("Same", false));
    EXPECT_EQ("32-bit Programs", registry.ReadStringValue("DisplayName"));
    registry.CloseRegistryKey();

    ASSERT_TRUE(registry.OpenRegistryKey(EntryPath("Created\\Below"), true));
    registry.CloseRegistryKey();
    EXPECT_TRUE(KeyExists(kMachine32Location, EntryPath("Created\\Below")));
    EXPECT_FALSE(KeyExists(kMachine64Location, EntryPath("Created")));

    EXPECT_TRUE(registry.DeleteKeyTree(EntryPath("Same")));
    EXPECT_FALSE(KeyExists(kMachine32Location, EntryPath("Same")));
    EXPECT_TRUE(KeyExists(kMachine64Location, EntryPath("Same\\Inner\\Deeper")));
}

TEST(ErrorBoxTextTest, AppendsAPeriodOnlyAfterCharactersThatSortAfterIt) {
    EXPECT_EQ("Unable to write to C:\\x.ini.", ErrorBoxText("Unable to write to C:\\x.ini"));
    EXPECT_EQ("Invalid data type for 'X'", ErrorBoxText("Invalid data type for 'X'"));
    EXPECT_EQ("Done.", ErrorBoxText("Done."));
    EXPECT_EQ("Ends with a dash-", ErrorBoxText("Ends with a dash-"));
    EXPECT_EQ("Ends with digit 7.", ErrorBoxText("Ends with digit 7"));
    EXPECT_EQ("", ErrorBoxText(""));
}

}  // namespace
