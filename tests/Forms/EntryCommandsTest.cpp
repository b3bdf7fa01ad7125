// Uninstall, Remove, the uninstall-command dialog and the Programs group in the real main window:
// the confirmations and warnings, what reaches the shell, what is deleted, and a real
// uninstaller that removes its own entry.
#include "GuiTest.h"

#include "Entries/ExecApp.h"
#include "ScratchFolder.h"
#include "TestPaths.h"
#include "Win/Application.h"
#include "Win/Controls.h"

#include <shellapi.h>

#include <functional>
#include <optional>

namespace {

struct TShellCall {
    std::string file, params, directory;
    int showCommand;
    bool operator==(const TShellCall&) const = default;
};

std::vector<TShellCall> shellCalls;
INT_PTR shellResult = 42;

HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR params, LPCSTR directory, INT showCommand) {
    shellCalls.push_back({file, params, directory, showCommand});
    return reinterpret_cast<HINSTANCE>(shellResult);
}

std::ostream& operator<<(std::ostream& out, const TShellCall& call) {
    return out << "{" << call.file << " | " << call.params << " | " << call.directory << " | " << call.showCommand
               << "}";
}

constexpr const char* kUninstallQuestion = "You are about to uninstall a program.\r\nContinue ?";
constexpr const char* kRemoveQuestion = "You are about to remove a registry key.\r\nContinue ?";

// Keeps a value of HKEY_CURRENT_USER (the test prefix's real user hive) and puts it back, or
// removes it again, when it goes.
class TSavedUserValue {
public:
    TSavedUserValue(const char* path, const char* name) : name_(name) {
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 key_.Receive(), nullptr));
        DWORD size = 0;
        if (RegQueryValueExA(key_.Get(), name, nullptr, &type_, nullptr, &size) != ERROR_SUCCESS) return;
        data_.emplace(size, '\0');
        RegQueryValueExA(key_.Get(), name, nullptr, &type_, reinterpret_cast<BYTE*>(data_->data()), &size);
    }
    ~TSavedUserValue() {
        if (data_)
            RegSetValueExA(key_.Get(), name_.c_str(), 0, type_, reinterpret_cast<const BYTE*>(data_->data()),
                           static_cast<DWORD>(data_->size()));
        else
            RegDeleteValueA(key_.Get(), name_.c_str());
    }
    TSavedUserValue(const TSavedUserValue&) = delete;
    TSavedUserValue& operator=(const TSavedUserValue&) = delete;

    void Set(DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(key_.Get(), name_.c_str(), 0, type, static_cast<const BYTE*>(data), size));
    }
    void Delete() { RegDeleteValueA(key_.Get(), name_.c_str()); }

private:
    TKeyHandle key_;
    std::string name_;
    DWORD type_ = REG_NONE;
    std::optional<std::string> data_;
};

class EntryCommandsTest : public MainFormTest {
protected:
    void TearDown() override {
        SetShellExecuteFunction(nullptr);
        MainFormTest::TearDown();
    }

    // ShellRun's calls are recorded and answered with `result` instead of reaching the shell.
    static void RecordShell(INT_PTR result = 42) {
        shellCalls.clear();
        shellResult = result;
        SetShellExecuteFunction(RecordShellExecute);
    }


    // Runs a menu command, answers its confirmation with `answer` and a warning, should one
    // follow, with OK.
    TConfirmedRun RunConfirmed(const char* itemName, std::function<void(HWND)> answer,
                               TWhere where = TWhere::current()) {
        return RunWithConfirmation([&] { Command(itemName); }, std::move(answer), where);
    }

