// The View menu's locations in the real main window: the machine's 64-bit and 32-bit views and
// the current user's entries, each with an entry of the same name, listed, shown, removed and
// uninstalled only where they are; and the menu of 32-bit Windows.
#include "GuiTest.h"

#include "Entries/ExecApp.h"
#include "Win/Controls.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct TLocationRow {
    const char* label;
    const TEntryLocation& location;
    const char* itemName;  // the View item that shows it
    char shortCutDigit;    // with Ctrl
    const char* caption;   // of the window while it is shown
};

std::vector<std::string> shellLines;  // file + " " + parameters of each ShellRun

HINSTANCE WINAPI RecordShellLine(HWND, LPCSTR, LPCSTR file, LPCSTR params, LPCSTR, INT) {
    shellLines.push_back(std::string(file) + " " + params);
    return reinterpret_cast<HINSTANCE>(42);
}

const TLocationRow kLocations[] = {
    {"64-bit view", kMachine64Location, "View64BitItem", '1', "Tarnwick"},
    {"32-bit view", kMachine32Location, "View32BitItem", '2', "Tarnwick - 32-bit Programs"},
    {"current user", kUserLocation, "ViewUserItem", '3', "Tarnwick - User Programs"},
};

class EntryLocationsTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        RedirectCurrentUser();
    }
    void TearDown() override {
        SetShellExecuteFunction(nullptr);
        MainFormTest::TearDown();
    }

    // The same key name in every location, told apart by its DisplayName, with a subkey; and
    // one entry that only the location has.
    static void CreateSameNamedEntries() {
        for (const TLocationRow& row : kLocations) {
            CreateEntry(row.location, "Same", {{"DisplayName", row.label}, {"UninstallString", "C:\\same\\unins.exe"}});
            CreateEntry(row.location, "Same\\Inner", {{"Kept", "yes"}});
            CreateEntry(row.location, std::string("Only ") + row.label, {{"DisplayName", "x"}});
        }
    }


    bool Checked(const char* itemName) {
        return GetMenuState(Form().Menu().Handle(), static_cast<UINT>(MenuId(itemName)), MF_BYCOMMAND) & MF_CHECKED;
    }

    std::string Caption() { return WindowText(Form().Handle()); }

    // The captions of the View menu's items as the menu shows them.
    std::vector<std::string> ViewMenuTexts() {
        const TMainMenu::TItem* view = Form().Menu().FindItem("ViewMenu");
        std::vector<std::string> texts;
        if (!view) return texts;
        for (int index = 0; index < GetMenuItemCount(view->popup); ++index) {
            char text[128] = "";
            GetMenuStringA(view->popup, static_cast<UINT>(index), text, sizeof(text), MF_BYPOSITION);
            texts.push_back(text);
        }
        return texts;
    }

    void ExpectNothingSelected() {
        EXPECT_EQ(-1, SelectedIndex("CEntryList"));
        EXPECT_EQ(-1, SelectedIndex("UEntryList"));
        EXPECT_TRUE(Rows().empty());
        EXPECT_EQ("", Form().EntryName);
        EXPECT_EQ(0u, InfoText().rfind("NO SELECTED ENTRY\r\n", 0)) << InfoText();
    }

    // The user answers the command's confirmation with OK; true when no warning followed.
    bool RunConfirmed(const char* itemName, TWhere where = TWhere::current()) {
        const TConfirmedRun run = RunWithConfirmation([&] { Command(itemName); }, PressButton(IDOK), where);
        return run.confirmed && !run.warned;
    }
};

TEST_F(EntryLocationsTest, TheViewMenuSwitchesLocationsAndTheCaptionTellsWhichIsShown) {
    EXPECT_EQ((std::vector<std::string>{"&64-bit Programs\tCtrl+1", "&32-bit Programs\tCtrl+2",
                                        "&User Programs\tCtrl+3"}),
              ViewMenuTexts());
    EXPECT_EQ("Tarnwick", Caption()) << "the program starts on the native machine view";
    EXPECT_TRUE(Checked("View64BitItem"));
    EXPECT_EQ(KEY_WOW64_64KEY, Form().ShownLocation().view);

    // Each short cut, from the last location to the first, so every switch changes something.
    for (const TLocationRow* row = std::end(kLocations); row-- != std::begin(kLocations);) {
        SCOPED_TRACE(row->label);
        {
            TCtrlDown ctrl(true);
            PressKey(Control("CEntryList"), static_cast<UINT>(row->shortCutDigit));
        }
        EXPECT_EQ(row->caption, Caption());
        EXPECT_EQ(row->location.root, Form().ShownLocation().root);
        EXPECT_EQ(row->location.view, Form().ShownLocation().view);
        for (const TLocationRow& other : kLocations)
            EXPECT_EQ(&other == row, Checked(other.itemName)) << other.itemName;
    }
}

TEST_F(EntryLocationsTest, EachLocationListsAndShowsOnlyItsOwnEntries) {
    CreateSameNamedEntries();
    for (const TLocationRow& row : kLocations) {
        SCOPED_TRACE(row.label);
        Command(row.itemName);
        EXPECT_EQ(std::vector<std::string>{"Same"}, Entries("CEntryList"));
        EXPECT_EQ(std::vector<std::string>{std::string("Only ") + row.label}, Entries("UEntryList"));
        ClickEntry("CEntryList", "Same");
        const std::vector<TRow> rows = Rows();
        const auto displayName = std::find_if(rows.begin(), rows.end(), [](const TRow& shown) {
            return shown.caption == "DisplayName";
        });
        ASSERT_NE(rows.end(), displayName);
        EXPECT_EQ(row.label, displayName->value);
        // A switch clears the selection and the details as a refresh does.
        Command(row.itemName);
        ExpectNothingSelected();
        EXPECT_EQ(std::vector<std::string>{"Same"}, Entries("CEntryList"));
    }
}

