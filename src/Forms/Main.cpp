// TMainForm: layout, menu, toolbar and event tables, the entry views and the link evaluation.
#include "Forms/Main.h"

#include "Base/Exception.h"
#include "Base/Text.h"
#include "Entries/EntryCheck.h"
#include "Entries/Registry.h"
#include "Entries/ValueText.h"
#include "Win/Application.h"
#include "Win/Bitmaps.h"
#include "Win/Controls.h"
#include "Win/Widgets.h"
#include "resource.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace {

enum : int {
    IDM_FILEIMPORT = 200,
    IDM_FILEEXPORT,
    IDM_FILEEXIT,
    IDM_EDITUNINSTALL,
    IDM_EDITREMOVE,
    IDM_EDITUNDO,
    IDM_EDITREFRESH,
    IDM_EDITPROGRAMS,
    IDM_VIEWMACHINE,  // the machine's native view: the first location, shown at start
    IDM_VIEW32BIT,
    IDM_VIEWUSER,
    IDM_HELPTOPICS,
    IDM_HELPSEARCH,
    IDM_HELPABOUT,
    IDM_EDITCHECK,
};

enum : int {
    IDC_SPEEDBAR = 100,
    IDC_CENTRYLIST,
    IDC_UENTRYLIST,
    IDC_PROGBUTTON,
    IDC_DENTRYLIST,
    IDC_INFOMEMO,
    IDC_STATUSBAR,
};

const TFormSpec kFormSpec = {
    "Tarnwick", 491, 418, kSingleBorderStyle, 0, IDI_TWK, true, "MS Sans Serif", -11,
};

constexpr DWORD kEntryListStyle = LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;

// Table order is z-order and tab order: each label comes just before the list it focuses.
const TControlSpec kLayout[] = {
    {"SpeedBar", nullptr, TOOLBARCLASSNAMEA, IDC_SPEEDBAR, 0, 0, 491, 72,
     TBSTYLE_FLAT | TBSTYLE_TRANSPARENT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN, 0,
     nullptr, nullptr},
    {"CEntryLabel", nullptr, "STATIC", 0, 12, 88, 0, 0, SS_LEFT, 0, "&Conventional Entries", nullptr},
    {"CEntryList", nullptr, "LISTBOX", IDC_CENTRYLIST, 12, 104, 218, 137, kEntryListStyle, WS_EX_CLIENTEDGE, nullptr,
     "Standard information list about the installed programs"},
    {"UEntryLabel", nullptr, "STATIC", 0, 261, 88, 0, 0, SS_LEFT, 0, "&Unconventional Entries", nullptr},
    {"UEntryList", nullptr, "LISTBOX", IDC_UENTRYLIST, 261, 104, 218, 137, kEntryListStyle, WS_EX_CLIENTEDGE, nullptr,
     "Undocumented information list about the installed programs"},
    {"ProgButton", nullptr, kFlatButtonClass, IDC_PROGBUTTON, 233, 215, 26, 26, 0, 0, nullptr, nullptr},
    {"DEntryList", nullptr, WC_LISTVIEWA, IDC_DENTRYLIST, 12, 252, 467, 93, LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP,
     WS_EX_CLIENTEDGE, nullptr, "Detailed information list about the currently selected entry"},
    {"InfoMemo", nullptr, "EDIT", IDC_INFOMEMO, 12, 356, 467, 33,
     ES_MULTILINE | ES_READONLY | ES_CENTER | ES_AUTOVSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, nullptr,
     "Link information and recommended action"},
    {"StatusBar", nullptr, STATUSCLASSNAMEA, IDC_STATUSBAR, 0, 399, 491, 19, CCS_NOPARENTALIGN | CCS_NORESIZE, 0,
     nullptr, nullptr},
};

