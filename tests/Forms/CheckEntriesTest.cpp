// The Check Entries dialog over the real main window and a scratch registry: the rows and states
// listed (a CD-ROM drive E: with no disk among them), the check marks it starts with and refuses,
// sorting, Remove Checked with its confirmation, failures and one Undo, Cancel, and the way back to the
// main window.
#include "GuiTest.h"

#include "Forms/CheckEntries.h"
#include "Win/Application.h"
#include "Win/Controls.h"

#include <memory>

namespace {

const std::string kUnsupportedName = "Half \xEF\xBF\xBD pair";  // as a lone surrogate is listed

class CheckEntriesTest : public MainFormTest {
protected:
    struct TShownRow {
        std::string name, displayName, state, command;
        bool checked;
        bool operator==(const TShownRow&) const = default;
    };

    // Opens the dialog over the main window, not modal, and lets the check run.
    std::unique_ptr<TCheckEntriesForm> OpenDialog(bool runCheck = true) {
        auto dialog = std::make_unique<TCheckEntriesForm>(
            Form().Handle(), Form().ShownLocation(), [this](const std::vector<std::string>& names) {
                removals_.push_back(names);
                return Form().RemoveEntries(names);
            });
        dialog->Show();
        if (runCheck) PumpMessages();
        return dialog;
    }

