// The entry lists, the details list and the information box of the main window against a
// scratch registry: classification, one selection, details order and the automatic check,
// the space key, values that are not text, and each link state's text and colour.
#include "GuiTest.h"

#include "Win/Application.h"
#include "Win/Controls.h"

#include <algorithm>
#include <utility>

namespace {

constexpr COLORREF kBlack = 0x000000, kNavy = 0x800000, kOlive = 0x008080, kMaroon = 0x000080;

class EntryViewsTest : public MainFormTest {
protected:
    // The text colour, background colour and brush the window gives the information box.
    struct TInfoColors {
        COLORREF text;
        COLORREF background;
        LRESULT brush;
    };
    TInfoColors InfoColors() {
        HDC dc = CreateCompatibleDC(nullptr);
        const LRESULT brush = SendMessageA(Form().Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(Control("InfoMemo")));
        const TInfoColors colors{GetTextColor(dc), GetBkColor(dc), brush};
        DeleteDC(dc);
        return colors;
    }

    std::vector<std::string> Captions() {
        std::vector<std::string> captions;
        for (const TRow& row : Rows()) captions.push_back(row.caption);
        return captions;
    }

    std::vector<std::string> CheckedCaptions() {
        std::vector<std::string> checked;
        for (const TRow& row : Rows())
            if (row.checked) checked.push_back(row.caption);
        return checked;
    }

    // Opens the entry from whichever list holds it.
    void Open(const std::string& entry) {
        const auto conventional = Entries("CEntryList");
        const bool inConventional = std::find(conventional.begin(), conventional.end(), entry) != conventional.end();
        ClickEntry(inConventional ? "CEntryList" : "UEntryList", entry);
    }

    // The focused row of the details list becomes `row`, the details list has the focus, and
    // the space key is pressed.
    void PressSpaceOn(int row) {
        HWND details = Control("DEntryList");
        SetFocus(details);
        LVITEMA state{};
        state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
        state.state = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageA(details, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
        PressKey(details, VK_SPACE);
    }

    // A path that names no file (its folder exists), and a temporary file that exists.
    static std::string TempPath(const char* name) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        return std::string(temp) + name;
    }
};

TEST_F(EntryViewsTest, EntriesAreClassifiedByDisplayNameAndUninstallString) {
    CreateEntry("beta", {{"DisplayName", "Beta"}, {"UninstallString", "C:\\Beta\\unins.exe"}});
    CreateEntry("Alpha", {{"DisplayName", "Alpha"}, {"UninstallString", ""}});
    CreateEntry("NameOnly", {{"DisplayName", "Name only"}});
    CreateEntry("CommandOnly", {{"UninstallString", "C:\\x.exe"}});
    CreateKey(EntryPath("Bare"));
    SetString(EntryPath("Expanded"), "DisplayName", "%ProgramFiles%\\x", REG_EXPAND_SZ);
    SetRaw(EntryPath("Expanded"), "UninstallString", REG_BINARY, "\x01", 1);
    SetString(EntryPath("Dword"), "DisplayName", "Dword");
    SetDword(EntryPath("Dword"), "UninstallString", 1);
    Activate();
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "Dword", "Expanded"}), Entries("CEntryList"));
    EXPECT_EQ((std::vector<std::string>{"Bare", "CommandOnly", "NameOnly"}), Entries("UEntryList"));
}

