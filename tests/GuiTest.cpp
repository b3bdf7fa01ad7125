// GUI test helpers: pumping, key and mouse input, timer-answered modal windows, the fixture.
#include "GuiTest.h"

#include "Base/Exception.h"
#include "Win/Application.h"
#include "Win/Controls.h"
#include "Win/Widgets.h"

#include <cstdio>

namespace {

TModalAnswer* activeAnswer = nullptr;

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM snapshotAddress) {
    auto& snapshot = *reinterpret_cast<TDialogSnapshot*>(snapshotAddress);
    const std::string className = ClassOf(child);
    if (lstrcmpiA(className.c_str(), "Static") == 0) {
        if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            snapshot.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        } else if (const std::string text = WindowText(child); !text.empty()) {
            if (!snapshot.text.empty()) snapshot.text += '\n';
            snapshot.text += text;
        }
    } else if (lstrcmpiA(className.c_str(), "Button") == 0) {
        snapshot.buttons.push_back(WindowText(child));
    }
    return TRUE;
}

LPARAM KeyData(UINT virtualKey, bool release) {
    const auto scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    return static_cast<LPARAM>(1 | (scanCode << 16) | (release ? 0xC0000000u : 0u));
}

void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace

void PumpMessages() { Application().ProcessMessages(); }

TDialogSnapshot SnapshotOf(HWND window) {
    TDialogSnapshot snapshot;
    snapshot.caption = WindowText(window);
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&snapshot));
    HWND mainWindow = Application().MainWindow();
    snapshot.ownerEnabled = mainWindow && IsWindowEnabled(mainWindow);
    return snapshot;
}

HWND ControlOf(const TForm& form, const char* name, TWhere where) {
    HWND control = form.FindControl(name);
    if (!control) ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << "no control named " << name;
    return control;
}

void PressKey(HWND window, UINT virtualKey, bool shift) {
    if (shift) SetShift(true);
    PostMessageA(window, WM_KEYDOWN, virtualKey, KeyData(virtualKey, false));
    PostMessageA(window, WM_KEYUP, virtualKey, KeyData(virtualKey, true));
    PumpMessages();
    if (shift) SetShift(false);
}

void PressAltLetter(HWND window, char letter) {
    PostMessageA(window, WM_SYSCHAR, static_cast<WPARAM>(letter), 0x20000001);  // bit 29: Alt is down
    PumpMessages();
}

void Click(HWND window, POINT point) {
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    PumpMessages();
}

TModalAnswer::TModalAnswer(const char* className, std::string caption, std::function<void(HWND)> answer,
                           TWhere where)
    : className_(className), caption_(std::move(caption)), answer_(std::move(answer)), where_(where) {
    activeAnswer = this;
    startedAt_ = GetTickCount();
    timer_ = SetTimer(nullptr, 0, 20, OnTimer);
}

TModalAnswer::~TModalAnswer() {
    KillTimer(nullptr, timer_);
    activeAnswer = nullptr;
}

void CALLBACK TModalAnswer::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    TModalAnswer* self = activeAnswer;
    if (!self) return;
    if (!self->answered_) {
        HWND window = FindWindowA(self->className_.c_str(), self->caption_.c_str());
        if (window && IsWindowVisible(window)) {
            self->Answer(window);
            return;
        }
    }
    self->Watch();
}

void TModalAnswer::Answer(HWND window) {
    answered_ = true;
    answeredWindow_ = window;
    answeredAt_ = GetTickCount();
    snapshot_ = SnapshotOf(window);
    answer_(window);
}

void TModalAnswer::Watch() {
    if (watchdogFired_) return;
    const DWORD limit = kWatchdogSeconds * 1000;
    if (answered_) {
        if (GetTickCount() - answeredAt_ >= limit && IsWindow(answeredWindow_) && IsWindowVisible(answeredWindow_))
            CloseAndFail(answeredWindow_, "was still open " + std::to_string(kWatchdogSeconds) +
                                              " s after the test's answer");
        return;
    }
    // Another window (an unexpected message box, say) holds the modal loop the answer waits in.
    HWND active = GetActiveWindow();
    if (GetTickCount() - startedAt_ >= limit && active && active != Application().MainWindow() &&
        IsWindowVisible(active))
        CloseAndFail(active, "held the modal loop for " + std::to_string(kWatchdogSeconds) + " s while \"" +
                                 caption_ + "\" was awaited");
}