    // Double-clicks the first row of the details list, as the mouse does: a click, then the
    // double click. `answer` answers the command dialog if it opens; false when it did not.
    bool DoubleClickDetails(std::function<void(HWND)> answer) {
        HWND details = Control("DEntryList");
        RECT label{};
        label.left = LVIR_LABEL;
        SendMessageA(details, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
        const LPARAM point = MAKELPARAM(label.left + 4, (label.top + label.bottom) / 2);
        PostMessageA(details, WM_LBUTTONUP, 0, point);
        SendMessageA(details, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PumpMessages();
        TModalAnswer dialog(kFormClassName, "Uninstall Command", std::move(answer));
        SendMessageA(details, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
        SendMessageA(details, WM_LBUTTONUP, 0, point);
        PumpMessages();
        return dialog.Answered();
    }

    // An answer for the command dialog that types `command` and `params`, then does `close`.
    static std::function<void(HWND)> EditAndClose(std::string command, std::string params,
                                                  std::function<void(HWND)> close) {
        return [=](HWND window) {
            const TForm* dialog = TForm::FromHandle(window);
            SetWindowTextA(dialog->FindControl("CommandEdit"), command.c_str());
            SetWindowTextA(dialog->FindControl("ParamsEdit"), params.c_str());
            close(window);
        };
    }
};

TEST_F(EntryCommandsTest, RefusedConfirmationsChangeNothing) {
    CreateEntry("App", {{"DisplayName", "App"}, {"UninstallString", "C:\\nowhere\\unins.exe /x"}});
    Activate();
    ClickEntry("CEntryList", "App");
    RecordShell();
    const struct {
        const char* label;
        std::function<void(HWND)> answer;
    } rows[] = {{"Cancel", PressButton(IDCANCEL)}, {"Esc", PressKeyInDialog(VK_ESCAPE)}, {"close box", PressCloseBox()}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const TConfirmedRun uninstall = RunConfirmed("EditUninstallItem", row.answer);
        ASSERT_TRUE(uninstall.confirmed);
        EXPECT_EQ("Confirm", uninstall.confirmation.caption);
        EXPECT_EQ(kUninstallQuestion, uninstall.confirmation.text);
        EXPECT_EQ((std::vector<std::string>{"OK", "Cancel"}), uninstall.confirmation.buttons);
        EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), uninstall.confirmation.icon);
        EXPECT_FALSE(uninstall.confirmation.ownerEnabled);
        const TConfirmedRun remove = RunConfirmed("EditRemoveItem", row.answer);
        ASSERT_TRUE(remove.confirmed);
        EXPECT_EQ(kRemoveQuestion, remove.confirmation.text);
        EXPECT_FALSE(uninstall.warned || remove.warned);
        EXPECT_TRUE(shellCalls.empty()) << shellCalls.front();
        EXPECT_TRUE(KeyExists(EntryPath("App")));
        // The dialog belongs to the program: closing it is no activation.
        EXPECT_EQ("App", Form().EntryName);
        EXPECT_EQ(0, SelectedIndex("CEntryList"));
        EXPECT_EQ(2u, Rows().size());
    }
}

TEST_F(EntryCommandsTest, UninstallHandsTheResolvedCommandToTheShell) {
    CreateEntry("App", {{"DisplayName", "App"}, {"UninstallString", "C:\\nowhere\\unins.exe /x /y"}});
    Activate();
    ClickEntry("CEntryList", "App");
    RecordShell();
    const TConfirmedRun shown = RunConfirmed("EditUninstallItem", PressButton(IDOK));
    EXPECT_FALSE(shown.warned);
    EXPECT_EQ((std::vector<TShellCall>{{"C:\\nowhere\\unins.exe", "/x /y", "", SW_SHOW}}), shellCalls)
        << "an invalid link is advice, not a guard";
}

TEST_F(EntryCommandsTest, AFailingShellIsReportedAsAWarning) {
    CreateEntry("Gone", {{"DisplayName", "Gone"}, {"UninstallString", "C:\\nowhere\\unins.exe"}});
    CreateEntry("Unchecked", {{"DisplayName", "Nothing to run"}});
    Activate();
    for (const char* entry : {"Gone", "Unchecked"}) {
        SCOPED_TRACE(entry);
        ClickEntry(entry == std::string("Gone") ? "CEntryList" : "UEntryList", entry);
        // The real shell: a missing program, and an empty command.
        const TConfirmedRun shown = RunConfirmed("EditUninstallItem", PressButton(IDOK));
        ASSERT_TRUE(shown.warned);
        EXPECT_EQ("Warning", shown.warning.caption);
        EXPECT_EQ("Cannot uninstall this program.", shown.warning.text);
        EXPECT_EQ(std::vector<std::string>{"OK"}, shown.warning.buttons);
        EXPECT_EQ(LoadIconA(nullptr, IDI_EXCLAMATION), shown.warning.icon);
        EXPECT_EQ(entry, Form().EntryName) << "nothing else changes";
    }
    RecordShell(SE_ERR_NOASSOC);
    EXPECT_TRUE(RunConfirmed("EditUninstallItem", PressButton(IDOK)).warned) << "any result up to 32 fails";
    RecordShell(33);
    EXPECT_FALSE(RunConfirmed("EditUninstallItem", PressButton(IDOK)).warned);
}

TEST_F(EntryCommandsTest, RemoveDeletesTheKeyWithItsSubkeysAndClearsTheViews) {
    CreateEntry("Doomed", {{"DisplayName", "Doomed"}, {"UninstallString", "C:\\doomed\\unins.exe"}});
    SetString(EntryPath("Doomed\\Level1"), "Inner", "value");
    CreateKey(EntryPath("Doomed\\Level1\\Level2a"));
    CreateKey(EntryPath("Doomed\\Level1\\Level2b\\Level3"));
    CreateKey(EntryPath("Doomed\\Second"));
    CreateEntry("Kept", {{"DisplayName", "Kept"}, {"UninstallString", "C:\\kept\\unins.exe"}});
    CreateEntry("Doomed2", {{"DisplayName", "A neighbour whose name starts the same"}});
    Activate();
    ClickEntry("CEntryList", "Doomed");
    const TConfirmedRun shown = RunConfirmed("EditRemoveItem", PressButton(IDOK));
    ASSERT_TRUE(shown.confirmed);
    EXPECT_EQ(kRemoveQuestion, shown.confirmation.text);
    EXPECT_FALSE(shown.warned);

    EXPECT_FALSE(KeyExists(EntryPath("Doomed")));
    EXPECT_TRUE(KeyExists(EntryPath("Kept")));
    EXPECT_TRUE(KeyExists(EntryPath("Doomed2")));
    EXPECT_EQ(std::vector<std::string>{"Kept"}, Entries("CEntryList"));
    EXPECT_EQ(std::vector<std::string>{"Doomed2"}, Entries("UEntryList"));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ("", Form().EntryName);
    EXPECT_EQ(0u, InfoText().rfind("NO SELECTED ENTRY\r\n", 0)) << InfoText();
    EXPECT_FALSE(Form().Menu().IsEnabled(MenuId("EditRemoveItem")));
}

TEST_F(EntryCommandsTest, EntriesNamedInAnyScriptAreShownAndRemoved) {
    const std::vector<std::string> names = {"Приложение", "中文程序", "😀 Emoji"};
    for (const std::string& name : names) {
        CreateEntry(name, {{"DisplayName", name + " – Ελληνικά"}, {"UninstallString", "C:\\卸载\\unins.exe"}});
        CreateKey(EntryPath(name + "\\日本語の名前です\\Привет"));
    }
    Activate();
    EXPECT_EQ(names.size(), Entries("CEntryList").size());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ClickEntry("CEntryList", name);
        EXPECT_EQ(name, Form().EntryName);
        ASSERT_EQ(2u, Rows().size());
        EXPECT_EQ(name + " – Ελληνικά", Rows()[0].value);
        EXPECT_EQ(lsInvalidLink, Form().LinkState);
        ASSERT_TRUE(RunConfirmed("EditRemoveItem", PressButton(IDOK)).confirmed);
        EXPECT_FALSE(KeyExists(EntryPath(name)));
    }
    EXPECT_TRUE(Entries("CEntryList").empty());
}