TEST_F(EntryViewsTest, EveryValueGetsARowAndNumbersAreNoError) {
    // The shape real installers leave: numbers and other data beside the strings, some of
    // them enumerated before UninstallString.
    const std::string entry = EntryPath("Installed");
    SetDword(entry, "EstimatedSize", 10);
    const ULONGLONG qword = 0x0000001234ABCDEFull;
    SetRaw(entry, "Qword", REG_QWORD, &qword, sizeof(qword));
    SetRaw(entry, "Binary", REG_BINARY, "\x01\xab\xff", 3);
    SetRaw(entry, "Multi", REG_MULTI_SZ, "one\0two words\0\0", 16);
    SetRaw(entry, "EmptyDword", REG_DWORD, nullptr, 0);
    SetString(entry, "EmptySz", "");
    SetRaw(entry, "Odd", 99, "\x05\x06", 2);
    SetString(entry, "DisplayName", "Installed");
    SetString(entry, "UninstallString", "C:\\windows\\notepad.exe /x");
    Activate();
    {
        TModalAnswer errorBox(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
        ClickEntry("CEntryList", "Installed");
        EXPECT_FALSE(errorBox.Answered()) << errorBox.Snapshot().text;
    }
    std::vector<std::pair<std::string, std::string>> shown;
    for (const TRow& row : Rows()) shown.emplace_back(row.caption, row.value);
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{
                  {"Binary", "01 ab ff"},
                  {"DisplayName", "Installed"},
                  {"EmptyDword", ""},
                  {"EmptySz", ""},
                  {"EstimatedSize", "0x0000000a (10)"},
                  {"Multi", "one two words"},
                  {"Odd", "05 06"},
                  {"Qword", "0x0000001234abcdef (78193085935)"},
                  {"UninstallString", "C:\\windows\\notepad.exe /x"},
              }),
              shown);
    EXPECT_EQ(std::vector<std::string>{"UninstallString"}, CheckedCaptions());
    EXPECT_EQ(lsExistingLink, Form().LinkState);
    EXPECT_EQ("/x", Form().UninstallParams);

    // A number checked by the user is no command: it is told once, and resolves as none.
    PressSpaceOn(8);  // UninstallString off
    EXPECT_EQ(lsNoCheckedItem, Form().LinkState);
    {
        TModalAnswer errorBox(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
        PressSpaceOn(4);  // EstimatedSize on
        ASSERT_TRUE(errorBox.Answered()) << "the error box did not appear";
        EXPECT_EQ("Invalid data type for 'EstimatedSize'", errorBox.Snapshot().text);
    }
    EXPECT_EQ(std::vector<std::string>{"EstimatedSize"}, CheckedCaptions());
    EXPECT_EQ(lsInvalidLink, Form().LinkState);
    EXPECT_EQ("", Form().UninstallCommand);
    EXPECT_EQ("", Form().UninstallParams);

    // An empty number holds no data to refuse: it is an empty command, as an empty string is.
    PressSpaceOn(4);
    {
        TModalAnswer errorBox(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
        PressSpaceOn(2);  // EmptyDword on
        EXPECT_FALSE(errorBox.Answered()) << errorBox.Snapshot().text;
    }
    EXPECT_EQ(lsInvalidLink, Form().LinkState);
    EXPECT_EQ("", Form().UninstallCommand);
}

TEST_F(EntryViewsTest, AnUninstallStringStoredAsANumberIsToldAndIsNoCommand) {
    CreateEntry("Broken", {{"DisplayName", "Broken"}, {"Publisher", "Someone"}, {"Zeta", "after it"}});
    SetDword(EntryPath("Broken"), "UninstallString", 7);
    CreateEntry("Sound", {{"DisplayName", "Sound"}, {"UninstallString", "C:\\Sound\\unins.exe"}});
    Activate();
    {
        TModalAnswer errorBox(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
        ClickEntry("CEntryList", "Broken");
        ASSERT_TRUE(errorBox.Answered()) << "the error box did not appear";
        EXPECT_EQ("Invalid data type for 'UninstallString'", errorBox.Snapshot().text);
        EXPECT_EQ(std::vector<std::string>{"OK"}, errorBox.Snapshot().buttons);
        EXPECT_EQ(LoadIconA(nullptr, IDI_ERROR), errorBox.Snapshot().icon);
    }
    EXPECT_EQ((std::vector<std::string>{"DisplayName", "Publisher", "UninstallString", "Zeta"}), Captions());
    EXPECT_EQ("0x00000007 (7)", Rows()[2].value);
    EXPECT_EQ(std::vector<std::string>{"UninstallString"}, CheckedCaptions());
    EXPECT_EQ("Broken", Form().EntryName);
    EXPECT_EQ(lsInvalidLink, Form().LinkState);
    EXPECT_EQ("", Form().UninstallCommand);
    EXPECT_EQ("", Form().UninstallParams);
    EXPECT_TRUE(Form().Menu().IsEnabled(MenuId("EditRemoveItem")));
    {
        // A click that keeps the number checked tells nothing new.
        TModalAnswer errorBox(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
        NMITEMACTIVATE click{};
        click.hdr = {Control("DEntryList"), static_cast<UINT_PTR>(GetDlgCtrlID(Control("DEntryList"))),
                     static_cast<UINT>(NM_CLICK)};
        click.iItem = 0;
        SendMessageA(Form().Handle(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        PumpMessages();
        EXPECT_FALSE(errorBox.Answered());
    }

    ClickEntry("CEntryList", "Sound");
    EXPECT_EQ((std::vector<std::string>{"DisplayName", "UninstallString"}), Captions()) << "the details take new loads";
    EXPECT_EQ("Sound", Form().EntryName);
}

TEST_F(EntryViewsTest, AValueWhoseNameCannotReachItGetsNoRowAndIsReported) {
    CreateEntry("Mixed", {{"DisplayName", "Mixed"}, {"UninstallString", "C:\\mixed\\unins.exe"}});
    TKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryPath("Mixed").c_str(), 0, KEY_SET_VALUE,
                                           key.Receive()));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.Get(), L"Half \xD83D", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(L"x"), 2 * sizeof(wchar_t)));
    Activate();
    {
        TModalAnswer answer(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
        ClickEntry("CEntryList", "Mixed");
        ASSERT_TRUE(answer.Answered()) << "the error box did not appear";
        EXPECT_EQ("This system cannot handle the value name 'Half \xEF\xBF\xBD'", answer.Snapshot().text);
    }
    EXPECT_EQ((std::vector<std::string>{"DisplayName", "UninstallString"}), Captions());
    EXPECT_EQ(lsInvalidLink, Form().LinkState);
}

TEST_F(EntryViewsTest, OnlyOneListShowsASelection) {
    CreateEntry("Conventional", {{"DisplayName", "C"}, {"UninstallString", "C:\\c.exe"}});
    CreateEntry("Unconventional", {{"DisplayName", "U"}});
    Activate();
    ClickEntry("CEntryList", "Conventional");
    EXPECT_EQ(0, SelectedIndex("CEntryList"));
    EXPECT_EQ(-1, SelectedIndex("UEntryList"));
    ClickEntry("UEntryList", "Unconventional");
    EXPECT_EQ(-1, SelectedIndex("CEntryList"));
    EXPECT_EQ(0, SelectedIndex("UEntryList"));
    EXPECT_EQ("Unconventional", Form().EntryName);
    EXPECT_EQ(std::vector<std::string>{"DisplayName"}, Captions());
}

TEST_F(EntryViewsTest, DetailsAreSortedAndTheUninstallCommandIsChecked) {
    const struct {
        const char* label;
        std::vector<std::pair<std::string, std::string>> values;
        std::vector<std::string> shown;
        std::vector<std::string> checked;
    } rows[] = {
        {"the usual three",
         {{"URLInfoAbout", "http://x"}, {"UninstallString", "C:\\u.exe"}, {"DisplayName", "App"}},
         {"DisplayName", "UninstallString", "URLInfoAbout"},
         {"UninstallString"}},
        {"lower case name", {{"uninstallstring", "C:\\u.exe"}, {"DisplayName", "App"}}, {"DisplayName", "uninstallstring"},
         {"uninstallstring"}},
        {"name containing it", {{"MyUninstallStringOld", "C:\\u.exe"}, {"DisplayName", "App"}},
         {"DisplayName", "MyUninstallStringOld"}, {"MyUninstallStringOld"}},
        {"containment is case-sensitive", {{"MyUninstallstringOld", "C:\\u.exe"}}, {"MyUninstallstringOld"}, {}},
        {"the first one enumerated wins", {{"UninstallString", "C:\\u.exe"}, {"QuietUninstallString", "C:\\u.exe /S"}},
         {"QuietUninstallString", "UninstallString"}, {"QuietUninstallString"}},
        {"no values", {}, {}, {}},
    };
    int number = 0;
    for (const auto& row : rows) CreateEntry("Entry" + std::to_string(++number), row.values);
    Activate();
    number = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        Open("Entry" + std::to_string(++number));
        EXPECT_EQ(row.shown, Captions());
        EXPECT_EQ(row.checked, CheckedCaptions());
    }
}

TEST_F(EntryViewsTest, TheCheckFollowsEnumerationOrderNotDisplayOrder) {
    CreateEntry("Tilde", {{"~UninstallString", "C:\\tilde.exe"}, {"UninstallString", "C:\\plain.exe"}});
    // Preconditions that make the two orders differ on this platform.
    TKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryPath("Tilde").c_str(), 0, KEY_READ, key.Receive()));
    char first[64] = "";
    DWORD size = sizeof(first);
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(key.Get(), 0, first, &size, nullptr, nullptr, nullptr, nullptr));
    ASSERT_STREQ("UninstallString", first);
    ASSERT_LT(lstrcmpA("~UninstallString", "UninstallString"), 0);

    Activate();
    Open("Tilde");
    EXPECT_EQ((std::vector<std::string>{"~UninstallString", "UninstallString"}), Captions());
    EXPECT_EQ(std::vector<std::string>{"UninstallString"}, CheckedCaptions());
}

