// TCheckEntriesForm: layout and event tables, the check run with its progress, the sorted list
// with its check-mark rules, and Remove Checked.
#include "Forms/CheckEntries.h"

#include "Base/Exception.h"
#include "Forms/MessageDialog.h"
#include "Win/Application.h"
#include "Win/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace {

enum : int {
    IDC_SUMMARY = 100,
    IDC_ENTRYLIST,
    IDC_PROGRESS,
    IDC_CANCELCHECK,
    IDC_REMOVECHECKED,
};

// Posted when the dialog is created: the check starts once the dialog's messages flow.
constexpr UINT kStartCheck = WM_APP + 1;
// Messages are handled after the first kEntriesPerLook entries (a Cancel given at once stops
// there), then once kMessageIntervalMs have passed, tested every kEntriesPerLook entries: often
// enough to keep the dialog answering, seldom enough to cost nothing beside the registry calls.
constexpr size_t kEntriesPerLook = 16;
constexpr ULONGLONG kMessageIntervalMs = 40;
// A failure message names at most so many entries, then how many more.
constexpr size_t kFailuresNamed = 20;

const TFormSpec kFormSpec = {
    "Check Entries", 600, 366, kDialogBorderStyle, kDialogBorderExStyle, 0, true, "MS Sans Serif", -11,
};

constexpr DWORD kButtonStyle = BS_PUSHBUTTON | WS_TABSTOP;

const TControlSpec kLayout[] = {
    {"SummaryLabel", nullptr, "STATIC", IDC_SUMMARY, 8, 10, 584, 16, SS_LEFT | SS_NOPREFIX, 0, "", nullptr},
    {"EntryList", nullptr, WC_LISTVIEWA, IDC_ENTRYLIST, 8, 30, 584, 262,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE, nullptr,
     "The entries whose uninstaller is not found; check those to remove"},
    {"CheckProgress", nullptr, PROGRESS_CLASSA, IDC_PROGRESS, 8, 304, 503, 17, 0, 0, nullptr, nullptr},
    {"CancelButton", nullptr, "BUTTON", IDC_CANCELCHECK, 517, 300, 75, 25, kButtonStyle, 0, "Cancel",
     "Stop the check"},
    {"RemoveButton", nullptr, "BUTTON", IDC_REMOVECHECKED, 8, 333, 110, 25, kButtonStyle, 0, "&Remove Checked",
     "Remove the checked entries from the registry file"},
    {"SelectButton", nullptr, "BUTTON", IDOK, 124, 333, 75, 25, kButtonStyle, 0, "&Select",
     "Close this dialog box and select the entry in the main window"},
    {"CloseButton", nullptr, "BUTTON", IDCANCEL, 517, 333, 75, 25, kButtonStyle, 0, "Close",
     "Close this dialog box"},
};

struct TColumnSpec {
    const char* caption;
    int width;
};
const TColumnSpec kColumns[] = {{"Key Name", 140}, {"DisplayName", 140}, {"State", 150}, {"Command", 150}};

const TEventSpec<TCheckEntriesForm> kEvents[] = {
    {IDC_CANCELCHECK, kClicked, &TCheckEntriesForm::CancelButtonClick},
    {IDC_REMOVECHECKED, kClicked, &TCheckEntriesForm::RemoveButtonClick},
    {IDOK, kClicked, &TCheckEntriesForm::SelectButtonClick},
    {IDCANCEL, kClicked, &TCheckEntriesForm::CloseButtonClick},
    {IDC_ENTRYLIST, NM_DBLCLK, &TCheckEntriesForm::SelectButtonClick},
    {IDC_ENTRYLIST, LVN_COLUMNCLICK, &TCheckEntriesForm::EntryListColumnClick},
};

std::string ColumnText(const TEntryCheck& entry, int column) {
    switch (column) {
    case 0:
        return entry.name;
    case 1:
        return entry.displayName;
    case 2:
        return EntryStateText(entry);
    default:
        return entry.command;
    }
}