    static std::vector<TShownRow> ShownRows(const TCheckEntriesForm& dialog) {
        HWND list = dialog.FindControl("EntryList");
        std::vector<TShownRow> rows;
        for (int row = 0; row < ListViewRowCount(list); ++row)
            rows.push_back({ListViewText(list, row, 0), ListViewText(list, row, 1), ListViewText(list, row, 2),
                            ListViewText(list, row, 3), ListViewChecked(list, row)});
        return rows;
    }
    static std::vector<std::string> ShownNames(const TCheckEntriesForm& dialog) {
        std::vector<std::string> names;
        for (const TShownRow& row : ShownRows(dialog)) names.push_back(row.name);
        return names;
    }
    static int RowOf(const TCheckEntriesForm& dialog, const std::string& name) {
        const std::vector<std::string> names = ShownNames(dialog);
        return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    }
    static void ClickButton(const TCheckEntriesForm& dialog, const char* name) {
        HWND button = dialog.FindControl(name);
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        PumpMessages();
    }
    static void ClickHeader(const TCheckEntriesForm& dialog, int column) {
        NMLISTVIEW click{};
        click.hdr.hwndFrom = dialog.FindControl("EntryList");
        click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(click.hdr.hwndFrom));
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageA(dialog.Handle(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    }

    static void CreateBrokenEntry(const std::string& name) {
        CreateEntry(name, {{"DisplayName", name}, {"UninstallString", "C:\\gone\\" + name + "\\unins.exe"}});
    }

    std::vector<std::vector<std::string>> removals_;
};

TEST_F(CheckEntriesTest, ListsEveryEntryWhoseUninstallerIsNotThereWithItsStateAndASafeCheckMark) {
    CreateEntry("Existing", {{"DisplayName", "Existing"}, {"UninstallString", "MsiExec.exe /X{1234}"}});
    CreateEntry("Gone", {{"DisplayName", "Gone App"}, {"UninstallString", "\"C:\\nowhere\\unins.exe\" /S"}});
    CreateEntry("OnCd", {{"DisplayName", "Disk App"}, {"UninstallString", "E:\\SETUP\\REMOVE.BAT"}});
    CreateEntry("Update", {{"DisplayName", "Update for Gone"}, {"ParentKeyName", "Gone"}});
    CreateKey(EntryPath("Bare"));
    SetDword(EntryPath("System"), "SystemComponent", 1);
    CreateEntry("Number", {{"DisplayName", "Numbered"}});
    SetDword(EntryPath("Number"), "UninstallString", 7);
    CreateWideKey(UninstallKeyPath, L"Half \xD83D pair");
    Activate();
    const auto dialog = OpenDialog();
    ASSERT_FALSE(dialog->Checking());

    const std::vector<TShownRow> expected = {
        {"Bare", "", "No uninstall command", "", false},
        {"Gone", "Gone App", "INVALID LINK", "\"C:\\nowhere\\unins.exe\" /S", true},
        {kUnsupportedName, "", "UNSUPPORTED NAME", "", false},
        {"Number", "Numbered", "Not text", "0x00000007 (7)", false},
        {"OnCd", "Disk App", "MISSING DISK: the disk may come back", "E:\\SETUP\\REMOVE.BAT", false},
        {"System", "", "No uninstall command (SystemComponent = 0x00000001 (1))", "", false},
        {"Update", "Update for Gone", "No uninstall command (ParentKeyName = Gone)", "", false},
    };
    EXPECT_EQ(expected, ShownRows(*dialog));
    EXPECT_EQ("8 entries checked, 7 listed", WindowText(dialog->FindControl("SummaryLabel")));

    // Every row can be checked and unchecked, but a name that reaches no key can never be checked.
    HWND list = dialog->FindControl("EntryList");
    for (int row = 0; row < ListViewRowCount(list); ++row) {
        SCOPED_TRACE(ListViewText(list, row, 0));
        ListViewSetChecked(list, row, true);
        EXPECT_EQ(expected[static_cast<size_t>(row)].name != kUnsupportedName, ListViewChecked(list, row));
        ListViewSetChecked(list, row, false);
        EXPECT_FALSE(ListViewChecked(list, row));
    }

    // A header click sorts by its column; a second click turns the order round.
    ClickHeader(*dialog, 2);
    std::vector<std::string> byState = ShownNames(*dialog);
    EXPECT_EQ("Gone", byState.front());
    EXPECT_EQ(kUnsupportedName, byState.back());
    ClickHeader(*dialog, 2);
    std::reverse(byState.begin(), byState.end());
    EXPECT_EQ(byState, ShownNames(*dialog));
}

TEST_F(CheckEntriesTest, RemoveCheckedDeletesExactlyTheCheckedTreesAndGoesOnPastAFailure) {
    for (const char* name : {"Gone1", "Gone2", "Gone3"}) CreateBrokenEntry(name);
    CreateKey(EntryPath("Gone1\\Sub\\Deeper"));
    CreateEntry("OnCd", {{"DisplayName", "Disk App"}, {"UninstallString", "E:\\SETUP\\REMOVE.BAT"}});
    CreateEntry("Existing", {{"DisplayName", "Existing"}, {"UninstallString", "MsiExec.exe /X{1234}"}});
    Activate();
    const auto dialog = OpenDialog();
    HWND list = dialog->FindControl("EntryList");
    ListViewSetChecked(list, RowOf(*dialog, "Gone3"), false);
    ListViewSetChecked(list, RowOf(*dialog, "OnCd"), true);

    const TConfirmedRun refused = RunWithConfirmation([&] { ClickButton(*dialog, "RemoveButton"); }, PressButton(IDCANCEL));
    ASSERT_TRUE(refused.confirmed);
    EXPECT_EQ("You are about to remove 3 registry keys.\r\nContinue ?", refused.confirmation.text);
    EXPECT_TRUE(removals_.empty());

    ASSERT_EQ(ERROR_SUCCESS, DeleteEntry("Gone2"));  // gone meanwhile
    const TConfirmedRun removed = RunWithConfirmation([&] { ClickButton(*dialog, "RemoveButton"); }, PressButton(IDOK));
    ASSERT_TRUE(removed.confirmed);
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"Gone1", "Gone2", "OnCd"}}), removals_) << "one batch";
    ASSERT_TRUE(removed.warned);
    EXPECT_EQ("Cannot remove this entry:\r\nGone2: its key cannot be opened", removed.warning.text);
    EXPECT_FALSE(KeyExists(EntryPath("Gone1")));
    EXPECT_FALSE(KeyExists(EntryPath("OnCd")));
    EXPECT_TRUE(KeyExists(EntryPath("Gone3")));
    EXPECT_TRUE(KeyExists(EntryPath("Existing")));
    EXPECT_EQ(std::vector<std::string>{"Gone3"}, ShownNames(*dialog)) << "what is left is listed";
    EXPECT_EQ("2 entries checked, 1 listed", WindowText(dialog->FindControl("SummaryLabel")));

    Command("EditUndoItem");  // the batch is one step
    EXPECT_TRUE(KeyExists(EntryPath("Gone1\\Sub\\Deeper")));
    EXPECT_TRUE(KeyExists(EntryPath("OnCd")));
    EXPECT_FALSE(KeyExists(EntryPath("Gone2")));
}