TEST_F(EntryViewsTest, ValuesShowTheirStringDataUnexpanded) {
    CreateKey(EntryPath("Data"));
    SetRaw(EntryPath("Data"), "Empty", REG_SZ, "", 0);
    SetString(EntryPath("Data"), "Expand", "%SystemRoot%\\x.exe", REG_EXPAND_SZ);
    SetRaw(EntryPath("Data"), "NoData", REG_DWORD, nullptr, 0);
    SetString(EntryPath("Data"), "", "default");
    Activate();
    Open("Data");
    const std::vector<TRow> rows = Rows();
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ("", rows[0].caption);
    EXPECT_EQ("default", rows[0].value);
    EXPECT_EQ("Empty", rows[1].caption);
    EXPECT_EQ("", rows[1].value);
    EXPECT_EQ("%SystemRoot%\\x.exe", rows[2].value);
    EXPECT_EQ("", rows[3].value);
}

TEST_F(EntryViewsTest, SpaceTogglesACheckAndReevaluatesAtOnce) {
    const std::string missing = TempPath("twk-no-such-uninstaller.exe");
    CreateEntry("App", {{"DisplayName", "App"}, {"UninstallString", missing + " /S"}});
    Activate();
    Open("App");
    ASSERT_EQ(lsInvalidLink, Form().LinkState);
    EXPECT_EQ(missing, Form().UninstallCommand);
    EXPECT_EQ("/S", Form().UninstallParams);

    PressSpaceOn(1);
    EXPECT_TRUE(CheckedCaptions().empty());
    EXPECT_EQ(lsNoCheckedItem, Form().LinkState);
    EXPECT_EQ("", Form().UninstallCommand) << "the resolved command is cleared";
    EXPECT_EQ("NO CHECKED ITEM\r\nCheck the uninstall command or select this entry again.", InfoText());

    PressSpaceOn(1);
    EXPECT_EQ(lsInvalidLink, Form().LinkState);
    PressSpaceOn(0);
    EXPECT_EQ(lsTooManyCheckedItems, Form().LinkState);
    EXPECT_EQ("", Form().UninstallParams);
}

