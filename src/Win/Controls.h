// Thin wrappers over the messages of the system controls the forms use (list box, list view,
// status bar, toolbar), update brackets, and two subclasses: key-press notification and an
// etched frame.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <span>
#include <string>

// Any window's text.
std::string WindowText(HWND window);

// List boxes. Index -1 means "no item".
void ListBoxClear(HWND list);
int ListBoxAdd(HWND list, const std::string& text);  // at its sorted place in a sorted list
// Adds every name to a sorted list box: the same list as one ListBoxAdd each, in far less time
// for thousands of names (no binary search and no moving of items per name).
void ListBoxAddAll(HWND list, std::span<const std::string> names);
int ListBoxCount(HWND list);
std::string ListBoxItemText(HWND list, int index);
int ListBoxSelectedIndex(HWND list);
void ListBoxSelect(HWND list, int index);  // -1 removes the selection

// List views in report style. Row and column indexes from 0; column 0 is the caption.
void ListViewAddColumn(HWND list, int column, const char* caption, int width);
void ListViewClear(HWND list);
int ListViewAddRow(HWND list, const std::string& caption);  // at the end; returns its index
void ListViewSetText(HWND list, int row, int column, const std::string& text);
std::string ListViewText(HWND list, int row, int column);
int ListViewRowCount(HWND list);
bool ListViewChecked(HWND list, int row);
void ListViewSetChecked(HWND list, int row, bool checked);
// A row's item data (lParam), which the list keeps for the program.
void ListViewSetData(HWND list, int row, LPARAM data);
LPARAM ListViewData(HWND list, int row);
// The first selected row; -1 for none.
int ListViewSelectedRow(HWND list);
// Sorts the rows by caption, ascending, with lstrcmpA. Uses the rows' item data (lParam).
void ListViewSortByCaption(HWND list);

// Update bracket: no repainting while it lives; at its end repainting resumes and the
// control is repainted.
class TUpdateBracket {
public:
    explicit TUpdateBracket(HWND control);
    ~TUpdateBracket();
    TUpdateBracket(const TUpdateBracket&) = delete;
    TUpdateBracket& operator=(const TUpdateBracket&) = delete;

private:
    HWND control_;
};

// Update bracket of a list view sorted by caption: rows stay in the order they are added
// while it lives; at its end they are sorted once (ListViewSortByCaption), then repainted.
class TSortedListUpdate {
public:
    explicit TSortedListUpdate(HWND list) : list_(list), bracket_(list) {}
    ~TSortedListUpdate() { ListViewSortByCaption(list_); }
    TSortedListUpdate(const TSortedListUpdate&) = delete;
    TSortedListUpdate& operator=(const TSortedListUpdate&) = delete;

private:
    HWND list_;
    TUpdateBracket bracket_;  // destroyed after the sort: one repaint, of the sorted rows
};

// Status bar in simple mode: one panel across the bar.
void StatusBarSetSimpleText(HWND bar, const std::string& text);
std::string StatusBarSimpleText(HWND bar);

// Toolbar buttons. A separator has commandId 0 and a width; a button a caption shown under
// its image (an index into the toolbar's image list).
struct TToolButtonSpec {
    const char* caption;
    int image;
    int commandId;
    int separatorWidth;
};
void AddToolButtons(HWND toolbar, std::span<const TToolButtonSpec> buttons);
int ToolButtonCommand(HWND toolbar, int index);  // 0 for a separator or a missing button
bool ToolButtonEnabled(HWND toolbar, int commandId);
void EnableToolButton(HWND toolbar, int commandId, bool enabled);

// After `control` has handled a typed character (WM_CHAR), its parent receives WM_NOTIFY
// with an NMCHAR whose code is kKeyPressNotification and whose ch is the character.
inline constexpr UINT kKeyPressNotification = WM_USER + 1;
void NotifyKeyPress(HWND control);

// Gives `control` a 2-pixel etched border (raised inner, lowered outer) in its non-client area.
void AddEtchedFrame(HWND control);
