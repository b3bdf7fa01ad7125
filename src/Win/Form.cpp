// TForm: window class, thunk, events, hints and tooltips, dialog keys, modal loop.
#include "Win/Form.h"

#include "Base/Exception.h"
#include "Base/Text.h"
#include "Win/Application.h"
#include "Win/Controls.h"
#include "Win/Widgets.h"

#include <climits>

namespace {

constexpr const char* kFormClass = "TwkForm";
constexpr UINT kToolTipShowDelay = 500;   // ms before a tooltip appears
constexpr UINT kToolTipHideDelay = 2500;  // ms a tooltip stays

void SetToolTipDelays(HWND toolTips) {
    SendMessageA(toolTips, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(kToolTipShowDelay, 0));
    SendMessageA(toolTips, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kToolTipHideDelay, 0));
}

// The accelerator letter of a caption ("&Conventional" -> 'c'); 0 when it has none.
char MnemonicOf(const std::string& caption) {
    for (size_t at = 0; at + 1 < caption.size(); ++at) {
        if (caption[at] != '&') continue;
        if (caption[at + 1] != '&') return AsciiLower(caption[at + 1]);
        ++at;  // "&&" is a literal ampersand
    }
    return 0;
}

bool IsClass(HWND window, const char* className) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    return lstrcmpiA(name, className) == 0;
}

bool CanFocus(HWND window) { return IsWindowVisible(window) && IsWindowEnabled(window); }

// While it lives the owner window is disabled; Restore (or the end of its life) enables it again.
class TDisabledOwner {
public:
    explicit TDisabledOwner(HWND owner) : owner_(owner && IsWindowEnabled(owner) ? owner : nullptr) {
        if (owner_) EnableWindow(owner_, FALSE);
    }
    ~TDisabledOwner() { Restore(); }
    TDisabledOwner(const TDisabledOwner&) = delete;
    TDisabledOwner& operator=(const TDisabledOwner&) = delete;
    void Restore() {
        if (owner_) EnableWindow(owner_, TRUE);
        owner_ = nullptr;
    }

private:
    HWND owner_;
};

}  // namespace

TForm::~TForm() { DestroyHandle(); }

void TForm::RegisterFormClass() { RegisterClassOnce(kFormClass, WindowProc, 0); }

TForm* TForm::FromHandle(HWND window) {
    if (!window || !IsClass(window, kFormClass)) return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    return reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* creating = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        creating->handle_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = form->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // No exception crosses the window procedure: the handler ends here, the program goes on.
        Application().HandleException();
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        form->handle_ = nullptr;
        form->toolTips_ = nullptr;
        form->controls_.clear();
        form->hints_.clear();
        form->toolButtonHints_.clear();
        form->defaultButton_ = form->cancelButton_ = form->activeControl_ = nullptr;
    }
    return result;
}