// "1 entry", "2 entries"
std::string Counted(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string FailureText(const std::vector<TRemovalFailure>& failures) {
    std::string text = failures.size() == 1 ? "Cannot remove this entry:" : "Cannot remove these entries:";
    for (size_t index = 0; index < failures.size() && index < kFailuresNamed; ++index)
        text += "\r" + failures[index].entryName + ": " + failures[index].reason;
    if (failures.size() > kFailuresNamed) text += "\rand " + Counted(failures.size() - kFailuresNamed, "more", "more");
    return text;
}

struct TSortOrder {
    const std::vector<TEntryCheck>* rows;
    int column;
    bool descending;
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM orderAddress) {
    const auto& order = *reinterpret_cast<const TSortOrder*>(orderAddress);
    const TEntryCheck& left = (*order.rows)[static_cast<size_t>(first)];
    const TEntryCheck& right = (*order.rows)[static_cast<size_t>(second)];
    int result = lstrcmpiA(ColumnText(left, order.column).c_str(), ColumnText(right, order.column).c_str());
    if (result == 0) result = lstrcmpiA(left.name.c_str(), right.name.c_str());
    return order.descending ? -result : result;
}

}  // namespace

TCheckEntriesForm::TCheckEntriesForm(HWND owner, const TEntryLocation& location, TRemoveEntriesFunction remove)
    : location_(location), remove_(std::move(remove)) {
    CreateForm(kFormSpec, kLayout, {}, owner);
    summary_ = RequiredControl("SummaryLabel");
    entryList_ = RequiredControl("EntryList");
    progress_ = RequiredControl("CheckProgress");
    cancelButton_ = RequiredControl("CancelButton");
    removeButton_ = RequiredControl("RemoveButton");
    selectButton_ = RequiredControl("SelectButton");
    closeButton_ = RequiredControl("CloseButton");
    const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;
    SendMessageA(entryList_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column)
        ListViewAddColumn(entryList_, column, kColumns[column].caption, kColumns[column].width);
    SetDefaultButton(closeButton_);
    SetCancelButton(closeButton_);
    SetActiveControl(entryList_);
    PostMessageA(Handle(), kStartCheck, 0, 0);
}

bool TCheckEntriesForm::OnEvent(const TEvent& event) { return DispatchEvent(*this, kEvents, event); }

LRESULT TCheckEntriesForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kStartCheck:
        RunCheck();
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        // A row whose change is refused keeps its state: TRUE refuses.
        if (header->hwndFrom == entryList_ && header->code == LVN_ITEMCHANGING)
            return AllowsChange(*reinterpret_cast<const NMLISTVIEW*>(lParam)) ? FALSE : TRUE;
        break;
    }
    case WM_CLOSE:
        cancelled_ = true;  // the check, if one runs, stops at its next look at the messages
        break;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

std::vector<TEntryCheck> TCheckEntriesForm::ListedEntries() const {
    std::vector<TEntryCheck> listed;
    for (int row = 0, count = ListViewRowCount(entryList_); row < count; ++row)
        listed.push_back(rows_[static_cast<size_t>(ListViewData(entryList_, row))]);
    return listed;
}

void TCheckEntriesForm::SetChecking(bool checking) {
    checking_ = checking;
    ShowWindow(progress_, checking ? SW_SHOW : SW_HIDE);
    ShowWindow(cancelButton_, checking ? SW_SHOW : SW_HIDE);
    EnableWindow(cancelButton_, checking);
    for (HWND button : {removeButton_, selectButton_, closeButton_}) EnableWindow(button, !checking);
    // Esc stops a running check; afterwards it closes the dialog.
    SetCancelButton(checking ? cancelButton_ : closeButton_);
    if (checking) SetFocus(cancelButton_);
}