const TMenuItemSpec kFileAndEditMenus[] = {
    {"FileMenu", 0, "&File", 0, 0, "Commands for working with the registry file", 0},
    {"FileImportItem", 1, "&Import Registry File...", IDM_FILEIMPORT, 0, "Import a key into the registry file",
     IDB_MENU_IMPORT},
    {"FileExportItem", 1, "&Export Registry File...", IDM_FILEEXPORT, 0,
     "Export the currently selected entry to a text file", IDB_MENU_EXPORT},
    {"N1", 1, "-", 0, 0, nullptr, 0},
    {"FileExitItem", 1, "E&xit", IDM_FILEEXIT, 0, "Exit this program", IDB_MENU_EXIT},
    {"EditMenu", 0, "&Edit", 0, 0, "Commands for editing the registry file", 0},
    {"EditUninstallItem", 1, "&Uninstall Program", IDM_EDITUNINSTALL, 0, "Uninstall the currently selected program",
     IDB_MENU_UNINSTALL},
    {"EditRemoveItem", 1, "&Remove Registry Key", IDM_EDITREMOVE, 0,
     "Remove the currently selected entry from the registry file", IDB_MENU_REMOVE},
    {"EditUndoItem", 1, "&Undo Remove", IDM_EDITUNDO, kCtrlFlag | 'Z',
     "Put back the entry removed last, exactly as it was", 0},
    {"N2", 1, "-", 0, 0, nullptr, 0},
    {"EditRefreshItem", 1, "Refresh Entry &Views", IDM_EDITREFRESH, VK_F5, "Reread the registry file", 0},
    {"EditCheckItem", 1, "&Check Entries...", IDM_EDITCHECK, VK_F7,
     "Check the uninstall command of every entry listed and remove the broken entries", 0},
    {"N3", 1, "-", 0, 0, nullptr, 0},
    {"EditProgramsItem", 1, "&Programs Group", IDM_EDITPROGRAMS, 0, "Open the Programs Group folder",
     IDB_MENU_PROGRAMS},
};

constexpr TMenuItemSpec kViewMenu = {"ViewMenu", 0, "&View", 0, 0,
                                     "Commands for choosing which installed programs are listed", 0};

// A View menu item and the location it shows.
struct TViewItemSpec {
    TMenuItemSpec item;
    TEntryLocation location;
};

const TViewItemSpec kViewUserItem = {
    {"ViewUserItem", 1, "&User Programs", IDM_VIEWUSER, kCtrlFlag | '3',
     "Show the entries of the programs installed for the current user", 0},
    kUserLocation};

// Each Windows keeps the entries of programs installed for all users in its own registry view,
// and 64-bit Windows keeps those of 32-bit programs in the 32-bit view besides.
const TViewItemSpec kViewItemsOf64BitWindows[] = {
    {{"View64BitItem", 1, "&64-bit Programs", IDM_VIEWMACHINE, kCtrlFlag | '1',
      "Show the entries of the 64-bit programs installed for all users", 0},
     kMachine64Location},
    {{"View32BitItem", 1, "&32-bit Programs", IDM_VIEW32BIT, kCtrlFlag | '2',
      "Show the entries of the 32-bit programs installed for all users", 0},
     kMachine32Location},
    kViewUserItem,
};
const TViewItemSpec kViewItemsOf32BitWindows[] = {
    {{"ViewMachineItem", 1, "&Machine Programs", IDM_VIEWMACHINE, kCtrlFlag | '1',
      "Show the entries of the programs installed for all users", 0},
     kMachineLocation},
    kViewUserItem,
};

std::span<const TViewItemSpec> ViewItems(bool windows64) {
    if (windows64) return kViewItemsOf64BitWindows;
    return kViewItemsOf32BitWindows;
}

const TMenuItemSpec kHelpMenu[] = {
    {"HelpMenu", 0, "&Help", 0, 0, "Commands for displaying help for and information about this program", 0},
    {"HelpTopicsItem", 1, "Help &Topics", IDM_HELPTOPICS, VK_F1, "Display the Help Topics screen",
     IDB_MENU_HELPTOPICS},
    {"HelpSearchItem", 1, "&Search for Help On...", IDM_HELPSEARCH, kCtrlFlag | VK_F1,
     "Search the Help file for a topic", 0},
    {"N4", 1, "-", 0, 0, nullptr, 0},
    {"HelpAboutItem", 1, "&About...", IDM_HELPABOUT, 0, "Show program information, version number and copyright",
     0},
};