void TForm::CreateForm(const TFormSpec& formSpec, std::span<const TControlSpec> layout,
                       std::span<const TMenuItemSpec> menu, HWND owner) {
    RegisterFormClass();
    showHint_ = formSpec.showHint;
    fontName_ = formSpec.fontName;
    if (!menu.empty()) menu_.Build(menu);

    RECT frame{0, 0, formSpec.clientWidth, formSpec.clientHeight};
    AdjustWindowRectEx(&frame, formSpec.style, menu_.Handle() != nullptr, formSpec.exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateWindowExA(formSpec.exStyle, kFormClass, formSpec.caption, formSpec.style, left, top, width, height, owner,
                    menu_.Handle(), GetModuleHandleA(nullptr), this);
    if (!handle_) throw Exception(FormatMessageText("Cannot create the window %s", formSpec.caption));
    if (menu_.Handle()) menu_.AttachToWindow();

    // A menu bar that wraps takes more room than AdjustWindowRectEx allowed for.
    RECT client;
    GetClientRect(handle_, &client);
    const int missing = formSpec.clientHeight - (client.bottom - client.top);
    if (missing != 0)
        SetWindowPos(handle_, nullptr, left, top - missing / 2, width, height + missing, SWP_NOZORDER | SWP_NOACTIVATE);

    if (formSpec.iconId) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        const auto loadIcon = [&](int sizeMetric) {
            const int size = GetSystemMetrics(sizeMetric);
            return reinterpret_cast<LPARAM>(
                LoadImageA(instance, MAKEINTRESOURCEA(formSpec.iconId), IMAGE_ICON, size, size, LR_SHARED));
        };
        SendMessageA(handle_, WM_SETICON, ICON_BIG, loadIcon(SM_CXICON));
        SendMessageA(handle_, WM_SETICON, ICON_SMALL, loadIcon(SM_CXSMICON));
    }

    font_.Reset(CreateFontA(formSpec.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            formSpec.fontName));
    if (showHint_) {
        toolTips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        if (toolTips_) SetToolTipDelays(toolTips_);
    }
    controls_ = CreateControls(handle_, layout, font_.Get());
    for (size_t index = 0; index < layout.size(); ++index)
        if (layout[index].hint && *layout[index].hint) SetHint(controls_[index].handle, layout[index].hint);
}

void TForm::DestroyHandle() {
    if (handle_) DestroyWindow(handle_);
}

HWND TForm::FindControl(std::string_view name) const {
    for (const TCreatedControl& control : controls_)
        if (control.name == name) return control.handle;
    return nullptr;
}

HWND TForm::RequiredControl(std::string_view name) const {
    HWND control = FindControl(name);
    if (!control) throw Exception(FormatMessageText("No control %s in the layout", std::string(name)));
    return control;
}

HBITMAP TForm::KeepPicture(TBitmapHandle picture) {
    pictures_.push_back(std::move(picture));
    return pictures_.back().Get();
}

HIMAGELIST TForm::KeepImageList(TImageListHandle images) {
    imageLists_.push_back(std::move(images));
    return imageLists_.back().Get();
}

HFONT TForm::KeepFont(TFontHandle font) {
    fonts_.push_back(std::move(font));
    return fonts_.back().Get();
}

void TForm::Show(int showCommand) {
    ShowWindow(handle_, showCommand);
    UpdateWindow(handle_);
}

void TForm::Close() {
    if (handle_) SendMessageA(handle_, WM_CLOSE, 0, 0);
}

int TForm::ShowModal() {
    HWND owner = GetWindow(handle_, GW_OWNER);
    if (!owner) owner = Application().MainWindow();
    TDisabledOwner disabled(owner != handle_ ? owner : nullptr);
    modal_ = true;
    modalResult_ = mrNone;
    Show(SW_SHOWNORMAL);
    TApplication& application = Application();
    while (modalResult_ == mrNone && handle_ && !application.Terminated()) application.HandleMessage();
    modal_ = false;
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    // The owner is enabled before the form hides, so the activation goes back to the owner.
    disabled.Restore();
    if (handle_) ShowWindow(handle_, SW_HIDE);
    return modalResult_;
}

void TForm::SetModalResult(int result) {
    modalResult_ = result;
    if (modal_ && handle_) PostMessageA(handle_, WM_NULL, 0, 0);  // wakes the modal loop
}