TEST_F(EntryCommandsTest, AnEntryWhoseNameCannotReachItsKeyIsToldAndNeverRemoved) {
    CreateWideKey(UninstallKeyPath, L"Half \xD83D pair");  // no ANSI code page holds a lone surrogate
    CreateEntry("Fine", {{"DisplayName", "Fine"}, {"UninstallString", "C:\\fine\\unins.exe"}});
    Activate();
    const std::string shown = "Half \xEF\xBF\xBD pair";
    ASSERT_EQ(std::vector<std::string>{shown}, Entries("UEntryList"));
    ClickEntry("UEntryList", shown);
    EXPECT_EQ(lsUnsupportedName, Form().LinkState);
    EXPECT_EQ("UNSUPPORTED NAME\r\nThis entry's name cannot be handled on this system.", InfoText());
    EXPECT_TRUE(Rows().empty());
    for (const char* item : {"FileExportItem", "EditUninstallItem", "EditRemoveItem"})
        EXPECT_FALSE(Form().Menu().IsEnabled(MenuId(item))) << item;

    EXPECT_FALSE(RunConfirmed("EditRemoveItem", PressButton(IDOK)).confirmed) << "a command that slips through asks nothing";
    Activate();
    EXPECT_EQ(std::vector<std::string>{shown}, Entries("UEntryList"));
    ClickEntry("CEntryList", "Fine");
    EXPECT_TRUE(Form().Menu().IsEnabled(MenuId("EditRemoveItem")));
}