// File, Edit, View with the items of this kind of Windows, Help.
std::vector<TMenuItemSpec> MainMenu(bool windows64) {
    std::vector<TMenuItemSpec> items(std::begin(kFileAndEditMenus), std::end(kFileAndEditMenus));
    items.push_back(kViewMenu);
    for (const TViewItemSpec& view : ViewItems(windows64)) items.push_back(view.item);
    items.insert(items.end(), std::begin(kHelpMenu), std::end(kHelpMenu));
    return items;
}

const TToolButtonSpec kSpeedButtons[] = {
    {"Import", 0, IDM_FILEIMPORT, 0},
    {"Export", 1, IDM_FILEEXPORT, 0},
    {nullptr, 0, 0, 8},
    {"Uninstall", 2, IDM_EDITUNINSTALL, 0},
    {"Remove", 3, IDM_EDITREMOVE, 0},
    {nullptr, 0, 0, 8},
    {"Refresh", 4, IDM_EDITREFRESH, 0},
    {nullptr, 0, 0, 8},
    {"Help", 5, IDM_HELPTOPICS, 0},
    {nullptr, 0, 0, 8},
    {"Exit", 6, IDM_FILEEXIT, 0},
    {nullptr, 0, 0, 8},
};

// The commands that need a selected entry; toolbar buttons and menu items share the ids.
constexpr int kEntryCommands[] = {IDM_FILEEXPORT, IDM_EDITUNINSTALL, IDM_EDITREMOVE};

const TEventSpec<TMainForm> kEvents[] = {
    {IDM_FILEIMPORT, kClicked, &TMainForm::FileImportItemClick},
    {IDM_FILEEXPORT, kClicked, &TMainForm::FileExportItemClick},
    {IDM_FILEEXIT, kClicked, &TMainForm::FileExitItemClick},
    {IDM_EDITUNINSTALL, kClicked, &TMainForm::EditUninstallItemClick},
    {IDM_EDITREMOVE, kClicked, &TMainForm::EditRemoveItemClick},
    {IDM_EDITUNDO, kClicked, &TMainForm::EditUndoItemClick},
    {IDM_EDITREFRESH, kClicked, &TMainForm::EditRefreshItemClick},
    {IDM_EDITCHECK, kClicked, &TMainForm::EditCheckItemClick},
    {IDM_EDITPROGRAMS, kClicked, &TMainForm::EditProgramsItemClick},
    {IDM_VIEWMACHINE, kClicked, &TMainForm::ViewLocationItemClick},
    {IDM_VIEW32BIT, kClicked, &TMainForm::ViewLocationItemClick},
    {IDM_VIEWUSER, kClicked, &TMainForm::ViewLocationItemClick},
    {IDM_HELPTOPICS, kClicked, &TMainForm::HelpTopicsItemClick},
    {IDM_HELPSEARCH, kClicked, &TMainForm::HelpSearchItemClick},
    {IDM_HELPABOUT, kClicked, &TMainForm::HelpAboutItemClick},
    {IDC_PROGBUTTON, kClicked, &TMainForm::EditProgramsItemClick},
    {IDC_CENTRYLIST, LBN_SELCHANGE, &TMainForm::CEntryListClick},
    {IDC_UENTRYLIST, LBN_SELCHANGE, &TMainForm::CEntryListClick},
    {IDC_DENTRYLIST, NM_CLICK, &TMainForm::DEntryListClick},
    {IDC_DENTRYLIST, NM_DBLCLK, &TMainForm::DEntryListDblClick},
    {IDC_DENTRYLIST, kKeyPressNotification, &TMainForm::DEntryListKeyPress},
    {IDC_DENTRYLIST, LVN_ITEMCHANGED, &TMainForm::DEntryListChange},
};

constexpr COLORREF kMaskColor = RGB(0xFF, 0x00, 0xFF);        // toolbar image strips
constexpr COLORREF kGlyphBackground = RGB(0xC0, 0xC0, 0xC0);  // ProgButton glyph
constexpr int kSpeedImageSize = 48;

TImageListHandle LoadImageStrip(int resourceId, int count) {
    TImageListHandle images(ImageList_Create(kSpeedImageSize, kSpeedImageSize, ILC_COLOR24 | ILC_MASK, count, 0));
    const TBitmapHandle strip = LoadBitmapResource(resourceId);
    if (images && strip) ImageList_AddMasked(images.Get(), strip.Get(), kMaskColor);
    return images;
}