TEST_F(EntryViewsTest, AClickOnACheckBoxReevaluatesWithTheNewMark) {
    CreateEntry("App", {{"DisplayName", "App"}, {"UninstallString", "C:\\u.exe"}});
    Activate();
    Open("App");
    ASSERT_EQ(lsInvalidLink, Form().LinkState);
    HWND details = Control("DEntryList");
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageA(details, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    LVHITTESTINFO hit{};
    hit.pt = {row.left + 8, (row.top + row.bottom) / 2};
    SendMessageA(details, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    ASSERT_EQ(1, hit.iItem);
    ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON);
    // The list view follows the mouse until the button comes up: that message must be waiting.
    PostMessageA(details, WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
    SendMessageA(details, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
    PumpMessages();
    EXPECT_TRUE(CheckedCaptions().empty());
    EXPECT_EQ(lsNoCheckedItem, Form().LinkState);
}

TEST_F(EntryViewsTest, TheInformationBoxTellsEachStateInItsColour) {
    const std::string existing = TempPath("twk-existing-unins.exe");
    const std::string existingInScript = TempPath("twk-卸载 программы.exe");
    for (const std::string& path : {existing, existingInScript}) {
        TFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file.IsValid()) << path;
    }
    CreateEntry("Existing", {{"DisplayName", "E"}, {"UninstallString", existing + " /remove"}});
    CreateEntry("Существующий", {{"DisplayName", "E"}, {"UninstallString", "\"" + existingInScript + "\" /x"}});
    CreateWideKey(UninstallKeyPath, L"Half \xD83D pair");
    CreateEntry("Gone", {{"DisplayName", "G"}, {"UninstallString", TempPath("twk-gone\\unins000.exe")}});
    CreateEntry("OnCd", {{"DisplayName", "CD"}, {"UninstallString", "E:\\SETUP\\REMOVE.EXE"}});
    CreateEntry("Unchecked", {{"DisplayName", "Nothing to check"}});
    CreateKey(EntryPath("NoValues"));
    CreateEntry("Vanishing", {{"DisplayName", "V"}});

    const struct {
        const char* entry;  // nullptr: a refresh
        bool deleteFirst;   // the key goes between the refresh and the click
        LinkState state;
        const char* heading;
        COLORREF colour;
    } rows[] = {
        {nullptr, false, lsNoSelectedEntry, "NO SELECTED ENTRY", kBlack},
        {"Existing", false, lsExistingLink, "EXISTING LINK", kNavy},
        {"Существующий", false, lsExistingLink, "EXISTING LINK", kNavy},
        {"Half \xEF\xBF\xBD pair", false, lsUnsupportedName, "UNSUPPORTED NAME", kMaroon},
        {"Gone", false, lsInvalidLink, "INVALID LINK", kMaroon},
        {"OnCd", false, lsMissingDisk, "MISSING DISK", kOlive},
        {"Unchecked", false, lsNoCheckedItem, "NO CHECKED ITEM", kBlack},
        {"NoValues", false, lsEmptyList, "EMPTY LIST", kNavy},
        {"Vanishing", true, lsEmptyList, "EMPTY LIST", kNavy},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry ? row.entry : "refresh");
        if (row.deleteFirst) DeleteEntry(row.entry);
        if (row.entry)
            Open(row.entry);
        else
            Activate();
        EXPECT_EQ(row.state, Form().LinkState);
        EXPECT_EQ(0u, InfoText().rfind(std::string(row.heading) + "\r\n", 0)) << InfoText();
        const TInfoColors colors = InfoColors();
        EXPECT_EQ(row.colour, colors.text);
        EXPECT_EQ(GetSysColor(COLOR_BTNFACE), colors.background);
        EXPECT_EQ(reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)), colors.brush);
    }
    Open("Existing");
    EXPECT_EQ(existing, Form().UninstallCommand);
    EXPECT_EQ("/remove", Form().UninstallParams);
    ASSERT_TRUE(DeleteFileA(existingInScript.c_str()));
    ASSERT_TRUE(DeleteFileA(existing.c_str()));
    Open("Existing");
    EXPECT_EQ(lsInvalidLink, Form().LinkState) << "the same path with the file deleted";
}

TEST_F(EntryViewsTest, ValuesOfTheUninstallKeyItselfAreNoSelection) {
    SetString(UninstallKeyPath, "Stray", "C:\\stray.exe");
    CreateEntry("App", {{"DisplayName", "App"}, {"UninstallString", "C:\\u.exe"}});
    Activate();
    EXPECT_EQ(std::vector<std::string>{"Stray"}, Captions());
    EXPECT_EQ(lsNoSelectedEntry, Form().LinkState);
    EXPECT_FALSE(Form().Menu().IsEnabled(MenuId("EditRemoveItem")));
}

}  // namespace