void TModalAnswer::CloseAndFail(HWND window, const std::string& what) {
    watchdogFired_ = true;
    ADD_FAILURE_AT(where_.file_name(), static_cast<int>(where_.line()))
        << "the window \"" << WindowText(window) << "\" " << what << "; the watchdog closed it";
    // A dialog box's own loop ends with EndDialog; a form's modal loop ends with its window.
    if (ClassOf(window) == kMessageBoxClass)
        EndDialog(window, IDCANCEL);
    else
        DestroyWindow(window);
}

std::function<void(HWND)> PressKeyInDialog(UINT virtualKey) {
    return [virtualKey](HWND) {
        PostMessageA(GetFocus(), WM_KEYDOWN, virtualKey, 0);
        PostMessageA(GetFocus(), WM_KEYUP, virtualKey, 0xC0000000);
    };
}

std::function<void(HWND)> PressCloseBox() {
    return [](HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); };
}

std::function<void(HWND)> PressButton(int buttonId) {
    return [buttonId](HWND window) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, buttonId)));
    };
}

TConfirmedRun RunWithConfirmation(const std::function<void()>& command, std::function<void(HWND)> answer,
                                  TWhere where) {
    std::unique_ptr<TModalAnswer> warning;
    TModalAnswer confirmation(kFormClassName, "Confirm", [&](HWND dialog) {
        answer(dialog);
        warning = std::make_unique<TModalAnswer>(kFormClassName, "Warning", PressButton(IDOK), where);
    }, where);
    command();
    TConfirmedRun run;
    run.confirmed = confirmation.Answered();
    run.confirmation = confirmation.Snapshot();
    if (warning && warning->Answered()) {
        run.warned = true;
        run.warning = warning->Snapshot();
    }
    return run;
}

void ExpectEnterEscAndCloseBox(const char* caption, TDialogButtons buttons, const std::function<int()>& showModal,
                               const std::function<void(HWND)>& onOpen, TWhere where) {
    const testing::ScopedTrace trace(where.file_name(), static_cast<int>(where.line()), caption);
    const struct {
        const char* label;
        std::function<void(HWND)> answer;
        int result;
    } rows[] = {
        {"Enter clicks the default button", PressKeyInDialog(VK_RETURN), buttons.defaultButton},
        {"Esc clicks the cancel button", PressKeyInDialog(VK_ESCAPE), buttons.cancelButton},
        {"the close box cancels", PressCloseBox(), mrCancel},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        TModalAnswer answer(kFormClassName, caption, [&](HWND dialog) {
            if (onOpen) onOpen(dialog);
            row.answer(dialog);
        }, where);
        EXPECT_EQ(row.result, showModal());
        ASSERT_TRUE(answer.Answered());
        EXPECT_FALSE(answer.Snapshot().ownerEnabled) << "the main window must take no input while the dialog is open";
        EXPECT_TRUE(IsWindowEnabled(Application().MainWindow())) << "the main window takes input again";
    }
}

namespace {

enum : int { IDC_NAMEEDIT = 300, IDC_THROWBUTTON, IDC_FLATBUTTON };

const TControlSpec kTestDialogLayout[] = {
    {"NamePanel", nullptr, kPanelClass, 0, 8, 8, 200, 70, 0, 0, nullptr, "The panel"},
    {"NameLabel", "NamePanel", "STATIC", 0, 10, 10, 0, 0, SS_LEFT, 0, "&Name:", nullptr},
    {"NameEdit", "NamePanel", "EDIT", IDC_NAMEEDIT, 10, 30, 150, 21, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
     "", "Type a name|The name to type into this box"},
    {"OKButton", nullptr, "BUTTON", IDOK, 20, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0, "&OK", "Accept"},
    {"CancelButton", nullptr, "BUTTON", IDCANCEL, 100, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0, "C&ancel",
     nullptr},
    {"ThrowButton", nullptr, "BUTTON", IDC_THROWBUTTON, 180, 90, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0, "&Throw",
     nullptr},
    {"FlatButton", nullptr, kFlatButtonClass, IDC_FLATBUTTON, 220, 8, 60, 21, 0, 0, "Flat", "A flat button"},
    {"ClearLabel", nullptr, "STATIC", 0, 220, 40, 0, 0, SS_LEFT, WS_EX_TRANSPARENT, "Clear", nullptr},
};

const TEventSpec<TTestDialog> kTestDialogEvents[] = {
    {IDOK, kClicked, &TTestDialog::OKButtonClick},
    {IDCANCEL, kClicked, &TTestDialog::CancelButtonClick},
    {IDC_THROWBUTTON, kClicked, &TTestDialog::ThrowButtonClick},
    {IDC_FLATBUTTON, kClicked, &TTestDialog::FlatButtonClick},
};

}  // namespace

