// TMainForm's entry commands: Uninstall, Remove and its Undo, the uninstall-command dialog,
// Check Entries and the Programs group.
#include "Base/Exception.h"
#include "Entries/ExecApp.h"
#include "Entries/Registry.h"
#include "Forms/CheckEntries.h"
#include "Forms/Edit.h"
#include "Forms/Main.h"
#include "Forms/MessageDialog.h"
#include "Win/Controls.h"

namespace {

// A confirmation counts as refused only when it is answered Cancel.
bool Refused(const char* question) { return MessageDlg(question, mkConfirmation) == mrCancel; }

bool ShellFailed(INT_PTR result) { return result <= 32; }

// Why a removal cannot be undone: the entry's name is taken again.
std::string NameTakenAgain(const std::wstring& name) {
    return "Cannot undo the removal: a key named '" + DisplayName(name) + "' exists again where the entry was.";
}

// Opens the user's Start-menu Programs folder in the shell; its result is not examined.
// Throws ERegistryException when the folder's value is not a string.
void OpenProgramsGroup() {
    std::string folder;
    {
        TRegistry registry;
        registry.ChooseRoot(HKEY_CURRENT_USER);
        registry.OpenRegistryKey(ShellFoldersKeyPath, false);
        if (registry.HasValue("Programs")) folder = registry.ReadStringValue("Programs");
        registry.CloseRegistryKey();
    }
    // The shell would open some other folder (the current one) for an empty name.
    if (!folder.empty()) ShellRun(folder, "", folder, SW_SHOW);
}

}  // namespace

void TMainForm::EditUninstallItemClick(const TEvent&) {
    if (Refused("You are about to uninstall a program.\rContinue ?")) return;
    // The link state is advice, not a guard: the command runs as it stands, and the program
    // it names is found where the link evaluation found it, with redirection on.
    const INT_PTR result = ShellRun(LaunchedProgram(ShownLocation(), UninstallCommand), UninstallParams, "", SW_SHOW);
    if (ShellFailed(result)) MessageDlg("Cannot uninstall this program.", mkWarning);
}

std::vector<TRemovalFailure> TMainForm::RemoveEntries(const std::vector<std::string>& names) {
    std::vector<TRemovalFailure> failures;
    std::vector<TKeyTree> captured;
    for (const std::string& name : names) {
        TKeyTree tree;
        std::string reason;
        if (name.empty() || !IsSupportedName(name))
            failures.push_back({name, "this system cannot handle its name"});
        else if (!CaptureEntryTree(location_, name, tree, reason))
            failures.push_back({name, reason});
        else
            captured.push_back(std::move(tree));
    }

    TRemovalStep step{location_, {}};
    for (TKeyTree& tree : captured) {
        const std::string name = DisplayName(tree.name);
        bool removed = false;
        {
            TRegistry registry;
            registry.ChooseRoot(location_.root, location_.view);
            removed = registry.DeleteKeyTree(UninstallEntryPath(name));
        }
        if (removed) {
            step.entries.push_back(std::move(tree));
        } else if (!EntryKeyExists(location_, tree.name)) {
            failures.push_back({name, "another program removed it meanwhile"});
        } else {
            // The deletion may have taken some subkeys before it failed.
            try {
                RepairEntryTree(location_, tree);
                failures.push_back({name, "its key cannot be deleted, and it was left as it was"});
            } catch (const Exception& error) {
                failures.push_back({name, "it was deleted only in part, and putting it back failed (" +
                                              error.Message() + ")"});
            }
        }
    }
    if (!step.entries.empty()) removals_.push_back(std::move(step));
    UpdateCommands();
    return failures;
}

void TMainForm::EditRemoveItemClick(const TEvent&) {
    // Before the first activation no entry is selected, and the path would name the Uninstall
    // key itself; an unsupported name would name no key, or another one.
    if (!HasSupportedEntry()) return;
    if (Refused("You are about to remove a registry key.\rContinue ?")) return;
    const std::vector<TRemovalFailure> failures = RemoveEntries({EntryName});
    for (const TRemovalFailure& failure : failures)
        MessageDlg("Cannot remove this entry.\r'" + failure.entryName + "': " + failure.reason + ".", mkWarning);
    RefreshEntryViews();
}

void TMainForm::EditUndoItemClick(const TEvent&) {
    if (removals_.empty()) return;
    const TRemovalStep& step = removals_.back();
    for (const TKeyTree& tree : step.entries) {
        if (EntryKeyExists(step.location, tree.name)) {
            MessageDlg(NameTakenAgain(tree.name), mkWarning);
            return;
        }
    }
    // All of the step or nothing: a restore that fails takes back those restored before it.
    std::vector<std::string> restored;
    try {
        for (const TKeyTree& tree : step.entries) {
            if (!RestoreEntryTree(step.location, tree))
                throw Exception(NameTakenAgain(tree.name));
            restored.push_back(DisplayName(tree.name));
        }
    } catch (const Exception&) {
        TRegistry registry;
        registry.ChooseRoot(step.location.root, step.location.view);
        for (const std::string& name : restored) registry.DeleteKeyTree(UninstallEntryPath(name));
        throw;
    }
    const TEntryLocation location = step.location;
    removals_.pop_back();
    ShowEntryIn(location, restored.front());
}

void TMainForm::DEntryListDblClick(const TEvent&) {
    if (EntryName.empty()) return;
    TEditForm dialog(Handle(), UninstallCommand, UninstallParams);
    if (dialog.ShowModal() == mrCancel) return;
    // Not evaluated: the next click in the details resolves the checked row again.
    UninstallCommand = dialog.Command;
    UninstallParams = dialog.Params;
}

void TMainForm::EditCheckItemClick(const TEvent&) {
    TCheckEntriesForm dialog(Handle(), ShownLocation(),
                             [this](const std::vector<std::string>& names) { return RemoveEntries(names); });
    const int result = dialog.ShowModal();
    RefreshEntryViews();
    if (result == mrOK) SelectEntry(dialog.SelectedEntry);
}

void TMainForm::SelectEntry(const std::string& name) {
    for (HWND list : {cEntryList_, uEntryList_}) {
        for (int index = 0, count = ListBoxCount(list); index < count; ++index) {
            if (ListBoxItemText(list, index) != name) continue;
            ListBoxSelect(list, index);
            TEvent click;
            click.Sender = list;
            CEntryListClick(click);
            return;
        }
    }
}

void TMainForm::EditProgramsItemClick(const TEvent&) { OpenProgramsGroup(); }
