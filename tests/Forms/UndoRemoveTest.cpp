// Edit > Undo Remove in the real main window: what Remove took comes back byte for byte, a name
// taken again is refused, and removals in two locations come back in turn, each where it was.
#include "GuiTest.h"

#include "Entries/CodePage.h"

namespace {

struct TRawValue {
    std::wstring name;
    DWORD type;
    std::string data;
};

std::string Utf16Bytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// Every kind of value an installer may leave, with the data the ANSI functions would change or
// cut: text after an embedded null, odd sizes, empty data, the default value, unknown types.
const std::vector<TRawValue> kEveryKindOfValue = {
    {L"DisplayName", REG_SZ, Utf16Bytes(std::wstring(L"Every kind\0", 11))},
    {L"UninstallString", REG_SZ, Utf16Bytes(std::wstring(L"C:\\x\\unins.exe\0after the null\0", 31))},
    {L"", REG_SZ, Utf16Bytes(std::wstring(L"the default value\0", 18))},
    {L"Empty", REG_SZ, ""},
    {L"Odd size", REG_SZ, "abc"},
    {L"Path", REG_EXPAND_SZ, Utf16Bytes(std::wstring(L"%ProgramFiles%\\X\0", 17))},
    {L"Lines", REG_MULTI_SZ, Utf16Bytes(std::wstring(L"one\0two\0\0", 9))},
    {L"Blob", REG_BINARY, std::string("\x00\xFF\x10\x80", 4)},
    {L"Size", REG_DWORD, std::string("\x78\x56\x34\x12", 4)},
    {L"Short number", REG_DWORD, "\x01\x02"},
    {L"Big", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
    {L"Nothing", REG_NONE, ""},
    {L"Own type", 0x12345, "custom"},
    {L"Пример 中文", REG_SZ, Utf16Bytes(std::wstring(L"Ελληνικά\0", 9))},
};

// The entry's subkeys: three deep, with values at every depth.
const wchar_t* const kSubkeys[] = {L"Level1", L"Level1\\Level2", L"Level1\\Level2\\Level3", L"Second"};

std::wstring Wide(const std::string& text) { return WideFromCodePage(CP_UTF8, text); }

TKeyHandle CreateWide(const TEntryLocation& location, const std::wstring& path) {
    TKeyHandle key;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(location.root, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | location.view, nullptr, key.Receive(), nullptr));
    return key;
}

// The values of the key at `path`, read with the raw API in enumeration order; and its subkeys.
std::vector<TRawValue> ReadValues(const TEntryLocation& location, const std::wstring& path, DWORD& subkeys) {
    std::vector<TRawValue> values;
    TKeyHandle key;
    subkeys = 0;
    if (RegOpenKeyExW(location.root, path.c_str(), 0, KEY_READ | location.view, key.Receive()) != ERROR_SUCCESS)
        return values;
    DWORD count = 0;
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &count, nullptr, nullptr,
                     nullptr, nullptr);
    for (DWORD index = 0; index < count; ++index) {
        wchar_t name[256];
        char data[512];
        DWORD nameLength = 256, size = sizeof(data);
        TRawValue value;
        EXPECT_EQ(ERROR_SUCCESS, RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &value.type,
                                               reinterpret_cast<BYTE*>(data), &size));
        value.name.assign(name, nameLength);
        value.data.assign(data, size);
        values.push_back(value);
    }
    return values;
}

class UndoRemoveTest : public MainFormTest {
protected:
    void Command(const char* itemName) {
        SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(MenuId(itemName), 0), 0);
        PumpMessages();
    }
    bool UndoEnabled() { return Form().Menu().IsEnabled(MenuId("EditUndoItem")); }

    void Remove(const char* listName, const std::string& entry, TWhere where = TWhere::current()) {
        ClickEntry(listName, entry, where);
        const TConfirmedRun run = RunWithConfirmation([&] { Command("EditRemoveItem"); }, PressButton(IDOK), where);
        EXPECT_TRUE(run.confirmed && !run.warned) << run.warning.text;
    }

    // The entry with every kind of value at every depth of its subtree.
    static void CreateFullEntry(const TEntryLocation& location, const std::wstring& entry) {
        const std::wstring path = Wide(UninstallKeyPath) + L"\\" + entry;
        std::vector<std::wstring> keys = {path};
        for (const wchar_t* subkey : kSubkeys) keys.push_back(path + L"\\" + subkey);
        for (const std::wstring& keyPath : keys) {
            const TKeyHandle key = CreateWide(location, keyPath);
            for (const TRawValue& value : kEveryKindOfValue)
                ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), value.name.c_str(), 0, value.type,
                                                        reinterpret_cast<const BYTE*>(value.data.data()),
                                                        static_cast<DWORD>(value.data.size())));
        }
    }

    static void ExpectFullEntry(const TEntryLocation& location, const std::wstring& entry) {
        const std::wstring path = Wide(UninstallKeyPath) + L"\\" + entry;
        const struct {
            std::wstring path;
            DWORD subkeys;
        } keys[] = {{path, 2}, {path + L"\\Level1", 1}, {path + L"\\Level1\\Level2", 1},
                    {path + L"\\Level1\\Level2\\Level3", 0}, {path + L"\\Second", 0}};
        for (const auto& key : keys) {
            SCOPED_TRACE(DisplayName(key.path));
            DWORD subkeys = 0;
            const std::vector<TRawValue> values = ReadValues(location, key.path, subkeys);
            EXPECT_EQ(key.subkeys, subkeys);
            ASSERT_EQ(kEveryKindOfValue.size(), values.size());
            for (const TRawValue& expected : kEveryKindOfValue) {
                SCOPED_TRACE(DisplayName(expected.name));
                const auto found = std::find_if(values.begin(), values.end(),
                                                [&](const TRawValue& value) { return value.name == expected.name; });
                ASSERT_NE(values.end(), found);
                EXPECT_EQ(expected.type, found->type);
                EXPECT_EQ(expected.data, found->data);
            }
        }
    }
};