TTestDialog::TTestDialog(HWND owner, bool showHint) {
    const TFormSpec formSpec = {"Test Dialog",      300,  130, kDialogBorderStyle, kDialogBorderExStyle, 0, showHint,
                            "MS Sans Serif", -11};
    CreateForm(formSpec, kTestDialogLayout, {}, owner);
    SetDefaultButton(RequiredControl("OKButton"));
    SetCancelButton(RequiredControl("CancelButton"));
}

void TTestDialog::OKButtonClick(const TEvent&) { SetModalResult(mrOK); }

void TTestDialog::CancelButtonClick(const TEvent&) { SetModalResult(mrCancel); }

void TTestDialog::ThrowButtonClick(const TEvent&) {
    if (!ThrowMessage.empty()) throw Exception(ThrowMessage);
    ThrowHandlerEnded = true;
}

void TTestDialog::FlatButtonClick(const TEvent&) { ++FlatButtonClicks; }

bool TTestDialog::OnEvent(const TEvent& event) { return DispatchEvent(*this, kTestDialogEvents, event); }

TWatchdog::TWatchdog(const char* what, DWORD seconds)
    : what_(what), milliseconds_(seconds * 1000), done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, Watch, this, 0, nullptr)) {}

TWatchdog::~TWatchdog() {
    SetEvent(done_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(done_);
}

DWORD WINAPI TWatchdog::Watch(void* self) {
    const auto& watchdog = *static_cast<const TWatchdog*>(self);
    if (WaitForSingleObject(watchdog.done_, watchdog.milliseconds_) == WAIT_OBJECT_0) return 0;
    std::printf("watchdog: %s did not end within %lu s\n", watchdog.what_, watchdog.milliseconds_ / 1000);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return 1;
}

void TMainWindowFixture::OpenMainWindow() {
    Application().SetTitle("Tarnwick");
    Application().Help().SetFiles("", "Twk.hlp");
    OpenForm(true);
}

void TMainWindowFixture::CloseMainWindow() {
    form_.reset();
    Application().SetMainForm(nullptr);
    PumpMessages();
}

void MainFormTest::SetUp() {
    ScratchRegistryTest::SetUp();
    OpenMainWindow();
}

void MainFormTest::TearDown() {
    CloseMainWindow();
    ScratchRegistryTest::TearDown();
}

void TMainWindowFixture::OpenForm(bool show, bool windows64) {
    form_.reset();  // first: the old window's end clears the application's events
    form_ = std::make_unique<TMainForm>(windows64);
    Application().SetMainForm(form_.get());
    if (show) {
        form_->Show(SW_SHOWNORMAL);
        SetForegroundWindow(form_->Handle());
        PumpMessages();
    }
}

int TMainWindowFixture::MenuId(const char* itemName, TWhere where) {
    const TMainMenu::TItem* item = form_->Menu().FindItem(itemName);
    if (!item) ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << "no menu item named " << itemName;
    return item ? item->id : 0;
}

void TMainWindowFixture::Command(const char* itemName, TWhere where) {
    SendMessageA(form_->Handle(), WM_COMMAND, MAKEWPARAM(MenuId(itemName, where), 0), 0);
    PumpMessages();
}

void TMainWindowFixture::Activate() {
    SendMessageA(form_->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    PumpMessages();
}

void TMainWindowFixture::ClickEntry(const char* listName, const std::string& entry, TWhere where) {
    HWND list = Control(listName, where);
    const auto index = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
    if (index == LB_ERR) {
        ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << entry << " is not in " << listName;
        return;
    }
    SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    Click(list, {item.left + 4, (item.top + item.bottom) / 2});
}

int TMainWindowFixture::SelectedIndex(const char* listName, TWhere where) {
    return ListBoxSelectedIndex(Control(listName, where));
}

std::vector<std::string> TMainWindowFixture::Entries(const char* listName, TWhere where) {
    HWND list = Control(listName, where);
    std::vector<std::string> entries;
    for (int index = 0; index < ListBoxCount(list); ++index) entries.push_back(ListBoxItemText(list, index));
    return entries;
}

std::vector<TMainWindowFixture::TRow> TMainWindowFixture::Rows() {
    HWND details = Control("DEntryList");
    std::vector<TRow> rows;
    for (int row = 0; row < ListViewRowCount(details); ++row)
        rows.push_back({ListViewText(details, row, 0), ListViewText(details, row, 1), ListViewChecked(details, row)});
    return rows;
}

std::string TMainWindowFixture::StatusText() { return StatusBarSimpleText(Control("StatusBar")); }

std::string TMainWindowFixture::InfoText() { return WindowText(Control("InfoMemo")); }