TEST_F(EntryCommandsTest, AKeyThatCannotBeDeletedIsReportedAndTheViewsAreRefreshed) {
    CreateEntry("Vanished", {{"DisplayName", "Vanished"}, {"UninstallString", "C:\\v\\unins.exe"}});
    CreateEntry("Other", {{"DisplayName", "Other"}, {"UninstallString", "C:\\o\\unins.exe"}});
    Activate();
    ClickEntry("CEntryList", "Vanished");
    ASSERT_EQ(ERROR_SUCCESS, DeleteEntry("Vanished"));
    const TConfirmedRun shown = RunConfirmed("EditRemoveItem", PressButton(IDOK));
    ASSERT_TRUE(shown.warned);
    EXPECT_EQ("Warning", shown.warning.caption);
    EXPECT_EQ("Cannot remove this entry.\r\n'Vanished': its key cannot be opened.", shown.warning.text);
    EXPECT_EQ(LoadIconA(nullptr, IDI_EXCLAMATION), shown.warning.icon);
    EXPECT_EQ(std::vector<std::string>{"Other"}, Entries("CEntryList"));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(lsNoSelectedEntry, Form().LinkState);
}

TEST_F(EntryCommandsTest, RemoveBeforeTheFirstActivationDeletesNothing) {
    CreateEntry("App", {{"DisplayName", "App"}, {"UninstallString", "C:\\app\\unins.exe"}});
    CreateKey(EntryPath("Bare"));
    SetString(UninstallKeyPath, "Stray", "a value of the Uninstall key itself");
    OpenForm(false);
    ASSERT_EQ("", Form().EntryName);
    ASSERT_TRUE(Form().Menu().IsEnabled(MenuId("EditRemoveItem")));
    const TConfirmedRun viaMenu = RunConfirmed("EditRemoveItem", PressButton(IDOK));
    EXPECT_TRUE(KeyExists(UninstallKeyPath));
    EXPECT_TRUE(KeyExists(EntryPath("App")));
    EXPECT_TRUE(KeyExists(EntryPath("Bare")));
    EXPECT_FALSE(viaMenu.confirmed) << "there is nothing to remove, so nothing to ask";
    EXPECT_FALSE(viaMenu.warned);
}