// Sets a flag for its lifetime.
class TScopedFlag {
public:
    explicit TScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~TScopedFlag() { flag_ = false; }
    TScopedFlag(const TScopedFlag&) = delete;
    TScopedFlag& operator=(const TScopedFlag&) = delete;

private:
    bool& flag_;
};

// Checks the first row, in the order the rows were added, that names the uninstall command;
// `captions` holds the rows' captions in that order (no need to ask the control for each).
void CheckUninstallRow(HWND details, const TStringList& captions) {
    const auto found = std::find_if(captions.begin(), captions.end(), NamesUninstallCommand);
    if (found != captions.end()) ListViewSetChecked(details, static_cast<int>(found - captions.begin()), true);
}

}  // namespace

TMainForm::TMainForm(bool windows64) : windows64_(windows64) {
    CreateForm(kFormSpec, kLayout, MainMenu(windows64));
    speedBar_ = RequiredControl("SpeedBar");
    cEntryList_ = RequiredControl("CEntryList");
    uEntryList_ = RequiredControl("UEntryList");
    progButton_ = RequiredControl("ProgButton");
    dEntryList_ = RequiredControl("DEntryList");
    infoMemo_ = RequiredControl("InfoMemo");
    statusBar_ = RequiredControl("StatusBar");
    SetUpSpeedBar();
    SetUpDetailsList();
    SendMessageA(cEntryList_, LB_SETITEMHEIGHT, 0, 13);
    SendMessageA(uEntryList_, LB_SETITEMHEIGHT, 0, 13);
    SendMessageA(statusBar_, SB_SIMPLE, TRUE, 0);
    SetFlatButtonGlyph(progButton_,
                       KeepPicture(LoadBitmapOnBackground(IDB_PROGBUTTON, kGlyphBackground, GetSysColor(COLOR_BTNFACE))), 1);
    SetActiveControl(cEntryList_);
    ChooseLocation(IDM_VIEWMACHINE);
    Menu().Enable(IDM_EDITUNDO, false);  // nothing was removed yet
    FormCreate();
}

TMainForm::~TMainForm() {
    // The application's events call into this form (the main form's end clears them).
    if (!Application().MainForm()) Application().SetMainForm(nullptr);
}

bool TMainForm::IsSupportedName(const std::string& name) const { return !Contains(unsupportedNames_, name); }

void TMainForm::SetUpSpeedBar() {
    AddEtchedFrame(speedBar_);
    SendMessageA(speedBar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(kSpeedImageSize, kSpeedImageSize));
    SendMessageA(speedBar_, TB_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(KeepImageList(LoadImageStrip(IDB_SBAR_ENABLED, 7))));
    SendMessageA(speedBar_, TB_SETDISABLEDIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(KeepImageList(LoadImageStrip(IDB_SBAR_DISABLED, 4))));
    AddToolButtons(speedBar_, kSpeedButtons);
    SendMessageA(speedBar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(65, 68));
    SendMessageA(speedBar_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(65, 65));
}

