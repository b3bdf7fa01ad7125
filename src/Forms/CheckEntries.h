// TCheckEntriesForm: the Check Entries dialog. Checks every entry of one location by the rules
// of the information box, lists those whose uninstaller is not found with the reason, and
// removes the checked ones in one go.
#pragma once

#include "Entries/EntryCheck.h"
#include "Entries/EntryTree.h"
#include "Win/Form.h"

#include <functional>
#include <string>
#include <vector>

// Removes the named entries of the location checked; returns those it could not remove.
using TRemoveEntriesFunction = std::function<std::vector<TRemovalFailure>(const std::vector<std::string>& names)>;

class TCheckEntriesForm : public TForm {
public:
    // Creates the dialog, hidden, over `owner`; the check of `location` starts with the first
    // message the dialog handles, so it runs while the dialog is shown. `remove` does the
    // removals of Remove Checked.
    TCheckEntriesForm(HWND owner, const TEntryLocation& location, TRemoveEntriesFunction remove);

    // The entry that Select (or a double click) chose; "" until then. Select ends a modal
    // showing with mrOK, Close with mrCancel.
    std::string SelectedEntry;
    // True while a check runs.
    bool Checking() const { return checking_; }
    // The rows listed, in the list's order.
    std::vector<TEntryCheck> ListedEntries() const;

    // Checks every entry again and lists the result; Cancel (or closing the dialog) stops it.
    void RunCheck();

    void CancelButtonClick(const TEvent& event);
    void RemoveButtonClick(const TEvent& event);
    void SelectButtonClick(const TEvent& event);
    void CloseButtonClick(const TEvent& event);
    void EntryListColumnClick(const TEvent& event);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnEvent(const TEvent& event) override;

private:
    void SetChecking(bool checking);
    // Lists rows_, sorted by the chosen column.
    void ShowRows();
    // Whether the list may take the change `change` of a row (LVN_ITEMCHANGING).
    bool AllowsChange(const NMLISTVIEW& change) const;
    void SortRows();

    TEntryLocation location_;
    TRemoveEntriesFunction remove_;
    HWND summary_ = nullptr;
    HWND entryList_ = nullptr;
    HWND progress_ = nullptr;
    HWND cancelButton_ = nullptr;
    HWND removeButton_ = nullptr;
    HWND selectButton_ = nullptr;
    HWND closeButton_ = nullptr;
    std::vector<TEntryCheck> rows_;  // by the list rows' item data
    bool checking_ = false;
    bool cancelled_ = false;
    int sortColumn_ = 0;
    bool sortDescending_ = false;
};
