// TMessageForm: the confirmation and warning dialogs, laid out around their text at run time.
#include "Forms/MessageDialog.h"

#include "Win/Application.h"
#include "Win/Form.h"
#include "Win/Gdi.h"
#include "Base/Handles.h"

#include <algorithm>
#include <vector>

namespace {

enum : int { IDC_MESSAGEICON = 100, IDC_MESSAGETEXT };

constexpr int kMargin = 12;        // between the frame and the contents, and above the buttons
constexpr int kIconTextGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;  // as an SS_LEFT | SS_NOPREFIX static draws

// The window a message is shown over: the program's active window (a dialog over the main
// window, which must take no input either meanwhile), else the main window.
HWND AnsweredWindow() {
    HWND active = GetActiveWindow();
    if (active && TForm::FromHandle(active) && IsWindowEnabled(active)) return active;
    return Application().MainWindow();
}

// A lone CR is a line break in the program's messages; CR LF is one everywhere.
std::string WithLineBreaks(const std::string& text) {
    std::string shown;
    for (size_t at = 0; at < text.size(); ++at) {
        shown += text[at];
        if (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n')) shown += '\n';
    }
    return shown;
}

LOGFONTA MessageFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return metrics.lfMessageFont;
    LOGFONTA fallback{};
    fallback.lfHeight = -11;
    fallback.lfWeight = FW_NORMAL;
    fallback.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(fallback.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    return fallback;
}

SIZE MeasureText(const std::string& text, HFONT font, int maxWidth) {
    TWindowDc screen(nullptr);
    TSelection selection(screen.Get(), font);
    RECT bounds{0, 0, maxWidth, 0};
    DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | kTextFormat);
    return {std::max<LONG>(bounds.right - bounds.left, 1), std::max<LONG>(bounds.bottom - bounds.top, 1)};
}

class TMessageForm : public TForm {
public:
    TMessageForm(const std::string& text, TMessageKind kind);

    void OKButtonClick(const TEvent& event);
    void CancelButtonClick(const TEvent& event);

protected:
    bool OnEvent(const TEvent& event) override;
};

const TEventSpec<TMessageForm> kMessageEvents[] = {
    {IDOK, kClicked, &TMessageForm::OKButtonClick},
    {IDCANCEL, kClicked, &TMessageForm::CancelButtonClick},
};

TMessageForm::TMessageForm(const std::string& text, TMessageKind kind) {
    const bool confirmation = kind == mkConfirmation;
    const LOGFONTA font = MessageFont();
    TFontHandle messageFont(CreateFontIndirectA(&font));
    const std::string shown = WithLineBreaks(text);
    const SIZE textSize = MeasureText(shown, messageFont.Get(), GetSystemMetrics(SM_CXSCREEN) / 2);
    const int iconSize = GetSystemMetrics(SM_CXICON);

    const int textLeft = kMargin + iconSize + kIconTextGap;
    const int textTop = kMargin + std::max(0, (iconSize - static_cast<int>(textSize.cy)) / 2);
    const int buttonCount = confirmation ? 2 : 1;
    const int buttonsWidth = buttonCount * kButtonWidth + (buttonCount - 1) * kButtonGap;
    const int buttonTop = kMargin + std::max(iconSize, static_cast<int>(textSize.cy)) + kMargin;
    const int clientWidth = std::max(textLeft + static_cast<int>(textSize.cx) + kMargin, buttonsWidth + 2 * kMargin);
    const int clientHeight = buttonTop + kButtonHeight + kMargin;
    const int buttonLeft = (clientWidth - buttonsWidth) / 2;

    constexpr DWORD kButtonStyle = BS_PUSHBUTTON | WS_TABSTOP;
    std::vector<TControlSpec> layout = {
        {"MessageIcon", nullptr, "STATIC", IDC_MESSAGEICON, kMargin, kMargin, iconSize, iconSize, SS_ICON, 0, nullptr,
         nullptr},
        {"MessageText", nullptr, "STATIC", IDC_MESSAGETEXT, textLeft, textTop, static_cast<int>(textSize.cx),
         static_cast<int>(textSize.cy), SS_LEFT | SS_NOPREFIX, 0, shown.c_str(), nullptr},
        {"OKButton", nullptr, "BUTTON", IDOK, buttonLeft, buttonTop, kButtonWidth, kButtonHeight, kButtonStyle, 0, "OK",
         nullptr},
    };
    if (confirmation)
        layout.push_back({"CancelButton", nullptr, "BUTTON", IDCANCEL, buttonLeft + kButtonWidth + kButtonGap,
                          buttonTop, kButtonWidth, kButtonHeight, kButtonStyle, 0, "Cancel", nullptr});

    const TFormSpec formSpec = {confirmation ? "Confirm" : "Warning", clientWidth, clientHeight, kDialogBorderStyle,
                            kDialogBorderExStyle, 0, false, font.lfFaceName, static_cast<int>(font.lfHeight)};
    CreateForm(formSpec, layout, {}, AnsweredWindow());

    const HFONT shownFont = KeepFont(std::move(messageFont));
    for (const TControlSpec& row : layout)
        SendMessageA(RequiredControl(row.name), WM_SETFONT, reinterpret_cast<WPARAM>(shownFont), FALSE);
    SendMessageA(RequiredControl("MessageIcon"), STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadIconA(nullptr, confirmation ? IDI_QUESTION : IDI_EXCLAMATION)), 0);
    HWND okButton = RequiredControl("OKButton");
    SetDefaultButton(okButton);
    // A warning has no Cancel button: Esc answers OK there, only the close box cancels.
    SetCancelButton(confirmation ? RequiredControl("CancelButton") : okButton);
    SetActiveControl(okButton);
}

void TMessageForm::OKButtonClick(const TEvent&) { SetModalResult(mrOK); }

void TMessageForm::CancelButtonClick(const TEvent&) { SetModalResult(mrCancel); }

bool TMessageForm::OnEvent(const TEvent& event) { return DispatchEvent(*this, kMessageEvents, event); }

}  // namespace

int MessageDlg(const std::string& text, TMessageKind kind) {
    TMessageForm dialog(text, kind);
    return dialog.ShowModal();
}