void TCheckEntriesForm::RunCheck() {
    if (checking_) return;
    cancelled_ = false;
    rows_.clear();
    ListViewClear(entryList_);
    SetWindowTextA(summary_, "Checking the entries...");
    SetChecking(true);
    TEntryChecker checker(location_);
    const size_t total = checker.Names().size();
    SendMessageA(progress_, PBM_SETRANGE32, 0, static_cast<LPARAM>(total));
    size_t checked = 0;
    ULONGLONG lastLook = 0;
    for (; checked < total; ++checked) {
        if (checked > 0 && checked % kEntriesPerLook == 0 &&
            (checked == kEntriesPerLook || GetTickCount64() - lastLook >= kMessageIntervalMs)) {
            SendMessageA(progress_, PBM_SETPOS, checked, 0);
            Application().ProcessMessages();
            // Closing the dialog may have destroyed its window.
            if (!Handle()) return;
            if (cancelled_ || ModalResult() != mrNone || Application().Terminated()) break;
            lastLook = GetTickCount64();
        }
        TEntryCheck entry = checker.Check(checked);
        if (entry.state != esExistingLink) rows_.push_back(std::move(entry));
    }
    ShowRows();
    const std::string listed = Counted(rows_.size(), "listed", "listed");
    SetWindowTextA(summary_, (checked < total ? "Check stopped: " + std::to_string(checked) + " of " +
                                                    Counted(total, "entry", "entries") + " checked, " + listed
                                              : Counted(checked, "entry", "entries") + " checked, " + listed)
                                 .c_str());
    SetChecking(false);
    SetFocus(entryList_);
}

void TCheckEntriesForm::ShowRows() {
    // Rows added to a list that repaints each one cost far more than the checks.
    {
        const TUpdateBracket update(entryList_);
        for (size_t index = 0; index < rows_.size(); ++index) {
            const TEntryCheck& entry = rows_[index];
            const int row = ListViewAddRow(entryList_, entry.name);
            for (int column = 1; column < static_cast<int>(std::size(kColumns)); ++column)
                ListViewSetText(entryList_, row, column, ColumnText(entry, column));
            ListViewSetData(entryList_, row, static_cast<LPARAM>(index));
            // Only a link that is surely broken starts checked: a missing disk may come back, and
            // an entry without a command of its own often belongs to an update or a system component.
            ListViewSetChecked(entryList_, row, entry.state == esInvalidLink);
        }
    }
    SortRows();
}

bool TCheckEntriesForm::AllowsChange(const NMLISTVIEW& change) const {
    if (change.iItem < 0 || !(change.uChanged & LVIF_STATE)) return true;
    const bool checking = (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    const auto index = static_cast<size_t>(ListViewData(entryList_, change.iItem));
    // An entry whose name cannot reach its key could not be removed, or another would be.
    return !checking || index >= rows_.size() || rows_[index].state != esUnsupportedName;
}

void TCheckEntriesForm::SortRows() {
    TSortOrder order{&rows_, sortColumn_, sortDescending_};
    SendMessageA(entryList_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&order), reinterpret_cast<LPARAM>(CompareRows));
}

void TCheckEntriesForm::EntryListColumnClick(const TEvent& event) {
    const int column = reinterpret_cast<const NMLISTVIEW*>(event.Header)->iSubItem;
    // The same column again turns the order round.
    sortDescending_ = column == sortColumn_ && !sortDescending_;
    sortColumn_ = column;
    SortRows();
}

void TCheckEntriesForm::CancelButtonClick(const TEvent&) { cancelled_ = true; }

void TCheckEntriesForm::RemoveButtonClick(const TEvent&) {
    if (checking_) return;
    std::vector<std::string> names;
    for (int row = 0, count = ListViewRowCount(entryList_); row < count; ++row)
        if (ListViewChecked(entryList_, row)) names.push_back(rows_[static_cast<size_t>(ListViewData(entryList_, row))].name);
    if (names.empty()) return;
    const std::string question = "You are about to remove " + Counted(names.size(), "registry key", "registry keys") +
                                 ".\rContinue ?";
    if (MessageDlg(question, mkConfirmation) == mrCancel) return;
    const std::vector<TRemovalFailure> failures = remove_(names);
    if (!failures.empty()) MessageDlg(FailureText(failures), mkWarning);
    RunCheck();
}

void TCheckEntriesForm::SelectButtonClick(const TEvent&) {
    if (checking_) return;
    const int row = ListViewSelectedRow(entryList_);
    if (row < 0) return;
    SelectedEntry = rows_[static_cast<size_t>(ListViewData(entryList_, row))].name;
    SetModalResult(mrOK);
}

void TCheckEntriesForm::CloseButtonClick(const TEvent&) { SetModalResult(mrCancel); }
