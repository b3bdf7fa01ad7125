// Control message wrappers, update brackets and the two subclasses.
#include "Win/Controls.h"

#include "Win/Gdi.h"

#include <algorithm>
#include <vector>

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void ListBoxClear(HWND list) { SendMessageA(list, LB_RESETCONTENT, 0, 0); }

int ListBoxAdd(HWND list, const std::string& text) {
    return static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

namespace {

// A name as a sorted list box compares it: its text up to the first null, in UTF-16, with the
// sort key of the list box's locale ignoring case.
struct TSortedName {
    const std::string* name;
    std::wstring text;
    std::string key;
};

TSortedName SortedName(const std::string& name, LCID locale) {
    TSortedName sorted{&name, std::wstring(name.size() + 1, L'\0'), {}};
    sorted.text.resize(static_cast<size_t>(std::max(
        MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, sorted.text.data(), static_cast<int>(sorted.text.size())) - 1,
        0)));
    const int size = LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, sorted.text.c_str(), -1, nullptr, 0);
    sorted.key.resize(static_cast<size_t>(std::max(size, 0)));
    LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, sorted.text.c_str(), -1,
                 reinterpret_cast<LPWSTR>(sorted.key.data()), size);
    return sorted;
}

}  // namespace

void ListBoxAddAll(HWND list, std::span<const std::string> names) {
    if (names.size() > 1 && ListBoxCount(list) == 0) {
        // The control's own comparison is CompareString with its locale, ignoring case. When the
        // names, ordered by sort key, compare strictly ascending with it, one LB_ADDSTRING each
        // would append each one: appending them directly gives the same list.
        const auto locale = static_cast<LCID>(SendMessageA(list, LB_GETLOCALE, 0, 0));
        std::vector<TSortedName> sorted;
        sorted.reserve(names.size());
        for (const std::string& name : names) sorted.push_back(SortedName(name, locale));
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const TSortedName& first, const TSortedName& second) { return first.key < second.key; });
        const bool ascending =
            std::adjacent_find(sorted.begin(), sorted.end(), [locale](const TSortedName& first, const TSortedName& second) {
                return CompareStringW(locale, NORM_IGNORECASE, first.text.c_str(), -1, second.text.c_str(), -1) !=
                       CSTR_LESS_THAN;
            }) == sorted.end();
        if (ascending) {
            for (const TSortedName& name : sorted)
                SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.name->c_str()));
            return;
        }
    }
    for (const std::string& name : names) ListBoxAdd(list, name);
}

int ListBoxCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

std::string ListBoxItemText(HWND list, int index) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return "";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

int ListBoxSelectedIndex(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

void ListBoxSelect(HWND list, int index) { SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void ListViewAddColumn(HWND list, int column, const char* caption, int width) {
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    info.pszText = const_cast<char*>(caption);
    info.cx = width;
    info.iSubItem = column;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
}

void ListViewClear(HWND list) { SendMessageA(list, LVM_DELETEALLITEMS, 0, 0); }

int ListViewAddRow(HWND list, const std::string& caption) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListViewRowCount(list);
    item.pszText = const_cast<char*>(caption.c_str());
    return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListViewSetText(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string ListViewText(HWND list, int row, int column) {
    // The control does not tell the length: grow the buffer until the text fits with room over.
    std::vector<char> buffer(256);
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<size_t>(
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

int ListViewRowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

bool ListViewChecked(HWND list, int row) {
    const auto state = static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

void ListViewSetChecked(HWND list, int row, bool checked) {
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListViewSetData(HWND list, int row, LPARAM data) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

LPARAM ListViewData(HWND list, int row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

int ListViewSelectedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

namespace {

int CALLBACK CompareCaptions(LPARAM firstRow, LPARAM secondRow, LPARAM captionsAddress) {
    const auto& captions = *reinterpret_cast<const std::vector<std::string>*>(captionsAddress);
    return lstrcmpA(captions[static_cast<size_t>(firstRow)].c_str(), captions[static_cast<size_t>(secondRow)].c_str());
}

}  // namespace

void ListViewSortByCaption(HWND list) {
    // Each caption is read once and the row's item data set to its index, so the comparisons
    // send no messages (a row's messages may pass through subclasses that cost a lot).
    std::vector<std::string> captions(static_cast<size_t>(ListViewRowCount(list)));
    for (size_t row = 0; row < captions.size(); ++row) {
        captions[row] = ListViewText(list, static_cast<int>(row), 0);
        ListViewSetData(list, static_cast<int>(row), static_cast<LPARAM>(row));
    }
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&captions), reinterpret_cast<LPARAM>(CompareCaptions));
}

TUpdateBracket::TUpdateBracket(HWND control) : control_(control) { SendMessageA(control_, WM_SETREDRAW, FALSE, 0); }

TUpdateBracket::~TUpdateBracket() {
    SendMessageA(control_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(control_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void StatusBarSetSimpleText(HWND bar, const std::string& text) {
    SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBarSimpleText(HWND bar) {
    // The readers take the simple panel as part 0.
    const auto length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

void AddToolButtons(HWND toolbar, std::span<const TToolButtonSpec> buttons) {
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    std::vector<TBBUTTON> added;
    for (const TToolButtonSpec& buttonSpec : buttons) {
        TBBUTTON button{};
        if (buttonSpec.commandId == 0) {
            button.iBitmap = buttonSpec.separatorWidth;
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = buttonSpec.image;
            button.idCommand = buttonSpec.commandId;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
            button.iString = reinterpret_cast<INT_PTR>(buttonSpec.caption);
        }
        added.push_back(button);
    }
    SendMessageA(toolbar, TB_ADDBUTTONSA, added.size(), reinterpret_cast<LPARAM>(added.data()));
}

int ToolButtonCommand(HWND toolbar, int index) {
    TBBUTTON button{};
    if (!SendMessageA(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button))) return 0;
    return (button.fsStyle & BTNS_SEP) ? 0 : button.idCommand;
}

bool ToolButtonEnabled(HWND toolbar, int commandId) {
    return SendMessageA(toolbar, TB_ISBUTTONENABLED, static_cast<WPARAM>(commandId), 0) != 0;
}

void EnableToolButton(HWND toolbar, int commandId, bool enabled) {
    SendMessageA(toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(commandId), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

namespace {

LRESULT CALLBACK KeyPressProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, KeyPressProc, id);
    const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
    if (message == WM_CHAR) {
        NMCHAR notice{};
        notice.hdr.hwndFrom = control;
        notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
        notice.hdr.code = kKeyPressNotification;
        notice.ch = static_cast<UINT>(wParam);
        SendMessageA(GetParent(control), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
    }
    return result;
}

constexpr int kFrameWidth = 2;

LRESULT CALLBACK EtchedFrameProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    switch (message) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, EtchedFrameProc, id);
        break;
    case WM_NCCALCSIZE: {
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        RECT& client = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
        InflateRect(&client, -kFrameWidth, -kFrameWidth);
        return result;
    }
    case WM_NCPAINT: {
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        TWindowDc dc(control, true);
        RECT bounds;
        GetWindowRect(control, &bounds);
        OffsetRect(&bounds, -bounds.left, -bounds.top);
        DrawEdge(dc.Get(), &bounds, EDGE_ETCHED, BF_RECT);
        return result;
    }
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void NotifyKeyPress(HWND control) { SetWindowSubclass(control, KeyPressProc, 1, 0); }

void AddEtchedFrame(HWND control) {
    SetWindowSubclass(control, EtchedFrameProc, 1, 0);
    SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
