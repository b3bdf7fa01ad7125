// TForm: a top-level window built from a layout table (and optionally a menu table), with the
// window-procedure thunk, event tables for commands and notifications, hints and tooltips,
// dialog keys (Tab, Enter, Esc, label accelerators) and modal showing.
#pragma once

#include "Base/Handles.h"
#include "Win/Layout.h"
#include "Win/Menu.h"

#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Modal results; a modal loop ends when the result is no longer mrNone.
enum TModalResult : int { mrNone = 0, mrOK = IDOK, mrCancel = IDCANCEL };

// Border styles: a main window with a fixed single border (system menu and minimize box), and
// a dialog border (not resizable, no minimize or maximize box; use with kDialogBorderExStyle).
inline constexpr DWORD kSingleBorderStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
inline constexpr DWORD kDialogBorderStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr DWORD kDialogBorderExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

struct TFormSpec {
    const char* caption;
    int clientWidth;    // the client area, exactly; the window is centred on the screen
    int clientHeight;
    DWORD style;
    DWORD exStyle;
    int iconId;         // resource id of the window's icon; 0: none
    bool showHint;      // tooltips for hints; off, hints still reach the application's Hint
    const char* fontName;
    int fontHeight;     // logical height for every control: -11 is 8 point at 96 dpi
};

// What a handler learns about the event that called it.
struct TEvent {
    HWND Sender = nullptr;          // the control; null for a menu item or an accelerator
    int Id = 0;                     // control or command id
    UINT Code = 0;                  // notification code; kClicked for menus, accelerators, buttons
    const NMHDR* Header = nullptr;  // WM_NOTIFY's data; null for WM_COMMAND
    char Key = 0;                   // the typed character of a kKeyPressNotification
};

inline constexpr UINT kClicked = BN_CLICKED;

// One row of a form's event table: control or command id + notification code -> handler.
template <class TOwner>
struct TEventSpec {
    int id;
    UINT code;
    void (TOwner::*handler)(const TEvent& event);
};

// Calls the handler bound to the event's id and code in `table`; false when none is.
template <class TOwner, std::size_t N>
bool DispatchEvent(TOwner& owner, const TEventSpec<TOwner> (&table)[N], const TEvent& event) {
    for (const TEventSpec<TOwner>& row : table) {
        if (row.id == event.Id && row.code == event.Code) {
            (owner.*row.handler)(event);
            return true;
        }
    }
    return false;
}

class TForm {
public:
    TForm() = default;
    virtual ~TForm();  // destroys the window if it still exists, then what its controls showed
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    HWND Handle() const { return handle_; }
    // The form whose top-level window is `window`; null for any other window.
    static TForm* FromHandle(HWND window);

    // The control created from the layout row called `name`; null when there is none.
    HWND FindControl(std::string_view name) const;
    const TMainMenu& Menu() const { return menu_; }
    HACCEL Accelerators() const { return menu_.Accelerators(); }

    // Shows the window (ShowWindow's command) and updates it.
    void Show(int showCommand = SW_SHOWNORMAL);
    // As the close box: ends a modal loop with mrCancel, otherwise destroys the window.
    void Close();
    // Disables the owner (the window given at creation, else the main form), shows the form,
    // runs a message loop with idle processing until ModalResult is set, re-enables the owner,
    // hides the form and returns the result. The close box and WM_CLOSE give mrCancel.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result);

    // Enter clicks the default button (unless the focus is on another push button); Esc clicks
    // the cancel button. The same button may be both.
    void SetDefaultButton(HWND button);
    void SetCancelButton(HWND button);
    // The control that gets the focus whenever the form is activated (it tracks the user's focus).
    void SetActiveControl(HWND control) { activeControl_ = control; }
    HWND ActiveControl() const { return activeControl_; }

    // The hint of `window` or of its nearest parent in this form that has one; over a toolbar,
    // the hint of the button at `screen`. "" when none has one.
    std::string HintAt(HWND window, POINT screen) const;
    void SetHint(HWND control, const std::string& hint);
    // The hint of the toolbar's button with command `commandId`, wherever the button stands.
    void SetToolButtonHint(HWND toolbar, int commandId, const std::string& hint);
    // The tooltip window of the form's controls; null when the form shows no tooltips.
    HWND ToolTips() const { return toolTips_; }

    // Gives `control` the form's font face at another height and weight (e.g. -16, FW_BOLD).
    void SetControlFont(HWND control, int height, int weight);

    // Dialog keys of a message taken from the queue for this form: Tab / Shift+Tab, Enter,
    // Esc and Alt+letter label accelerators. True when the message was used up. Mouse
    // messages are relayed to the tooltips.
    bool PreTranslateMessage(const MSG& message);

protected:
    // Creates the window and its controls. `owner` owns the window (for a modal form: the
    // window it is shown over). Throws Exception when the window cannot be created.
    void CreateForm(const TFormSpec& formSpec, std::span<const TControlSpec> layout,
                    std::span<const TMenuItemSpec> menu = {}, HWND owner = nullptr);
    // The control created from the layout row called `name`. Throws Exception when there is
    // none, so that a mistyped name fails when the form is created: look controls up once.
    HWND RequiredControl(std::string_view name) const;
    // Keeps what the form's controls show for as long as the form lives; the window is destroyed
    // before any of it. Each returns the handle it was given.
    HBITMAP KeepPicture(TBitmapHandle picture);
    HIMAGELIST KeepImageList(TImageListHandle images);
    HFONT KeepFont(TFontHandle font);

    // The form's window procedure. Overrides handle their few messages and pass the rest here:
    // events (OnEvent), menu and tooltip hints, focus, activation, close, default processing.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs the handler of a command or notification; false when there is none.
    virtual bool OnEvent(const TEvent& event);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void RegisterFormClass();
    LRESULT HandleNotify(NMHDR* header);
    LRESULT ToolTipText(NMHDR* header);
    const std::string* ToolTipHint(const NMHDR* header) const;
    void FocusActiveControl();
    void SelectNextControl(bool previous);
    bool FocusMnemonic(char key);
    void Click(HWND button);
    void DestroyHandle();

    HWND handle_ = nullptr;
    HWND toolTips_ = nullptr;
    bool showHint_ = true;
    std::string fontName_;
    // Shown by the controls: destroyed after the window, as members outlive the destructor's body.
    TFontHandle font_;
    std::vector<TFontHandle> fonts_;
    std::vector<TBitmapHandle> pictures_;
    std::vector<TImageListHandle> imageLists_;
    TMainMenu menu_;
    std::vector<TCreatedControl> controls_;
    std::map<HWND, std::string> hints_;
    std::map<std::pair<HWND, int>, std::string> toolButtonHints_;  // by toolbar and command
    std::string toolTipText_;
    std::wstring toolTipTextW_;
    HWND defaultButton_ = nullptr;
    HWND cancelButton_ = nullptr;
    HWND activeControl_ = nullptr;
    bool modal_ = false;
    int modalResult_ = mrNone;
};
