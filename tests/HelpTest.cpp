// The Help menu's commands as the help viewer receives them: contents, keyword search, context
// help for F1 in an open menu, the short cuts (not while a dialog is open) and the final quit.
#include "GuiTest.h"

#include "About.h"
#include "Win/Application.h"
#include "Win/Controls.h"

namespace {

struct THelpCall {
    HWND owner;
    std::string file;
    UINT command;
    ULONG_PTR data;
    std::string keyword;  // the string `data` pointed at, for HELP_PARTIALKEY
};

std::vector<THelpCall> helpCalls;

BOOL WINAPI RecordWinHelp(HWND owner, LPCSTR file, UINT command, ULONG_PTR data) {
    THelpCall call{owner, file ? file : "(null)", command, data, ""};
    if (command == HELP_PARTIALKEY && data != 0) call.keyword = reinterpret_cast<const char*>(data);
    helpCalls.push_back(call);
    return TRUE;
}

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

class HelpTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        helpCalls.clear();
        Application().SetWinHelpFunction(RecordWinHelp);
    }
    void TearDown() override {
        MainFormTest::TearDown();  // the window's end may still ask the viewer to quit
        Application().SetWinHelpFunction(nullptr);
    }

    // Checks that exactly one help call was made, to Twk.hlp for the main window, with `command`.
    void ExpectOneCall(UINT command) {
        ASSERT_EQ(1u, helpCalls.size());
        EXPECT_EQ(command, helpCalls[0].command);
        EXPECT_EQ(Form().Handle(), helpCalls[0].owner);
        EXPECT_EQ("Twk.hlp", helpCalls[0].file);
    }

    // Runs `command` as the user would and checks the one help call it makes.
    void ExpectCommandAsks(const char* label, const std::function<void()>& command, UINT helpCommand,
                           bool emptyKeyword) {
        SCOPED_TRACE(label);
        helpCalls.clear();
        command();
        PumpMessages();
        ExpectOneCall(helpCommand);
        if (helpCalls.empty()) return;
        if (emptyKeyword) {
            EXPECT_NE(0u, helpCalls[0].data) << "the address of an empty keyword";
            EXPECT_EQ("", helpCalls[0].keyword);
        } else {
            EXPECT_EQ(0u, helpCalls[0].data);
        }
    }

    void ChooseMenuItem(const char* itemName) {
        SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(MenuId(itemName), 0), 0);
    }
};

TEST_F(HelpTest, MenuToolbarAndShortCutsAskForContentsAndSearch) {
    HWND list = Control("CEntryList");
    ExpectCommandAsks("Help Topics", [&] { ChooseMenuItem("HelpTopicsItem"); }, HELP_CONTENTS, false);
    ExpectCommandAsks("Search for Help On", [&] { ChooseMenuItem("HelpSearchItem"); }, HELP_PARTIALKEY, true);
    ExpectCommandAsks(
        "the toolbar's Help", [&] {
            HWND speedBar = Control("SpeedBar");
            RECT button{};
            SendMessageA(speedBar, TB_GETITEMRECT, 8, reinterpret_cast<LPARAM>(&button));
            Click(speedBar, {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
        },
        HELP_CONTENTS, false);
    ExpectCommandAsks("F1", [&] { PressKey(list, VK_F1); }, HELP_CONTENTS, false);
    ExpectCommandAsks(
        "Ctrl+F1", [&] {
            TCtrlDown ctrl(true);
            PressKey(list, VK_F1);
        },
        HELP_PARTIALKEY, true);
}

TEST_F(HelpTest, ShortCutsDoNothingWhileTheAboutBoxIsOpen) {
    for (const bool ctrl : {false, true}) {
        SCOPED_TRACE(ctrl ? "Ctrl+F1" : "F1");
        helpCalls.clear();
        TCtrlDown keys(ctrl);
        {
            TAboutForm about(Form().Handle());
            TModalAnswer answer(kFormClassName, "About Tarnwick", [&](HWND dialog) {
                PressKey(Control("CEntryList"), VK_F1);
                PressKey(GetFocus(), VK_F1);
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            });
            about.ShowModal();
            ASSERT_TRUE(answer.Answered());
        }
        EXPECT_TRUE(helpCalls.empty());
        PressKey(Control("CEntryList"), VK_F1);
        EXPECT_EQ(1u, helpCalls.size()) << "the same key works once the dialog is gone";
    }
}

// Drives an open menu from inside its own loop: F1 on the highlighted item, then Esc until
// the menu has closed (EndMenu as a last resort, so a stuck menu cannot hang the test).
struct TMenuDriver {
    static inline int ticks = 0;
    static inline bool popupSeen = false;
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        HWND window = Application().MainWindow();
        if (++ticks == 3) {
            HWND popup = FindWindowA("#32768", nullptr);
            popupSeen = popup && IsWindowVisible(popup);
            PostMessageA(window, WM_KEYDOWN, VK_F1, 0);
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        } else if (ticks > 50) {
            EndMenu();
        }
    }
};

TEST_F(HelpTest, F1InAnOpenMenuAsksForContextZero) {
    TMenuDriver::ticks = 0;
    TMenuDriver::popupSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, TMenuDriver::OnTimer);
    SendMessageA(Form().Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'h');  // Alt+H: returns when the menu closes
    KillTimer(nullptr, timer);
    PumpMessages();
    EXPECT_TRUE(TMenuDriver::popupSeen) << "the Help menu was open";
    ExpectOneCall(HELP_CONTEXT);
    if (!helpCalls.empty()) {
        EXPECT_EQ(0u, helpCalls[0].data);
    }
}

TEST_F(HelpTest, F1OutsideTheMainWindowsMenusAsksNothing) {
    HELPINFO window{};
    window.cbSize = sizeof(window);
    window.iContextType = HELPINFO_WINDOW;
    window.hItemHandle = Control("CEntryList");
    EXPECT_EQ(0, SendMessageA(Form().Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&window)))
        << "F1 on a control";

    // A dialog's own menus (its system menu) pass WM_HELP up to the window that owns it.
    TAboutForm about(Form().Handle());
    TModalAnswer answer(kFormClassName, "About Tarnwick", [&](HWND dialog) {
        HELPINFO menu{};
        menu.cbSize = sizeof(menu);
        menu.iContextType = HELPINFO_MENUITEM;
        menu.hItemHandle = GetSystemMenu(dialog, FALSE);
        SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&menu));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    about.ShowModal();
    ASSERT_TRUE(answer.Answered());
    EXPECT_TRUE(helpCalls.empty());
}

TEST_F(HelpTest, TheViewerIsToldToQuitOnceWhenTheMainWindowGoesAfterHelp) {
    OpenForm(true);
    HWND first = Form().Handle();
    ChooseMenuItem("HelpSearchItem");
    helpCalls.clear();
    ChooseMenuItem("FileExitItem");
    PumpMessages();
    ASSERT_FALSE(IsWindow(first));
    ASSERT_EQ(1u, helpCalls.size());
    EXPECT_EQ(static_cast<UINT>(HELP_QUIT), helpCalls[0].command);
    EXPECT_EQ(first, helpCalls[0].owner) << "the owner the viewer knows";
    EXPECT_EQ("Twk.hlp", helpCalls[0].file);

    helpCalls.clear();
    OpenForm(true);
    ChooseMenuItem("FileExitItem");
    PumpMessages();
    EXPECT_TRUE(helpCalls.empty()) << "no help used by this window: nothing to quit";
}

}  // namespace
