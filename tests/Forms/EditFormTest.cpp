// The uninstall-command dialog on its own: frame, texts and hints, where the focus goes, the tab
// order and accelerators, and the result of each way of closing it.
#include "GuiTest.h"

#include "Forms/Edit.h"
#include "Win/Controls.h"

#include <functional>

namespace {

class EditFormTest : public MainFormTest {
protected:
    static std::pair<DWORD, DWORD> Selection(HWND edit) {
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    static POINT Centre(HWND control) {
        RECT bounds;
        GetWindowRect(control, &bounds);
        return {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    }
};

TEST_F(EditFormTest, FrameTextsHintsAndPlaces) {
    TEditForm dialog(Form().Handle(), "", "");
    HWND window = dialog.Handle();
    EXPECT_EQ("Uninstall Command", WindowText(window));
    EXPECT_EQ(Form().Handle(), GetWindow(window, GW_OWNER));
    RECT client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    EXPECT_EQ(294, client.right);
    EXPECT_EQ(168, client.bottom);
    EXPECT_FALSE(GetWindowLongPtrA(window, GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (frame.left + frame.right) / 2, 1);
    EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (frame.top + frame.bottom) / 2, 1);
    EXPECT_NE(nullptr, dialog.ToolTips());

    HWND panel = ControlOf(dialog, "CommandPanel");
    const struct {
        const char* name;
        bool inPanel;
        const char* caption;
        const char* hint;  // "" for none
    } rows[] = {
        {"CommandLabel", true, "&Command:", ""},
        {"CommandEdit", true, "", "Allow editing the uninstall command line"},
        {"ParamsLabel", true, "&Parameters:", ""},
        {"ParamsEdit", true, "", "Allow editing the uninstall parameters"},
        {"OKButton", false, "&OK", "Validate the current settings and close this dialog box"},
        {"CancelButton", false, "C&ancel", "Cancel the current settings and close this dialog box"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        HWND control = ControlOf(dialog, row.name);
        EXPECT_EQ(row.inPanel ? panel : window, GetParent(control));
        EXPECT_EQ(row.caption, WindowText(control));
        EXPECT_EQ(row.hint, dialog.HintAt(control, Centre(control)));
    }
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongPtrA(ControlOf(dialog, "OKButton"), GWL_STYLE) & BS_TYPEMASK);
}

TEST_F(EditFormTest, OpensWithTheCommandFocusedAndNotSelected) {
    TEditForm dialog(Form().Handle(), "C:\\Program Files\\App\\unins000.exe", "");
    HWND commandEdit = ControlOf(dialog, "CommandEdit");
    HWND focus = nullptr;
    std::pair<DWORD, DWORD> selection;
    TModalAnswer answer(kFormClassName, "Uninstall Command", [&](HWND window) {
        focus = GetFocus();
        selection = Selection(commandEdit);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.ShowModal();
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(commandEdit, focus);
    EXPECT_EQ(selection.first, selection.second) << "the text is not selected";
}

TEST_F(EditFormTest, TabOrderAndLabelAccelerators) {
    TEditForm dialog(Form().Handle(), "", "/SILENT /NORESTART");
    HWND commandEdit = ControlOf(dialog, "CommandEdit"), paramsEdit = ControlOf(dialog, "ParamsEdit");
    HWND okButton = ControlOf(dialog, "OKButton"), cancelButton = ControlOf(dialog, "CancelButton");
    dialog.Show();
    SetForegroundWindow(dialog.Handle());
    PumpMessages();
    ASSERT_EQ(commandEdit, GetFocus());
    for (HWND expected : {paramsEdit, okButton, cancelButton, commandEdit}) {
        PressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(expected, GetFocus());
        if (expected == paramsEdit) {
            const auto selection = Selection(paramsEdit);
            EXPECT_EQ(selection.first, selection.second) << "tabbing in selects nothing";
        }
    }
    PressKey(GetFocus(), VK_TAB, true);
    EXPECT_EQ(cancelButton, GetFocus()) << "Shift+Tab goes backwards";
    PressAltLetter(GetFocus(), 'p');
    EXPECT_EQ(paramsEdit, GetFocus());
    PressAltLetter(GetFocus(), 'c');
    EXPECT_EQ(commandEdit, GetFocus());
}

TEST_F(EditFormTest, ResultOfEachWayOfClosing) {
    ExpectEnterEscAndCloseBox("Uninstall Command", {IDOK, IDCANCEL}, [&] {
        TEditForm dialog(Form().Handle(), "", "");
        return dialog.ShowModal();
    });
    const struct {
        const char* label;
        std::function<void(HWND)> answer;
        int result;
    } rows[] = {
        {"OK button", PressButton(IDOK), mrOK},
        {"Alt+O", [](HWND) { PostMessageA(GetFocus(), WM_SYSCHAR, 'o', 0x20000001); }, mrOK},
        {"Cancel button", PressButton(IDCANCEL), mrCancel},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        TEditForm dialog(Form().Handle(), "", "");
        TModalAnswer answer(kFormClassName, "Uninstall Command", row.answer);
        EXPECT_EQ(row.result, dialog.ShowModal());
        ASSERT_TRUE(answer.Answered());
        EXPECT_FALSE(answer.Snapshot().ownerEnabled);
        EXPECT_TRUE(IsWindowEnabled(Form().Handle()));
    }
}

}  // namespace
