// The window framework with a small real form: modal showing and its keys, hints while a
// dialog is open, label accelerators in panels, the error box, flat buttons, hint texts.
#include "GuiTest.h"

#include "Base/Exception.h"
#include "Win/Application.h"
#include "Win/Controls.h"
#include "Win/Menu.h"
#include "Win/Widgets.h"

namespace {

class FormTest : public MainFormTest {};

TEST_F(FormTest, ModalResultsFromEscEnterAndTheCloseBox) {
    // Enter in the edit, which has the focus, clicks the default button.
    ExpectEnterEscAndCloseBox("Test Dialog", {IDOK, IDCANCEL}, [&] {
        TTestDialog dialog(Form().Handle());
        const int result = dialog.ShowModal();
        EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
        return result;
    });
    TTestDialog dialog(Form().Handle());
    TModalAnswer answer(kFormClassName, "Test Dialog", PressButton(IDOK));
    EXPECT_EQ(mrOK, dialog.ShowModal()) << "the OK button";
    ASSERT_TRUE(answer.Answered());
    EXPECT_FALSE(answer.Snapshot().ownerEnabled) << "the owner must be disabled while the dialog is open";
    EXPECT_TRUE(IsWindowEnabled(Form().Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
}

// Presses the test dialog's OK button a little later, after its modal loop has been idle.
void CALLBACK PressOKLater(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageA(FindWindowA(kFormClassName, "Test Dialog"), WM_COMMAND, IDOK, 0);
}

TEST_F(FormTest, HintsOfADialogReachTheStatusBarWithoutTooltips) {
    TTestDialog dialog(Form().Handle(), false);
    EXPECT_EQ(nullptr, dialog.ToolTips());
    Application().SetHint("");
    TModalAnswer answer(kFormClassName, "Test Dialog", [&](HWND) {
        RECT edit;
        GetWindowRect(dialog.FindControl("NameEdit"), &edit);
        SetCursorPos((edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2);
        SetTimer(nullptr, 0, 100, PressOKLater);
    });
    EXPECT_EQ(mrOK, dialog.ShowModal());
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ("The name to type into this box", StatusText()) << "the modal loop's idle time shows the long part";
}

TEST_F(FormTest, TooltipsShowTheShortPartAfterTheirDelays) {
    TTestDialog dialog(Form().Handle(), true);
    ASSERT_NE(nullptr, dialog.ToolTips());
    EXPECT_EQ(500, SendMessageA(dialog.ToolTips(), TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    EXPECT_EQ(2500, SendMessageA(dialog.ToolTips(), TTM_GETDELAYTIME, TTDT_AUTOPOP, 0));

    NMTTDISPINFOA request{};
    request.hdr.hwndFrom = dialog.ToolTips();
    request.hdr.idFrom = reinterpret_cast<UINT_PTR>(dialog.FindControl("NameEdit"));
    request.hdr.code = TTN_GETDISPINFOA;
    request.uFlags = TTF_IDISHWND;
    SendMessageA(dialog.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    ASSERT_NE(nullptr, request.lpszText);
    EXPECT_STREQ("Type a name", request.lpszText);
}

TEST_F(FormTest, TabAndLabelAcceleratorsEnterPanels) {
    TTestDialog dialog(Form().Handle());
    dialog.Show();
    SetForegroundWindow(dialog.Handle());
    PumpMessages();
    HWND edit = dialog.FindControl("NameEdit");
    EXPECT_EQ(edit, GetFocus()) << "the first tab stop, inside the panel, has the focus";
    PressKey(edit, VK_TAB);
    EXPECT_EQ(dialog.FindControl("OKButton"), GetFocus());
    PressKey(GetFocus(), VK_TAB, true);
    EXPECT_EQ(edit, GetFocus()) << "Shift+Tab goes back into the panel";
    PressKey(edit, VK_TAB, true);
    EXPECT_EQ(dialog.FindControl("ThrowButton"), GetFocus()) << "Shift+Tab wraps to the last tab stop";
    PressAltLetter(GetFocus(), 'n');
    EXPECT_EQ(edit, GetFocus()) << "Alt+N: the label focuses the control after it";
}

TEST_F(FormTest, TransparentLabelsDrawWithoutBackground) {
    TTestDialog dialog(Form().Handle());
    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT clear = SendMessageA(dialog.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(dialog.FindControl("ClearLabel")));
    const int clearMode = GetBkMode(dc);
    SetBkMode(dc, OPAQUE);
    const LRESULT plain = SendMessageA(dialog.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(dialog.FindControl("NameLabel")));
    DeleteDC(dc);
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), clear);
    EXPECT_EQ(TRANSPARENT, clearMode);
    EXPECT_NE(clear, plain);
}

TEST_F(FormTest, AnExceptionFromAHandlerIsShownAndEndsOnlyThatHandler) {
    const struct {
        const char* message;
        const char* shown;
    } rows[] = {
        {"Unable to write to C:\\Twk.ini", "Unable to write to C:\\Twk.ini."},
        {"Invalid data type for 'UninstallString'", "Invalid data type for 'UninstallString'"},
        {"Already ends with a period.", "Already ends with a period."},
        {"Ends in 7", "Ends in 7."},
        {"Ends in a bang!", "Ends in a bang!"},
    };
    TTestDialog dialog(Form().Handle());
    dialog.Show();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        dialog.ThrowMessage = row.message;
        TModalAnswer answer(kMessageBoxClass, "Tarnwick", PressButton(IDOK));
        SendMessageA(dialog.FindControl("ThrowButton"), BM_CLICK, 0, 0);
        PumpMessages();
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(row.shown, answer.Snapshot().text);
        EXPECT_EQ(std::vector<std::string>{"OK"}, answer.Snapshot().buttons);
        EXPECT_EQ(LoadIconA(nullptr, IDI_ERROR), answer.Snapshot().icon);
        EXPECT_FALSE(dialog.ThrowHandlerEnded);
        EXPECT_TRUE(IsWindow(dialog.Handle()));
    }
    dialog.ThrowMessage.clear();
    SendMessageA(dialog.FindControl("ThrowButton"), BM_CLICK, 0, 0);
    EXPECT_TRUE(dialog.ThrowHandlerEnded) << "the program goes on handling events";
}

// A form with one picture label; the label's window procedure records whether the picture it
// shows still exists when the label is destroyed.
class TPictureForm : public TForm {
public:
    explicit TPictureForm(const char* controlName) {
        static const TControlSpec layout[] = {
            {"Picture", nullptr, "STATIC", 0, 0, 0, 16, 16, SS_BITMAP, 0, nullptr, nullptr},
        };
        const TFormSpec formSpec = {"Picture Form", 100, 100, kDialogBorderStyle, kDialogBorderExStyle, 0, false,
                                    "MS Sans Serif", -11};
        CreateForm(formSpec, layout);
        HWND label = RequiredControl(controlName);
        Picture = KeepPicture(TBitmapHandle(CreateBitmap(16, 16, 1, 1, nullptr)));
        SendMessageA(label, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(Picture));
        labelProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LabelProcedure)));
    }

    HBITMAP Picture = nullptr;
    static inline WNDPROC labelProcedure = nullptr;
    static inline HBITMAP shownPicture = nullptr;
    static inline DWORD pictureTypeAtDestroy = 0;

private:
    static LRESULT CALLBACK LabelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESTROY) {
            const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(window, STM_GETIMAGE, IMAGE_BITMAP, 0));
            pictureTypeAtDestroy = GetObjectType(shown);
            shownPicture = shown;
        }
        return CallWindowProcA(labelProcedure, window, message, wParam, lParam);
    }
};