void TForm::SetDefaultButton(HWND button) {
    defaultButton_ = button;
    if (button && IsClass(button, "Button")) SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void TForm::SetCancelButton(HWND button) { cancelButton_ = button; }

std::string TForm::HintAt(HWND window, POINT screen) const {
    for (HWND current = window; current; current = GetParent(current)) {
        const auto button = toolButtonHints_.lower_bound({current, INT_MIN});
        if (button != toolButtonHints_.end() && button->first.first == current) {
            POINT point = screen;
            ScreenToClient(current, &point);
            const int index = static_cast<int>(SendMessageA(current, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
            const int command = index >= 0 ? ToolButtonCommand(current, index) : 0;
            if (const auto found = toolButtonHints_.find({current, command}); command && found != toolButtonHints_.end())
                return found->second;
        }
        if (const auto found = hints_.find(current); found != hints_.end() && !found->second.empty())
            return found->second;
        if (current == handle_) break;
    }
    return "";
}

void TForm::SetHint(HWND control, const std::string& hint) {
    hints_[control] = hint;
    if (!toolTips_ || hint.empty()) return;
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    // No TTF_SUBCLASS: PreTranslateMessage relays the mouse. A subclassed control pays for its
    // subclass on every message, which under Wine means server calls (window properties).
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = handle_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    TOOLINFOA existing = tool;
    if (SendMessageA(toolTips_, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&existing))) return;
    tool.lpszText = LPSTR_TEXTCALLBACKA;  // the text is looked up when shown, so it follows SetHint
    SendMessageA(toolTips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TForm::SetToolButtonHint(HWND toolbar, int commandId, const std::string& hint) {
    toolButtonHints_[{toolbar, commandId}] = hint;
    if (HWND toolTips = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0))) SetToolTipDelays(toolTips);
}

void TForm::SetControlFont(HWND control, int height, int weight) {
    HFONT font = KeepFont(TFontHandle(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                  DEFAULT_PITCH | FF_DONTCARE, fontName_.c_str())));
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

const std::string* TForm::ToolTipHint(const NMHDR* header) const {
    if (header->hwndFrom == toolTips_) {
        const auto found = hints_.find(reinterpret_cast<HWND>(header->idFrom));
        return found != hints_.end() ? &found->second : nullptr;
    }
    // A toolbar's own tooltip window asks by command id.
    for (const auto& [key, hint] : toolButtonHints_) {
        HWND toolbar = key.first;
        if (reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0)) != header->hwndFrom) continue;
        if (key.second == static_cast<int>(header->idFrom)) return &hint;
    }
    return nullptr;
}

LRESULT TForm::ToolTipText(NMHDR* header) {
    const std::string* hint = showHint_ ? ToolTipHint(header) : nullptr;
    toolTipText_ = hint ? GetShortHint(*hint) : "";
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        info->hinst = nullptr;
        info->lpszText = toolTipText_.data();
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        toolTipTextW_.assign(toolTipText_.size() + 1, L'\0');
        MultiByteToWideChar(CP_ACP, 0, toolTipText_.c_str(), -1, toolTipTextW_.data(),
                            static_cast<int>(toolTipTextW_.size()));
        info->hinst = nullptr;
        info->lpszText = toolTipTextW_.data();
    }
    return 0;
}

bool TForm::OnEvent(const TEvent&) { return false; }

LRESULT TForm::HandleNotify(NMHDR* header) {
    if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) return ToolTipText(header);
    TEvent event;
    event.Sender = header->hwndFrom;
    event.Id = static_cast<int>(header->idFrom);
    event.Code = header->code;
    event.Header = header;
    if (header->code == kKeyPressNotification) event.Key = static_cast<char>(reinterpret_cast<NMCHAR*>(header)->ch);
    OnEvent(event);
    return 0;
}

void TForm::FocusActiveControl() {
    HWND target = activeControl_;
    if (!target || !IsChild(handle_, target) || !CanFocus(target)) target = GetNextDlgTabItem(handle_, nullptr, FALSE);
    if (target && IsChild(handle_, target)) SetFocus(target);
}

void TForm::SelectNextControl(bool previous) {
    HWND focus = GetFocus();
    HWND next = GetNextDlgTabItem(handle_, focus && IsChild(handle_, focus) ? focus : nullptr, previous);
    if (next) SetFocus(next);
}

