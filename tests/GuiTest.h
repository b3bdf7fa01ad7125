// Shared helpers for tests that drive the program's real windows in the test process: message
// pumping, controls by name, modal dialogs answered from a timer, and the main-window fixture.
// A helper that can fail reports it at its caller's line (the defaulted `where`).
#pragma once

#include "Forms/Main.h"
#include "ScratchRegistry.h"

#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <vector>

using TWhere = std::source_location;

// Handles every waiting message as the application's loop does (accelerators, dialog keys).
void PumpMessages();

// The control called `name` in `form`; adds a test failure when there is none.
HWND ControlOf(const TForm& form, const char* name, TWhere where = TWhere::current());

// Posts a key press to `window` (WM_KEYDOWN and WM_KEYUP, as the keyboard would) and pumps,
// so the application's loop translates it. `shift` holds Shift down meanwhile.
void PressKey(HWND window, UINT virtualKey, bool shift = false);
// Holds Ctrl down in this thread's key state while it lives, as the accelerators read it.
class TCtrlDown {
public:
    explicit TCtrlDown(bool down) { Set(down); }
    ~TCtrlDown() { Set(false); }
    TCtrlDown(const TCtrlDown&) = delete;
    TCtrlDown& operator=(const TCtrlDown&) = delete;

private:
    static void Set(bool down) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }
};

// Alt+letter as the system delivers it after translation: WM_SYSCHAR to the focused window.
void PressAltLetter(HWND window, char letter);
// A left click at `point` (client coordinates of `window`), sent as button down and up.
void Click(HWND window, POINT point);

// What a modal window showed when it was answered.
struct TDialogSnapshot {
    std::string caption;
    std::string text;                  // its static texts, joined by "\n"
    std::vector<std::string> buttons;  // its buttons' captions, left to right as created
    HICON icon = nullptr;              // the icon shown in it, if any
    bool ownerEnabled = true;          // whether the application's main window took input then
};

// What `window` shows now: its caption, static texts, buttons and icon.
TDialogSnapshot SnapshotOf(HWND window);

// Answers the modal window of `className` with `caption` that the test's next action opens:
// a thread timer finds it while the modal loop runs, records a snapshot and calls `answer`
// with it. Only one at a time; the timer stops when the object goes.
// Watchdog: a window still open kWatchdogSeconds after the answer, or another window that holds
// the thread's modal loop that long while none was answered, is closed and the test fails at
// the caller's line naming it, so a dialog that ignores its answer cannot hang the suite.
class TModalAnswer {
public:
    static constexpr DWORD kWatchdogSeconds = 5;

    TModalAnswer(const char* className, std::string caption, std::function<void(HWND window)> answer,
                 TWhere where = TWhere::current());
    ~TModalAnswer();
    TModalAnswer(const TModalAnswer&) = delete;
    TModalAnswer& operator=(const TModalAnswer&) = delete;