void TMainForm::SetUpDetailsList() {
    const DWORD extended = LVS_EX_CHECKBOXES | LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT |
                           LVS_EX_HEADERDRAGDROP;
    SendMessageA(dEntryList_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    ListViewAddColumn(dEntryList_, 0, "Data", 120);
    ListViewAddColumn(dEntryList_, 1, "Value", 343);
    NotifyKeyPress(dEntryList_);
}

void TMainForm::FormCreate() {
    Application().OnHint = [this] { DisplayHint(); };
    Application().OnActivate = [this] { EditRefreshItemClick(TEvent{}); };
    // A toolbar button shows the hint of the menu item with its command.
    for (const TToolButtonSpec& button : kSpeedButtons)
        if (const TMainMenu::TItem* item = Menu().FindCommand(button.commandId))
            SetToolButtonHint(speedBar_, button.commandId, item->hint);
    if (const TMainMenu::TItem* item = Menu().FindCommand(IDM_EDITPROGRAMS)) SetHint(progButton_, item->hint);
}

void TMainForm::DisplayHint() { StatusBarSetSimpleText(statusBar_, Application().Hint()); }

bool TMainForm::OnEvent(const TEvent& event) { return DispatchEvent(*this, kEvents, event); }

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A read-only edit asks for its colours with WM_CTLCOLORSTATIC.
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == infoMemo_) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, LinkColors[LinkState]);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    // F1 in an open menu: the menu sends WM_HELP for its item. A modal dialog's menus pass
    // theirs up to this window too; help is only for this window's own menus.
    if (message == WM_HELP && reinterpret_cast<const HELPINFO*>(lParam)->iContextType == HELPINFO_MENUITEM) {
        if (IsWindowEnabled(Handle())) Application().ShowHelp(THelpPage::ContentsTopic);
        return TRUE;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

void TMainForm::FileExitItemClick(const TEvent&) { Close(); }

void TMainForm::ViewLocationItemClick(const TEvent& event) {
    ChooseLocation(event.Id);
    RefreshEntryViews();
}

void TMainForm::ChooseLocation(int id) {
    for (const TViewItemSpec& view : ViewItems(windows64_)) {
        if (view.item.id != id) continue;
        location_ = view.location;
        const std::string title = *location_.title ? std::string(kFormSpec.caption) + " - " + location_.title
                                                   : std::string(kFormSpec.caption);
        SetWindowTextA(Handle(), title.c_str());
        Menu().CheckRadio(IDM_VIEWMACHINE, IDM_VIEWUSER, id);
    }
}

void TMainForm::EditRefreshItemClick(const TEvent&) { RefreshEntryViews(); }

void TMainForm::RefreshEntryViews() {
    HWND conventional = cEntryList_;
    HWND unconventional = uEntryList_;
    TStringList names;
    TRegistry registry;
    registry.ChooseRoot(location_.root, location_.view);
    registry.OpenRegistryKey(UninstallKeyPath, false);
    registry.ListSubkeyNames(names, &unsupportedNames_);
    {
        // Each entry is opened below the Uninstall key, held open meanwhile: no walk from the root.
        TRegistry entry;
        entry.ChooseRoot(registry.CurrentKey(), location_.view);
        TUpdateBracket conventionalUpdate(conventional), unconventionalUpdate(unconventional);
        ListBoxClear(conventional);
        ListBoxClear(unconventional);
        TStringList conventionalNames, unconventionalNames;
        for (const std::string& name : names) {
            const bool isConventional = IsSupportedName(name) && entry.OpenRegistryKey(name, false) &&
                                        entry.HasValue("DisplayName") && entry.HasValue("UninstallString");
            (isConventional ? conventionalNames : unconventionalNames).push_back(name);
            entry.CloseRegistryKey();
        }
        ListBoxAddAll(conventional, conventionalNames);
        ListBoxAddAll(unconventional, unconventionalNames);
    }
    registry.CloseRegistryKey();
    ShowEntryDetails("");
}

void TMainForm::CEntryListClick(const TEvent& event) {
    HWND conventional = cEntryList_;
    HWND unconventional = uEntryList_;
    ListBoxSelect(event.Sender == conventional ? unconventional : conventional, -1);
    const int index = ListBoxSelectedIndex(event.Sender);
    if (index >= 0) ShowEntryDetails(ListBoxItemText(event.Sender, index));
}

void TMainForm::ShowEntryDetails(const std::string& name) {
    HWND details = dEntryList_;
    TStringList valueNames, unsupportedValueNames;
    TRegistry registry;
    registry.ChooseRoot(location_.root, location_.view);
    if (IsSupportedName(name)) registry.OpenRegistryKey(UninstallEntryPath(name), false);
    registry.ListValueNames(valueNames, &unsupportedValueNames);
    std::exception_ptr failure;
    nonTextRows_.clear();
    {
        TStringList captions;  // of the rows, in the order they are added
        const TScopedFlag loading(loadingDetails_);
        TSortedListUpdate update(details);
        ListViewClear(details);
        for (const std::string& valueName : valueNames) {
            // A value that cannot be read (its name does not reach it, or it changed meanwhile)
            // gets no row; the load goes on, and the first such error is shown once the views
            // are consistent.
            try {
                // Such a name reads no value, or another one: its row would show wrong data.
                if (Contains(unsupportedValueNames, valueName))
                    throw UnsupportedValueNameError(valueName);
                const TRegistryValue value = registry.ReadValue(valueName);
                ListViewSetText(details, ListViewAddRow(details, valueName), 1, ValueDisplayText(value));
                captions.push_back(valueName);
                if (!value.IsText() && !value.data.empty()) nonTextRows_.push_back(valueName);
            } catch (...) {
                if (!failure) failure = std::current_exception();
            }
        }
        CheckUninstallRow(details, captions);
    }
    registry.CloseRegistryKey();
    EntryName = name;
    reportedNonTextRow_.reset();
    try {
        EvaluateLink();
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    UpdateCommands();
    if (failure) std::rethrow_exception(failure);
}

void TMainForm::DEntryListClick(const TEvent&) { EvaluateLink(); }

void TMainForm::DEntryListKeyPress(const TEvent& event) {
    // The list view has already toggled the focused row's check box on the space key.
    if (event.Key == ' ') DEntryListClick(event);
}

void TMainForm::DEntryListChange(const TEvent& event) {
    // A click on a check box toggles it without a click notification that follows the
    // toggle on every platform: the change of the check mark is what counts as the click.
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(event.Header);
    const bool checkToggled =
        (change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_STATEIMAGEMASK);
    if (checkToggled && !loadingDetails_) DEntryListClick(event);
}

void TMainForm::EvaluateLink() {
    if (EntryName.empty()) {
        LinkState = lsNoSelectedEntry;
        reportedNonTextRow_.reset();
        ShowLinkInfo();
        return;
    }
    if (!IsSupportedName(EntryName)) {
        LinkState = lsUnsupportedName;
        ShowLinkInfo();
        return;
    }
    UninstallCommand.clear();
    UninstallParams.clear();
    HWND details = dEntryList_;
    const int rows = ListViewRowCount(details);
    int checked = 0;
    int checkedRow = -1;
    for (int row = 0; row < rows; ++row) {
        if (!ListViewChecked(details, row)) continue;
        ++checked;
        checkedRow = row;
    }
    std::optional<std::string> nonTextCommand;  // the checked row's name when it holds no text
    if (rows == 0) {
        LinkState = lsEmptyList;
    } else if (checked != 1) {
        LinkState = checked == 0 ? lsNoCheckedItem : lsTooManyCheckedItems;
    } else {
        // The shown text of a number is no command: such a row resolves as an empty one. Every
        // evaluation probes afresh: the user may just have inserted the disk or removed the file.
        const std::string caption = ListViewText(details, checkedRow, 0);
        if (!Contains(nonTextRows_, caption)) {
            TCommandLink link = EvaluateCommandLink(location_, ListViewText(details, checkedRow, 1));
            UninstallCommand = std::move(link.program);
            UninstallParams = std::move(link.params);
            LinkState = link.state;
        } else {
            nonTextCommand = caption;
            LinkState = ProgramLinkState(UninstallCommand);
        }
    }
    ShowLinkInfo();
    // Told once when such a row becomes the command, not again on every click that keeps it:
    // one click on a check box evaluates twice (the check's change and the click).
    const bool tell = nonTextCommand && nonTextCommand != reportedNonTextRow_;
    reportedNonTextRow_ = nonTextCommand;
    if (tell) throw InvalidDataTypeError(*nonTextCommand);
}

void TMainForm::ShowLinkInfo() {
    SetWindowTextA(infoMemo_, LinkMessages[LinkState]);
    InvalidateRect(infoMemo_, nullptr, TRUE);  // the colour may change while the text stays
}

void TMainForm::UpdateCommands() {
    const bool enabled = HasSupportedEntry();
    for (const int command : kEntryCommands) EnableToolButton(speedBar_, command, enabled);
    for (const int command : kEntryCommands) Menu().Enable(command, enabled);
    Menu().Enable(IDM_EDITUNDO, !removals_.empty());
}

void TMainForm::ShowEntryIn(const TEntryLocation& location, const std::string& name) {
    for (const TViewItemSpec& view : ViewItems(windows64_))
        if (!SameLocation(location, location_) && SameLocation(view.location, location)) ChooseLocation(view.item.id);
    RefreshEntryViews();
    SelectEntry(name);
}