TEST_F(EntryLocationsTest, RemoveDeletesTheEntryOfTheShownLocationOnly) {
    for (const TLocationRow& row : kLocations) {
        SCOPED_TRACE(row.label);
        CreateSameNamedEntries();
        Command(row.itemName);
        ClickEntry("CEntryList", "Same");
        ASSERT_TRUE(RunConfirmed("EditRemoveItem"));
        EXPECT_TRUE(Entries("CEntryList").empty());
        for (const TLocationRow& other : kLocations) {
            const bool removed = &other == &row;
            EXPECT_EQ(!removed, KeyExists(other.location, EntryPath("Same"))) << other.label;
            EXPECT_EQ(!removed, KeyExists(other.location, EntryPath("Same\\Inner"))) << other.label;
        }
    }
}

TEST_F(EntryLocationsTest, LinksAndUninstallWorkInEveryLocation) {
    constexpr bool is32BitBuild = sizeof(void*) == 4;
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string installer = std::string(windows) + "\\system32\\msiexec.exe";
    // The 64-bit build finds a 32-bit-view entry's system program in SysWOW64, which a prefix
    // without wine32 leaves empty; the 32-bit build starts a 64-bit-view entry's through Sysnative.
    const std::string wow64Installer = std::string(windows) + "\\SysWOW64\\msiexec.exe";
    const std::string nativeInstaller = std::string(windows) + "\\Sysnative\\msiexec.exe";
    const bool placed = !is32BitBuild && CopyFileA(installer.c_str(), wow64Installer.c_str(), TRUE);
    SetShellExecuteFunction(RecordShellLine);
    for (const TLocationRow& row : kLocations) {
        SCOPED_TRACE(row.label);
        const bool wow64 = !is32BitBuild && &row.location == &kMachine32Location;
        const bool throughSysnative = is32BitBuild && IsWindows64() && &row.location == &kMachine64Location;
        const std::string code = std::string("{") + row.shortCutDigit + "}";
        CreateEntry(row.location, "Installed", {{"DisplayName", "App"}, {"UninstallString", installer + " /x " + code}});
        Command(row.itemName);
        ClickEntry("CEntryList", "Installed");
        EXPECT_EQ(lsExistingLink, Form().LinkState);
        EXPECT_EQ(wow64 ? wow64Installer : installer, Form().UninstallCommand);
        shellLines.clear();
        ASSERT_TRUE(RunConfirmed("EditUninstallItem"));
        const std::string launched = wow64 ? wow64Installer : throughSysnative ? nativeInstaller : installer;
        EXPECT_EQ(std::vector<std::string>{launched + " /x " + code}, shellLines);
    }
    if (placed) DeleteFileA(wow64Installer.c_str());
}

TEST_F(EntryLocationsTest, AMissingUninstallKeyShowsEmptyListsQuietly) {
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyExA(HKEY_LOCAL_MACHINE, UninstallKeyPath, KEY_WOW64_64KEY, 0));
    ASSERT_FALSE(KeyExists(kMachine32Location, UninstallKeyPath)) << "as in a prefix without a 32-bit hive";
    for (const TLocationRow& row : kLocations) {
        if (&row.location == &kUserLocation) continue;
        SCOPED_TRACE(row.label);
        TModalAnswer errorBox(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
        Command(row.itemName);
        EXPECT_TRUE(Entries("CEntryList").empty());
        EXPECT_TRUE(Entries("UEntryList").empty());
        ExpectNothingSelected();
        EXPECT_FALSE(errorBox.Answered()) << errorBox.Snapshot().text;
    }
}

TEST_F(EntryLocationsTest, HighlightedViewItemsShowTheirHints) {
    const TMainMenu::TItem* user = Form().Menu().FindItem("ViewUserItem");
    ASSERT_NE(nullptr, user);
    SendMessageA(Form().Handle(), WM_MENUSELECT, MAKEWPARAM(user->id, MF_HILITE), reinterpret_cast<LPARAM>(user->parent));
    EXPECT_EQ("Show the entries of the programs installed for the current user", StatusText());
}

TEST_F(EntryLocationsTest, On32BitWindowsOneMachineItemShowsTheMachineEntries) {
    CreateSameNamedEntries();
    OpenForm(true, false);
    EXPECT_EQ((std::vector<std::string>{"&Machine Programs\tCtrl+1", "&User Programs\tCtrl+3"}), ViewMenuTexts());
    EXPECT_EQ("Tarnwick", Caption());
    EXPECT_TRUE(Checked("ViewMachineItem"));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, Form().ShownLocation().root);
    EXPECT_EQ(0u, Form().ShownLocation().view) << "32-bit Windows has one view";
    Activate();
    EXPECT_EQ(std::vector<std::string>{"Same"}, Entries("CEntryList"));
    {
        TCtrlDown ctrl(true);
        PressKey(Control("CEntryList"), '2');
    }
    EXPECT_EQ("Tarnwick", Caption()) << "Ctrl+2 shows nothing else";
    Command("ViewUserItem");
    EXPECT_EQ("Tarnwick - User Programs", Caption());
    EXPECT_TRUE(Checked("ViewUserItem"));
    EXPECT_FALSE(Checked("ViewMachineItem"));
    EXPECT_EQ(std::vector<std::string>{"Only current user"}, Entries("UEntryList"));
}

}  // namespace