    bool Answered() const { return answered_; }
    const TDialogSnapshot& Snapshot() const { return snapshot_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Answer(HWND window);
    void Watch();
    void CloseAndFail(HWND window, const std::string& what);

    std::string className_;
    std::string caption_;
    std::function<void(HWND)> answer_;
    TWhere where_;
    UINT_PTR timer_ = 0;
    DWORD startedAt_ = 0;
    bool answered_ = false;
    HWND answeredWindow_ = nullptr;
    DWORD answeredAt_ = 0;
    bool watchdogFired_ = false;
    TDialogSnapshot snapshot_;
};

inline constexpr const char* kMessageBoxClass = "#32770";
inline constexpr const char* kFormClassName = "TwkForm";

// An answer that presses the window's button with control id `buttonId`.
std::function<void(HWND)> PressButton(int buttonId);
// An answer that presses a key on the control that has the focus in the dialog.
std::function<void(HWND)> PressKeyInDialog(UINT virtualKey);
// An answer that clicks the window's close box.
std::function<void(HWND)> PressCloseBox();

// What the dialogs of a confirmed command showed: its confirmation, and the warning if one followed.
struct TConfirmedRun {
    bool confirmed = false;
    TDialogSnapshot confirmation;
    bool warned = false;
    TDialogSnapshot warning;
};
// Runs `command`, answers the "Confirm" form it opens with `answer` and a "Warning" form that
// follows, should one, with OK.
TConfirmedRun RunWithConfirmation(const std::function<void()>& command, std::function<void(HWND)> answer,
                                  TWhere where = TWhere::current());

// The keys every modal dialog answers: Enter clicks its default button and Esc its cancel button
// (whose ids are their results: IDOK is mrOK, IDCANCEL mrCancel); the close box gives mrCancel.
// For each of the three, `showModal` creates the dialog and returns ShowModal's result while
// the answer is given; `onOpen`, when set, checks the open dialog first. Each result is checked,
// and that the main window took no input while the dialog was open and takes it afterwards.
struct TDialogButtons {
    int defaultButton;
    int cancelButton;
};
void ExpectEnterEscAndCloseBox(const char* caption, TDialogButtons buttons, const std::function<int()>& showModal,
                               const std::function<void(HWND dialog)>& onOpen = nullptr,
                               TWhere where = TWhere::current());

// A small form for framework tests: a panel holding a label ("&Name:") and an edit, OK
// (default button, mrOK), Cancel (cancel button, mrCancel), a button whose handler throws
// Exception(ThrowMessage), a flat button that counts its clicks and a transparent label.
// Caption "Test Dialog"; tooltips as asked.
class TTestDialog : public TForm {
public:
    explicit TTestDialog(HWND owner, bool showHint = false);

    std::string ThrowMessage = "Unable to write to C:\\Twk.ini";
    bool ThrowHandlerEnded = false;
    int FlatButtonClicks = 0;

    void OKButtonClick(const TEvent& event);
    void CancelButtonClick(const TEvent& event);
    void ThrowButtonClick(const TEvent& event);
    void FlatButtonClick(const TEvent& event);

protected:
    bool OnEvent(const TEvent& event) override;
};

// Ends the test program when a call into another program's code does not return within
// `seconds`, so that a hanging viewer cannot hold up the suite until ctest's limit.
class TWatchdog {
public:
    TWatchdog(const char* what, DWORD seconds);
    ~TWatchdog();
    TWatchdog(const TWatchdog&) = delete;
    TWatchdog& operator=(const TWatchdog&) = delete;

private:
    static DWORD WINAPI Watch(void* self);
    const char* what_;
    DWORD milliseconds_;
    HANDLE done_;
    HANDLE thread_;
};

// A TMainForm as the application's main form, and what a test does with it; the window part
// of fixtures, whichever registry they give it.
class TMainWindowFixture {
protected:
    // Opens the window shown and active, with the application's title and help file.
    void OpenMainWindow();
    // Closes the window; the application has no main form afterwards.
    void CloseMainWindow();

    // Replaces the fixture's window by a new one, for 64-bit or 32-bit Windows; hidden when
    // `show` is false.
    void OpenForm(bool show, bool windows64 = IsWindows64());
    TMainForm& Form() { return *form_; }
    HWND Control(const char* name, TWhere where = TWhere::current()) { return ControlOf(*form_, name, where); }
    int MenuId(const char* itemName, TWhere where = TWhere::current());
    // Chooses the menu item `itemName` and handles what it posts.
    void Command(const char* itemName, TWhere where = TWhere::current());

    // The application becomes the active application.
    void Activate();
    // Clicks the entry `entry` in the list box `listName`.
    void ClickEntry(const char* listName, const std::string& entry, TWhere where = TWhere::current());
    // Index of the selected item of a list box; -1 for none.
    int SelectedIndex(const char* listName, TWhere where = TWhere::current());
    std::vector<std::string> Entries(const char* listName, TWhere where = TWhere::current());

    struct TRow {
        std::string caption;
        std::string value;
        bool checked;
    };
    std::vector<TRow> Rows();
    std::string StatusText();
    std::string InfoText();

private:
    std::unique_ptr<TMainForm> form_;
};

// A scratch registry and a TMainForm as the application's main form, shown and active.
class MainFormTest : public ScratchRegistryTest, public TMainWindowFixture {
protected:
    void SetUp() override;
    void TearDown() override;
};