TEST_F(UndoRemoveTest, PutsBackEveryValueAndSubkeyOfTheRemovedEntryByteForByte) {
    CreateFullEntry(kMachine64Location, L"Full");
    CreateEntry("Other", {{"DisplayName", "Other"}, {"UninstallString", "C:\\o\\unins.exe"}});
    Activate();
    EXPECT_FALSE(UndoEnabled()) << "nothing was removed in this run";
    Remove("CEntryList", "Full");
    ASSERT_FALSE(KeyExists(EntryPath("Full")));
    EXPECT_TRUE(UndoEnabled());
    EXPECT_EQ(std::vector<std::string>{"Other"}, Entries("CEntryList"));

    {
        TCtrlDown ctrl(true);
        PressKey(Control("CEntryList"), 'Z');
    }
    ExpectFullEntry(kMachine64Location, L"Full");
    EXPECT_EQ((std::vector<std::string>{"Full", "Other"}), Entries("CEntryList"));
    EXPECT_EQ(0, SelectedIndex("CEntryList")) << "the restored entry is selected";
    EXPECT_EQ("Full", Form().EntryName);
    EXPECT_EQ(kEveryKindOfValue.size(), Rows().size());
    EXPECT_FALSE(UndoEnabled());
}

TEST_F(UndoRemoveTest, RemoveDeletesNothingOfAnEntryWhoseTreeCannotBeReadWhole) {
    CreateEntry("Guarded", {{"DisplayName", "Guarded"}, {"UninstallString", "C:\\g\\unins.exe"}});
    CreateWideKey(EntryPath("Guarded\\Inner"), L"Half \xD83D pair");  // no code page holds a lone surrogate
    Activate();
    ClickEntry("CEntryList", "Guarded");
    const TConfirmedRun run = RunWithConfirmation([&] { Command("EditRemoveItem"); }, PressButton(IDOK));
    ASSERT_TRUE(run.warned);
    EXPECT_EQ("Cannot remove this entry.\r\n'Guarded': this system's code page cannot hold the name of its subkey "
              "'Inner\\Half \xEF\xBF\xBD pair'.",
              run.warning.text);
    EXPECT_TRUE(KeyExists(EntryPath("Guarded\\Inner")));
    EXPECT_EQ(std::vector<std::string>{"Guarded"}, Entries("CEntryList"));
    EXPECT_FALSE(UndoEnabled());
}

TEST_F(UndoRemoveTest, IsRefusedWhileTheNameIsTakenAgainAndChangesNothing) {
    CreateEntry("Taken", {{"DisplayName", "Old"}, {"UninstallString", "C:\\old\\unins.exe"}});
    Activate();
    Remove("CEntryList", "Taken");
    CreateEntry("Taken", {{"DisplayName", "New"}});
    TModalAnswer warning(kFormClassName, "Warning", PressButton(IDOK));
    Command("EditUndoItem");
    ASSERT_TRUE(warning.Answered());
    EXPECT_EQ("Cannot undo the removal: a key named 'Taken' exists again where the entry was.",
              warning.Snapshot().text);
    DWORD subkeys = 0;
    const std::vector<TRawValue> values = ReadValues(kMachine64Location, Wide(EntryPath("Taken")), subkeys);
    ASSERT_EQ(1u, values.size());
    EXPECT_EQ(L"DisplayName", values[0].name);
    EXPECT_TRUE(UndoEnabled()) << "the removal can still be undone once the name is free";
}

TEST_F(UndoRemoveTest, TwoRemovalsInTwoLocationsComeBackInTurnEachWhereItWas) {
    RedirectCurrentUser();
    CreateFullEntry(kMachine64Location, L"Machine app");
    CreateEntry(kUserLocation, "User app", {{"DisplayName", "User app"}});
    Activate();
    Remove("CEntryList", "Machine app");
    Command("ViewUserItem");
    Remove("UEntryList", "User app");
    ASSERT_FALSE(KeyExists(kUserLocation, EntryPath("User app")));
    Command("View64BitItem");

    Command("EditUndoItem");
    EXPECT_TRUE(KeyExists(kUserLocation, EntryPath("User app")));
    EXPECT_FALSE(KeyExists(EntryPath("Machine app"))) << "one step per Undo, the latest first";
    EXPECT_EQ(kUserLocation.root, Form().ShownLocation().root);
    EXPECT_EQ(std::vector<std::string>{"User app"}, Entries("UEntryList"));
    EXPECT_EQ(0, SelectedIndex("UEntryList"));
    EXPECT_TRUE(UndoEnabled());

    Command("EditUndoItem");
    ExpectFullEntry(kMachine64Location, L"Machine app");
    EXPECT_TRUE(SameLocation(kMachine64Location, Form().ShownLocation()));
    EXPECT_EQ("Machine app", Form().EntryName);
    EXPECT_FALSE(KeyExists(kMachine32Location, EntryPath("Machine app"))) << "nowhere else";
    EXPECT_FALSE(UndoEnabled());
}

}  // namespace
