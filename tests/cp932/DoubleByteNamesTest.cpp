// Registry names in a double-byte ANSI code page (932): this program has no UTF-8 manifest and
// runs under a Japanese locale, as the program itself does on an older Japanese system.
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

}  // namespace