void TForm::Click(HWND button) {
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

bool TForm::FocusMnemonic(char key) {
    const char wanted = AsciiLower(key);
    for (size_t index = 0; index < controls_.size(); ++index) {
        HWND control = controls_[index].handle;
        const bool label = IsClass(control, "Static");
        const bool button = IsClass(control, "Button") || IsClass(control, kFlatButtonClass);
        if ((!label && !button) || !CanFocus(control) || MnemonicOf(WindowText(control)) != wanted) continue;
        if (button) {
            Click(control);
            return true;
        }
        // A label focuses the next tab stop after it.
        for (size_t next = index + 1; next < controls_.size(); ++next) {
            HWND candidate = controls_[next].handle;
            if ((GetWindowLongPtrA(candidate, GWL_STYLE) & WS_TABSTOP) && CanFocus(candidate)) {
                SetFocus(candidate);
                return true;
            }
        }
    }
    return false;
}

// Written out rather than left to IsDialogMessageA. Tried with Esc kept back from it (its MSG in
// WM_GETDLGCODE puts a multi-line edit in dialog mode, where Esc closes the parent), every
// keyboard test passed under Wine but one: it selects the whole text of an edit that Tab enters,
// which the command dialog must not do; keeping that back too would leave little of it in use.
bool TForm::PreTranslateMessage(const MSG& message) {
    if (toolTips_ && message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST)
        SendMessageA(toolTips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
    if (message.message == WM_SYSCHAR) return FocusMnemonic(static_cast<char>(message.wParam));
    if (message.message != WM_KEYDOWN) return false;
    HWND focus = GetFocus();
    // No MSG is passed: a multi-line edit given one switches to dialog mode and closes the
    // parent window on Esc.
    const auto code = focus && IsChild(handle_, focus)
                          ? static_cast<UINT>(SendMessageA(focus, WM_GETDLGCODE, message.wParam, 0))
                          : 0u;
    switch (message.wParam) {
    case VK_TAB:
        if ((GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000) || (code & DLGC_WANTTAB)) return false;
        SelectNextControl((GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return true;
    case VK_RETURN:
        if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            Click(focus);
            return true;
        }
        if ((code & DLGC_WANTALLKEYS) || !defaultButton_ || !IsWindowEnabled(defaultButton_)) return false;
        Click(defaultButton_);
        return true;
    case VK_ESCAPE:
        if (!cancelButton_ || !IsWindowEnabled(cancelButton_)) return false;
        Click(cancelButton_);
        return true;
    }
    return false;
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        TEvent event;
        event.Id = LOWORD(wParam);
        event.Sender = reinterpret_cast<HWND>(lParam);
        event.Code = lParam ? HIWORD(wParam) : kClicked;  // menu items and accelerators are clicks
        if (OnEvent(event)) return 0;
        break;
    }
    case WM_NOTIFY:
        return HandleNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_MENUSELECT:
        Application().SetHint(
            GetLongHint(menu_.HintFor(reinterpret_cast<HMENU>(lParam), LOWORD(wParam), HIWORD(wParam))));
        return 0;
    case WM_ENTERIDLE:
        if (wParam == MSGF_DIALOGBOX) Application().Idle();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(handle_, focus)) activeControl_ = focus;
        } else if (!HIWORD(wParam)) {
            FocusActiveControl();
        }
        return 0;
    case WM_SETFOCUS:
        FocusActiveControl();
        return 0;
    case WM_ACTIVATEAPP:
        if (wParam && Application().MainForm() == this) Application().Activated();
        return 0;
    case WM_CTLCOLORSTATIC:
        if (GetWindowLongPtrA(reinterpret_cast<HWND>(lParam), GWL_EXSTYLE) & WS_EX_TRANSPARENT) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        break;
    case WM_NEXTDLGCTL:
        if (LOWORD(lParam))
            SetFocus(reinterpret_cast<HWND>(wParam));
        else
            SelectNextControl(wParam != 0);
        return 0;
    case DM_GETDEFID:
        return defaultButton_ ? MAKELRESULT(GetDlgCtrlID(defaultButton_), DC_HASDEFID) : 0;
    case WM_CLOSE:
        if (modal_) {
            SetModalResult(mrCancel);
            return 0;
        }
        break;
    case WM_DESTROY:
        if (Application().MainForm() == this) Application().MainFormDestroyed();
        break;
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}
