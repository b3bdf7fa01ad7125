// The confirmation and warning dialogs: their answers to buttons, keys and the close box, what
// they show, where they stand, their font, and how their text breaks into lines.
#include "GuiTest.h"

#include "Forms/MessageDialog.h"
#include "Win/Controls.h"

#include <functional>

namespace {

class MessageDialogTest : public MainFormTest {
protected:
    static const char* CaptionOf(TMessageKind kind) { return kind == mkConfirmation ? "Confirm" : "Warning"; }

    // Shows a dialog, lets `inspect` look at it and then `answer` it; returns the answer.
    static int Show(const std::string& text, TMessageKind kind, const std::function<void(HWND)>& answer,
                    const std::function<void(HWND)>& inspect = nullptr) {
        TModalAnswer modal(kFormClassName, CaptionOf(kind), [&](HWND dialog) {
            if (inspect) inspect(dialog);
            answer(dialog);
        });
        const int result = MessageDlg(text, kind);
        EXPECT_TRUE(modal.Answered());
        return result;
    }


    // The static that shows the message (the other one shows the icon).
    static HWND TextLabel(HWND dialog) {
        for (HWND child = FindWindowExA(dialog, nullptr, "Static", nullptr); child;
             child = FindWindowExA(dialog, child, "Static", nullptr))
            if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return child;
        return nullptr;
    }

    // The size of the message's static when `text` is shown.
    static SIZE TextSize(const std::string& text) {
        SIZE size{};
        Show(text, mkWarning, PressButton(IDOK), [&](HWND dialog) {
            RECT bounds{};
            GetClientRect(TextLabel(dialog), &bounds);
            size = {bounds.right, bounds.bottom};
        });
        return size;
    }
};

TEST_F(MessageDialogTest, AnswersToButtonsKeysAndTheCloseBox) {
    ExpectEnterEscAndCloseBox("Confirm", {IDOK, IDCANCEL}, [] { return MessageDlg("Answer me.", mkConfirmation); });
    // A warning's only button is both: Esc is OK there.
    ExpectEnterEscAndCloseBox("Warning", {IDOK, IDOK}, [] { return MessageDlg("Answer me.", mkWarning); });
    const struct {
        const char* label;
        TMessageKind kind;
        std::function<void(HWND)> answer;
        int result;
    } rows[] = {
        {"confirmation: OK", mkConfirmation, PressButton(IDOK), 1},
        {"confirmation: Cancel", mkConfirmation, PressButton(IDCANCEL), 2},
        {"warning: OK", mkWarning, PressButton(IDOK), 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(row.result, Show("Answer me.", row.kind, row.answer));
        EXPECT_TRUE(IsWindowEnabled(Form().Handle())) << "the main window takes input again";
    }
}

TEST_F(MessageDialogTest, CaptionIconButtonsAndPlace) {
    const struct {
        TMessageKind kind;
        const char* caption;
        LPCSTR icon;
        std::vector<std::string> buttons;
    } rows[] = {
        {mkConfirmation, "Confirm", IDI_QUESTION, {"OK", "Cancel"}},
        {mkWarning, "Warning", IDI_EXCLAMATION, {"OK"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.caption);
        std::string focus;
        RECT frame{};
        DWORD style = 0;
        TModalAnswer modal(kFormClassName, row.caption, [&](HWND dialog) {
            focus = WindowText(GetFocus());
            GetWindowRect(dialog, &frame);
            style = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE));
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        MessageDlg("Something happened.", row.kind);
        ASSERT_TRUE(modal.Answered());
        const TDialogSnapshot& shown = modal.Snapshot();
        EXPECT_EQ(row.caption, shown.caption);
        EXPECT_EQ("Something happened.", shown.text);
        EXPECT_EQ(row.buttons, shown.buttons);
        EXPECT_EQ(LoadIconA(nullptr, row.icon), shown.icon);
        EXPECT_FALSE(shown.ownerEnabled) << "modal over the main window";
        EXPECT_EQ("OK", focus) << "the default button has the focus";
        EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (frame.left + frame.right) / 2, 1);
        EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (frame.top + frame.bottom) / 2, 1);
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    }
}

TEST_F(MessageDialogTest, TextIsInTheSystemsMessageFont) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    LOGFONTA font{};
    Show("Which font?", mkConfirmation, PressButton(IDOK), [&](HWND dialog) {
        const auto shown = reinterpret_cast<HFONT>(SendMessageA(TextLabel(dialog), WM_GETFONT, 0, 0));
        GetObjectA(shown, sizeof(font), &font);
    });
    EXPECT_STREQ(metrics.lfMessageFont.lfFaceName, font.lfFaceName);
    EXPECT_EQ(metrics.lfMessageFont.lfHeight, font.lfHeight);
}

TEST_F(MessageDialogTest, ALoneCarriageReturnBreaksTheLineAndLongTextsWrapAtHalfTheScreen) {
    const SIZE oneLine = TextSize("You are about to uninstall a program.");
    ASSERT_GT(oneLine.cy, 0);
    EXPECT_EQ(2 * oneLine.cy, TextSize("You are about to uninstall a program.\rContinue ?").cy);
    EXPECT_EQ(2 * oneLine.cy, TextSize("You are about to uninstall a program.\r\nContinue ?").cy)
        << "CR LF is one line break, not two";

    std::string longText;
    for (int word = 0; word < 80; ++word) longText += "uninstall ";
    const SIZE wrapped = TextSize(longText);
    EXPECT_LE(wrapped.cx, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_GT(wrapped.cx, GetSystemMetrics(SM_CXSCREEN) / 2 - 100) << "lines use the room they have";
    EXPECT_GE(wrapped.cy, 2 * oneLine.cy);

    EXPECT_EQ(1, Show("Cannot remove this entry & its key.", mkWarning, [](HWND dialog) {
                  EXPECT_EQ("Cannot remove this entry & its key.", WindowText(TextLabel(dialog)));
                  EXPECT_TRUE(GetWindowLongPtrA(TextLabel(dialog), GWL_STYLE) & SS_NOPREFIX) << "& is shown as is";
                  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
              }));
}

}  // namespace