TEST_F(EntryCommandsTest, AnEditedCommandRunsWhileTheBoxKeepsThePreviousState) {
    CreateEntry("App", {{"DisplayName", "App"}, {"UninstallString", "C:\\nowhere\\unins.exe /x"}});
    Activate();
    ClickEntry("CEntryList", "App");
    ASSERT_EQ(lsInvalidLink, Form().LinkState);
    // Outside the system folder, which the 32-bit build reaches otherwise for this view.
    const std::string program = "C:\\Tools\\edited.exe";
    std::string opened[2];
    ASSERT_TRUE(DoubleClickDetails([&](HWND window) {
        const TForm* dialog = TForm::FromHandle(window);
        opened[0] = WindowText(dialog->FindControl("CommandEdit"));
        opened[1] = WindowText(dialog->FindControl("ParamsEdit"));
        EditAndClose(program, "/x {EDITED}", PressButton(IDOK))(window);
    }));
    EXPECT_EQ("C:\\nowhere\\unins.exe", opened[0]) << "the dialog opens with the resolved command";
    EXPECT_EQ("/x", opened[1]);
    EXPECT_EQ(program, Form().UninstallCommand);
    EXPECT_EQ("/x {EDITED}", Form().UninstallParams);
    EXPECT_EQ(lsInvalidLink, Form().LinkState);
    EXPECT_EQ(0u, InfoText().rfind("INVALID LINK\r\n", 0)) << "the edited command is not evaluated";

    RecordShell();
    EXPECT_FALSE(RunConfirmed("EditUninstallItem", PressButton(IDOK)).warned);
    EXPECT_EQ((std::vector<TShellCall>{{program, "/x {EDITED}", "", SW_SHOW}}), shellCalls);
}

TEST_F(EntryCommandsTest, TheCommandDialogAndTheShellTakeCommandsInAnyScript) {
    CreateEntry("Приложение", {{"DisplayName", "Приложение"},
                               {"UninstallString", "\"C:\\Программы\\卸载 程序.exe\" /удалить"}});
    Activate();
    ClickEntry("CEntryList", "Приложение");
    std::string opened[2];
    ASSERT_TRUE(DoubleClickDetails([&](HWND window) {
        const TForm* dialog = TForm::FromHandle(window);
        opened[0] = WindowText(dialog->FindControl("CommandEdit"));
        opened[1] = WindowText(dialog->FindControl("ParamsEdit"));
        EditAndClose("C:\\Программы\\другой.exe", "/x 😀", PressButton(IDOK))(window);
    }));
    EXPECT_EQ("C:\\Программы\\卸载 程序.exe", opened[0]);
    EXPECT_EQ("/удалить", opened[1]);

    RecordShell();
    EXPECT_FALSE(RunConfirmed("EditUninstallItem", PressButton(IDOK)).warned);
    EXPECT_EQ((std::vector<TShellCall>{{"C:\\Программы\\другой.exe", "/x 😀", "", SW_SHOW}}), shellCalls);
}

TEST_F(EntryCommandsTest, CancellingTheCommandDialogKeepsThePreviousCommand) {
    CreateEntry("App", {{"DisplayName", "App"}, {"UninstallString", "C:\\nowhere\\unins.exe /x"}});
    Activate();
    ClickEntry("CEntryList", "App");
    const struct {
        const char* label;
        std::function<void(HWND)> close;
    } rows[] = {{"Cancel", PressButton(IDCANCEL)}, {"Esc", PressKeyInDialog(VK_ESCAPE)}, {"close box", PressCloseBox()}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_TRUE(DoubleClickDetails(EditAndClose("C:\\other.exe", "/other", row.close)));
        EXPECT_EQ("C:\\nowhere\\unins.exe", Form().UninstallCommand);
        EXPECT_EQ("/x", Form().UninstallParams);
        EXPECT_EQ("App", Form().EntryName) << "closing the dialog is no activation";
    }
}

