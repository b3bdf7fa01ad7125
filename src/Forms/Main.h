// TMainForm: the main window. Lists the Uninstall entries of the location chosen in its View
// menu in two lists, shows the selected entry's values with the uninstall command checked, tells
// the link state, and carries the menu, toolbar and status bar of the program's commands.
#pragma once

#include "Base/Text.h"
#include "Entries/EntryTree.h"
#include "Entries/Link.h"
#include "Entries/Location.h"
#include "Forms/CheckEntries.h"
#include "Win/Form.h"

#include <optional>
#include <string>
#include <vector>

class TMainForm : public TForm {
public:
    // Creates the window (hidden), its controls, menu and toolbar, then runs FormCreate. Its
    // View menu offers the locations of 64-bit or of 32-bit Windows; the first is shown.
    explicit TMainForm(bool windows64 = IsWindows64());
    ~TMainForm() override;

    // The program's run-time state.
    std::string EntryName;         // key name of the entry the details show; "" for none
    std::string UninstallCommand;  // program resolved from the checked value, or edited
    std::string UninstallParams;   // its parameters
    ::LinkState LinkState = lsNoSelectedEntry;

    // Where the listed entries are kept; every command that reads or changes entries acts there.
    const TEntryLocation& ShownLocation() const { return location_; }

    // Installs the application's hint and activation events; copies the menu hints onto the
    // toolbar buttons and ProgButton.
    void FormCreate();
    // Shows the application's current hint in the status bar.
    void DisplayHint();

    // Menu, toolbar and control events.
    void FileImportItemClick(const TEvent& event);
    void FileExportItemClick(const TEvent& event);
    void FileExitItemClick(const TEvent& event);
    void EditUninstallItemClick(const TEvent& event);
    void EditRemoveItemClick(const TEvent& event);
    void EditUndoItemClick(const TEvent& event);
    void EditRefreshItemClick(const TEvent& event);
    void EditCheckItemClick(const TEvent& event);
    void EditProgramsItemClick(const TEvent& event);
    void ViewLocationItemClick(const TEvent& event);  // every item of the View menu
    void HelpTopicsItemClick(const TEvent& event);
    void HelpSearchItemClick(const TEvent& event);
    void HelpAboutItemClick(const TEvent& event);
    void CEntryListClick(const TEvent& event);  // both entry lists; event.Sender tells which
    void DEntryListClick(const TEvent& event);
    void DEntryListDblClick(const TEvent& event);
    void DEntryListKeyPress(const TEvent& event);
    void DEntryListChange(const TEvent& event);  // a row's state changed (LVN_ITEMCHANGED)

    // Removes the entries `names` of the shown location with their whole trees; asks nothing and
    // does not refresh the views. Every tree is read completely first: an entry whose tree cannot
    // be read is left alone, and one whose deletion fails part-way is put back from what was
    // read. The entries removed form one Undo step. Gives the entries not removed, with reasons.
    std::vector<TRemovalFailure> RemoveEntries(const std::vector<std::string>& names);
    // Shows `location` (its View item) and selects its entry `name`, with its details.
    void ShowEntryIn(const TEntryLocation& location, const std::string& name);

    // Rebuilds both entry lists from the registry and clears the details.
    void RefreshEntryViews();
    // Loads the values of entry `name` into the details (every value, data that is not text as
    // the registry editor shows it), checks the uninstall command and makes `name` the selected
    // entry; then evaluates the link and updates the commands. A value that cannot be read, or
    // whose name the ANSI code page cannot hold, gets no row and the load goes on; the first
    // such error is passed on after the command update.
    void ShowEntryDetails(const std::string& name);
    // Computes LinkState (and the command and parameters) from EntryName and the check marks.
    // A checked row whose value holds data that is not text resolves as an empty command, and
    // when it becomes the checked command, ERegistryException "Invalid data type for '%s'"
    // follows the evaluation.
    void EvaluateLink();
    // Shows LinkState's message in InfoMemo, in its colour.
    void ShowLinkInfo();
    // Enables Export, Uninstall and Remove (toolbar and menu) only while EntryName is set and
    // is a name that reaches its key, and Undo Remove while a removal can be undone.
    void UpdateCommands();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnEvent(const TEvent& event) override;

private:
    void SetUpSpeedBar();
    void SetUpDetailsList();
    // Makes the View item with command `id` the shown location: caption and radio mark.
    void ChooseLocation(int id);
    // False for a listed entry name that the ANSI code page cannot hold: it opens no key, or
    // another one, so nothing may be read, exported or removed through it.
    bool IsSupportedName(const std::string& name) const;
    bool HasSupportedEntry() const { return !EntryName.empty() && IsSupportedName(EntryName); }
    // Selects entry `name` in whichever entry list holds it, as a click there does.
    void SelectEntry(const std::string& name);

    // The controls the code works with, looked up once when the window is created.
    HWND speedBar_ = nullptr;
    HWND cEntryList_ = nullptr;
    HWND uEntryList_ = nullptr;
    HWND progButton_ = nullptr;
    HWND dEntryList_ = nullptr;
    HWND infoMemo_ = nullptr;
    HWND statusBar_ = nullptr;
    bool loadingDetails_ = false;  // check marks set while loading are not the user's
    bool windows64_;
    TEntryLocation location_{};
    TStringList unsupportedNames_;  // of the entries listed by the last refresh
    TStringList nonTextRows_;       // captions of the rows whose value holds data that is not text
    std::optional<std::string> reportedNonTextRow_;  // such a row last told as the command

    // The entries one RemoveEntries call removed, and where from.
    struct TRemovalStep {
        TEntryLocation location;
        std::vector<TKeyTree> entries;
    };
    // This run's removals, the latest last. Kept in memory only: they end with the program.
    std::vector<TRemovalStep> removals_;
};