TEST_F(CheckEntriesTest, CancelOrEscStopsTheCheckAndKeepsWhatWasChecked) {
    constexpr size_t kEntries = 60;
    for (size_t index = 0; index < kEntries; ++index) CreateBrokenEntry("App" + std::to_string(100 + index));
    Activate();
    const struct {
        const char* label;
        std::function<void(const TCheckEntriesForm&)> stop;
    } rows[] = {
        {"Cancel",
         [](const TCheckEntriesForm& dialog) {
             HWND cancel = dialog.FindControl("CancelButton");
             PostMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(cancel), BN_CLICKED),
                          reinterpret_cast<LPARAM>(cancel));
         }},
        {"Esc", [](const TCheckEntriesForm& dialog) { PostMessageA(dialog.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const auto dialog = OpenDialog(false);
        row.stop(*dialog);  // handled at the check's first look at the messages
        PumpMessages();
        ASSERT_FALSE(dialog->Checking());
        const size_t listed = ShownRows(*dialog).size();
        EXPECT_GT(listed, 0u);
        EXPECT_LT(listed, kEntries);
        EXPECT_EQ("Check stopped: " + std::to_string(listed) + " of 60 entries checked, " + std::to_string(listed) +
                      " listed",
                  WindowText(dialog->FindControl("SummaryLabel")));
        EXPECT_FALSE(IsWindowVisible(dialog->FindControl("CancelButton")));
        EXPECT_TRUE(IsWindowEnabled(dialog->FindControl("RemoveButton")));
        EXPECT_TRUE(KeyExists(EntryPath("App100")));
    }
}

TEST_F(CheckEntriesTest, F7OpensTheDialogAndSelectOrADoubleClickSelectsTheEntryInTheMainWindow) {
    CreateBrokenEntry("Alpha");
    CreateBrokenEntry("Beta");
    CreateEntry("Unconventional", {{"UninstallString", "C:\\gone\\unins.exe"}});
    Activate();
    const struct {
        const char* label;
        const char* entry;
        const char* list;
        bool doubleClick;
    } rows[] = {{"Select", "Beta", "CEntryList", false}, {"double-click", "Unconventional", "UEntryList", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        TModalAnswer answer(kFormClassName, "Check Entries", [&](HWND window) {
            const auto& dialog = *static_cast<const TCheckEntriesForm*>(TForm::FromHandle(window));
            HWND list = dialog.FindControl("EntryList");
            LVITEMA selected{};
            selected.stateMask = selected.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(RowOf(dialog, row.entry)),
                         reinterpret_cast<LPARAM>(&selected));
            if (!row.doubleClick) return ClickButton(dialog, "SelectButton");
            NMITEMACTIVATE click{};
            click.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(NM_DBLCLK)};
            click.iItem = RowOf(dialog, row.entry);
            SendMessageA(window, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        });
        PressKey(Form().Handle(), VK_F7);
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(row.entry, Form().EntryName);
        EXPECT_EQ(row.entry, Entries(row.list)[static_cast<size_t>(SelectedIndex(row.list))]);
        EXPECT_EQ(lsInvalidLink, Form().LinkState);
    }
}

TEST_F(CheckEntriesTest, EnterEscAndTheCloseBoxCloseTheDialog) {
    CreateBrokenEntry("Gone");
    Activate();
    ExpectEnterEscAndCloseBox("Check Entries", {IDCANCEL, IDCANCEL}, [&] {
        TCheckEntriesForm dialog(Form().Handle(), Form().ShownLocation(), [](const std::vector<std::string>&) {
            ADD_FAILURE() << "nothing is removed";
            return std::vector<TRemovalFailure>{};
        });
        return dialog.ShowModal();
    });
    EXPECT_TRUE(KeyExists(EntryPath("Gone")));
}

}  // namespace