TEST_F(EntryCommandsTest, TheCommandDialogNeedsASelectedEntry) {
    SetString(UninstallKeyPath, "Stray", "C:\\stray.exe");
    Activate();
    ASSERT_EQ(1u, Rows().size()) << "a row to click, of the Uninstall key itself";
    EXPECT_FALSE(DoubleClickDetails(PressButton(IDOK)));
}

TEST_F(EntryCommandsTest, UninstallRunsTheRealUninstallerAndTheNextActivationDropsItsEntry) {
    TScratchFolder scratch;  // the install folder, which the uninstaller deletes itself
    const std::string folder = scratch.Path();
    const std::string uninstaller = scratch.Path("uninst.exe");
    ASSERT_TRUE(CopyFileA(kFakeUninstallerPath, uninstaller.c_str(), FALSE)) << kFakeUninstallerPath;
    CreateEntry("FakeApp", {{"DisplayName", "Fake App"},
                            {"UninstallString", "\"" + uninstaller + "\" FakeApp " + kScratchMachinePath},
                            {"InstallLocation", folder}});
    Activate();
    ClickEntry("CEntryList", "FakeApp");
    ASSERT_EQ(lsExistingLink, Form().LinkState);
    ASSERT_EQ(uninstaller, Form().UninstallCommand);

    EXPECT_FALSE(RunConfirmed("EditUninstallItem", PressButton(IDOK)).warned);
    const ULONGLONG deadline = GetTickCount64() + 600000;  // the 32-bit build's takes minutes under emulation
    while ((KeyExists(EntryPath("FakeApp")) || TScratchFolder::Exists(folder)) && GetTickCount64() < deadline)
        Sleep(100);
    EXPECT_FALSE(KeyExists(EntryPath("FakeApp"))) << "the uninstaller did not remove its entry";
    EXPECT_FALSE(TScratchFolder::Exists(folder));

    Activate();
    EXPECT_FALSE(Contains(Entries("CEntryList"), "FakeApp"));
    EXPECT_EQ("", Form().EntryName);
}

class ProgramsGroupTest : public EntryCommandsTest {
protected:
    TSavedUserValue programs_{ShellFoldersKeyPath, "Programs"};
};

TEST_F(ProgramsGroupTest, OpensTheFolderNamedInShellFolders) {
    const std::string folder = "C:\\users\\Test User\\Start Menu\\Programs";
    programs_.Set(REG_SZ, folder.c_str(), static_cast<DWORD>(folder.size() + 1));
    RecordShell();
    Command("EditProgramsItem");
    SendMessageA(Control("ProgButton"), BM_CLICK, 0, 0);
    PumpMessages();
    const TShellCall opened{folder, "", folder, SW_SHOW};
    EXPECT_EQ((std::vector<TShellCall>{opened, opened}), shellCalls);
}

TEST_F(ProgramsGroupTest, ANonStringValueIsAnErrorAndOpensNothing) {
    const DWORD number = 7;
    programs_.Set(REG_DWORD, &number, sizeof(number));
    RecordShell();
    TModalAnswer error(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
    Command("EditProgramsItem");
    ASSERT_TRUE(error.Answered());
    EXPECT_EQ("Invalid data type for 'Programs'", error.Snapshot().text);
    EXPECT_TRUE(shellCalls.empty());
}

TEST_F(ProgramsGroupTest, AMissingValueOpensNothingAndSaysNothing) {
    programs_.Delete();
    RecordShell();
    TModalAnswer error(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
    Command("EditProgramsItem");
    EXPECT_FALSE(error.Answered());
    EXPECT_TRUE(shellCalls.empty()) << shellCalls.front();
}

}  // namespace
