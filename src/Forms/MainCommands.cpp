// TMainForm's entry commands: Uninstall, Remove, the uninstall-command dialog, Check Entries
// and the Programs group.
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
    // it names is found where the link evaluation found it.
    INT_PTR result = 0;
    {
        const TNativeFileSystemScope fileSystem(ShownLocation());
        result = ShellRun(UninstallCommand, UninstallParams, "", SW_SHOW);
    }
    if (ShellFailed(result)) MessageDlg("Cannot uninstall this program.", mkWarning);
}

void TMainForm::EditRemoveItemClick(const TEvent&) {
    // Before the first activation no entry is selected, and the path would name the Uninstall
    // key itself; an unsupported name would name no key, or another one.
    if (!HasSupportedEntry()) return;
    if (Refused("You are about to remove a registry key.\rContinue ?")) return;
    bool removed = false;
    {
        TRegistry registry;
        registry.ChooseRoot(ShownLocation().root, ShownLocation().view);
        removed = registry.DeleteKeyTree(UninstallEntryPath(EntryName));
    }
    if (!removed) MessageDlg("Cannot remove this entry.", mkWarning);
    RefreshEntryViews();
}

void TMainForm::DEntryListDblClick(const TEvent&) {
    if (EntryName.empty()) return;
    TEditForm dialog(Handle(), UninstallCommand, UninstallParams);
    if (dialog.ShowModal() == mrCancel) return;
    // Not evaluated: the next click in the details resolves the checked row again.
    UninstallCommand = dialog.Command;
    UninstallParams = dialog.Params;
}

std::vector<TRemovalFailure> TMainForm::RemoveEntries(const std::vector<std::string>& names) {
    std::vector<TRemovalFailure> failures;
    TRegistry registry;
    registry.ChooseRoot(ShownLocation().root, ShownLocation().view);
    for (const std::string& name : names) {
        // An empty name would name the Uninstall key itself, an unsupported one no key or another.
        if (name.empty() || !IsSupportedName(name))
            failures.push_back({name, "its name cannot be handled on this system"});
        else if (!registry.DeleteKeyTree(UninstallEntryPath(name)))
            failures.push_back({name, "its key cannot be deleted"});
    }
    return failures;
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