TEST_F(FormTest, PicturesAFormKeepsOutliveItsWindowAndNoMore) {
    HBITMAP picture = nullptr;
    {
        TPictureForm form("Picture");
        picture = form.Picture;
        ASSERT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(picture));
    }
    EXPECT_EQ(picture, TPictureForm::shownPicture);
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), TPictureForm::pictureTypeAtDestroy) << "the label went first";
    EXPECT_EQ(0u, GetObjectType(picture)) << "then the picture";
}

TEST_F(FormTest, AMistypedControlNameFailsWhenTheFormIsCreated) {
    try {
        TPictureForm form("Pictrue");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& error) {
        EXPECT_EQ("No control Pictrue in the layout", error.Message());
    }
}

TEST_F(FormTest, FlatButtonsClickOnlyWhenReleasedOverThem) {
    TTestDialog dialog(Form().Handle());
    dialog.Show();
    HWND flat = dialog.FindControl("FlatButton");
    int& clicks = dialog.FlatButtonClicks;
    SendMessageA(flat, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(IsFlatButtonHot(flat));
    Click(flat, {5, 5});
    EXPECT_EQ(1, clicks);
    SendMessageA(flat, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(flat, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    EXPECT_EQ(1, clicks) << "released outside: no click";
    SendMessageA(flat, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(IsFlatButtonHot(flat));
    SendMessageA(flat, BM_CLICK, 0, 0);
    EXPECT_EQ(2, clicks);
    SendMessageA(flat, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(0, GetWindowLongPtrA(flat, GWL_STYLE) & WS_TABSTOP);
}

TEST(HintTextTest, ShortAndLongParts) {
    const struct {
        const char* hint;
        const char* shortPart;
        const char* longPart;
    } rows[] = {
        {"Reread the registry file", "Reread the registry file", "Reread the registry file"},
        {"Tip|Status text", "Tip", "Status text"},
        {"a|b|c", "a", "b|c"},
        {"", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.hint);
        EXPECT_EQ(row.shortPart, GetShortHint(row.hint));
        EXPECT_EQ(row.longPart, GetLongHint(row.hint));
    }
}

TEST(HintTextTest, TheHintEventFiresOnlyWhenTheTextChanges) {
    TApplication& application = Application();
    int fired = 0;
    application.OnHint = [&] { ++fired; };
    application.SetHint("one");
    application.SetHint("one");
    application.SetHint("two");
    application.SetHint("");
    application.OnHint = nullptr;
    EXPECT_EQ(3, fired);
}

TEST(MenuTest, ShortCutTexts) {
    const struct {
        unsigned shortCut;
        const char* text;
    } rows[] = {
        {116, "F5"}, {112, "F1"}, {16496, "Ctrl+F1"}, {kCtrlFlag | kShiftFlag | 'X', "Ctrl+Shift+X"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.text, ShortCutText(row.shortCut)) << row.shortCut;
}

}  // namespace
