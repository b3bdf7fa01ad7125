// The main window as a user meets it: its frame, menu, toolbar, keyboard, status-bar hints,
// the commands that need an entry, activation and exit.
#include "GuiTest.h"

#include "Win/Application.h"
#include "Win/Controls.h"

namespace {

class MainWindowTest : public MainFormTest {
protected:
    // The centre of toolbar button `index`, in screen coordinates.
    POINT SpeedButtonCentre(int index) {
        HWND speedBar = Control("SpeedBar");
        RECT button{};
        SendMessageA(speedBar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
        POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
        ClientToScreen(speedBar, &centre);
        return centre;
    }

    POINT ControlCentre(const char* name) {
        RECT bounds;
        GetWindowRect(Control(name), &bounds);
        return {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    }

    // Toolbar buttons 1, 3, 4 and the three menu items, in that order.
    std::vector<bool> EntryCommandsEnabled() {
        HWND speedBar = Control("SpeedBar");
        std::vector<bool> enabled;
        for (const int index : {1, 3, 4}) enabled.push_back(ToolButtonEnabled(speedBar, ToolButtonCommand(speedBar, index)));
        for (const char* item : {"FileExportItem", "EditUninstallItem", "EditRemoveItem"})
            enabled.push_back(Form().Menu().IsEnabled(MenuId(item)));
        return enabled;
    }

    std::string MenuText(const char* itemName) {
        char text[128] = "";
        GetMenuStringA(Form().Menu().Handle(), static_cast<UINT>(MenuId(itemName)), text, sizeof(text), MF_BYCOMMAND);
        return text;
    }

    void CreateSampleEntries() {
        CreateEntry("Alpha", {{"DisplayName", "Alpha"}, {"UninstallString", "C:\\Alpha\\unins.exe"}});
        CreateEntry("Beta", {{"DisplayName", "Beta"}});
    }
};

TEST_F(MainWindowTest, FixedFrameCentredWithTheExactClientArea) {
    HWND window = Form().Handle();
    RECT client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    EXPECT_EQ(491, client.right);
    EXPECT_EQ(418, client.bottom);
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ("Tarnwick", WindowText(window));
    EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (frame.left + frame.right) / 2, 1);
    EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (frame.top + frame.bottom) / 2, 1);
    EXPECT_NE(0, SendMessageA(window, WM_GETICON, ICON_BIG, 0));
}

TEST_F(MainWindowTest, EveryControlUsesTheEightPointFont) {
    for (const char* name : {"CEntryLabel", "CEntryList", "UEntryLabel", "UEntryList", "DEntryList", "InfoMemo",
                             "SpeedBar", "StatusBar"}) {
        SCOPED_TRACE(name);
        LOGFONTA font{};
        auto handle = reinterpret_cast<HFONT>(SendMessageA(Control(name), WM_GETFONT, 0, 0));
        ASSERT_NE(nullptr, handle);
        GetObjectA(handle, sizeof(font), &font);
        EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
        EXPECT_EQ(-11, font.lfHeight);
    }
}

TEST_F(MainWindowTest, KeyboardFocusTabOrderAndLabelAccelerators) {
    HWND conventional = Control("CEntryList"), unconventional = Control("UEntryList");
    HWND details = Control("DEntryList"), info = Control("InfoMemo");
    EXPECT_EQ(conventional, GetFocus()) << "the window opens with the conventional list focused";
    const HWND order[] = {unconventional, details, info, conventional};
    for (HWND expected : order) {
        PressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(expected, GetFocus());
    }
    PressKey(GetFocus(), VK_TAB, true);
    EXPECT_EQ(info, GetFocus()) << "Shift+Tab goes backwards";
    PressKey(info, VK_ESCAPE);
    EXPECT_TRUE(IsWindow(Form().Handle())) << "Esc in the information box must not close the window";
    PressAltLetter(GetFocus(), 'u');
    EXPECT_EQ(unconventional, GetFocus());
    PressAltLetter(GetFocus(), 'C');
    EXPECT_EQ(conventional, GetFocus());
}

TEST_F(MainWindowTest, MenuCaptionsShortCutsAndPictures) {
    EXPECT_EQ("Refresh Entry &Views\tF5", MenuText("EditRefreshItem"));
    EXPECT_EQ("Help &Topics\tF1", MenuText("HelpTopicsItem"));
    EXPECT_EQ("&Search for Help On...\tCtrl+F1", MenuText("HelpSearchItem"));
    EXPECT_EQ("E&xit", MenuText("FileExitItem"));
    char bar[4][16] = {};
    for (int index = 0; index < 4; ++index)
        GetMenuStringA(Form().Menu().Handle(), static_cast<UINT>(index), bar[index], sizeof(bar[index]), MF_BYPOSITION);
    EXPECT_STREQ("&File", bar[0]);
    EXPECT_STREQ("&Edit", bar[1]);
    EXPECT_STREQ("&View", bar[2]);
    EXPECT_STREQ("&Help", bar[3]);

    const auto picture = [&](const char* itemName) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP;
        GetMenuItemInfoA(Form().Menu().Handle(), static_cast<UINT>(MenuId(itemName)), FALSE, &info);
        BITMAP size{};
        if (info.hbmpItem) GetObjectA(info.hbmpItem, sizeof(size), &size);
        return std::make_pair(size.bmWidth, size.bmHeight);
    };
    EXPECT_EQ(std::make_pair(16L, 16L), picture("FileImportItem"));
    EXPECT_EQ(std::make_pair(16L, 15L), picture("FileExitItem"));
    EXPECT_EQ(std::make_pair(16L, 16L), picture("EditProgramsItem"));
    EXPECT_EQ(std::make_pair(0L, 0L), picture("EditRefreshItem"));
}

TEST_F(MainWindowTest, SpeedBarButtonsCaptionsAndImages) {
    HWND speedBar = Control("SpeedBar");
    ASSERT_EQ(12, SendMessageA(speedBar, TB_BUTTONCOUNT, 0, 0));
    const char* captions[] = {"Import", "Export", nullptr, "Uninstall", "Remove", nullptr,
                              "Refresh", nullptr, "Help", nullptr, "Exit", nullptr};
    const char* menuItems[] = {"FileImportItem", "FileExportItem", nullptr, "EditUninstallItem", "EditRemoveItem", nullptr,
                               "EditRefreshItem", nullptr, "HelpTopicsItem", nullptr, "FileExitItem", nullptr};
    int image = 0;
    for (int index = 0; index < 12; ++index) {
        SCOPED_TRACE(index);
        TBBUTTON button{};
        SendMessageA(speedBar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
        if (!captions[index]) {
            EXPECT_TRUE(button.fsStyle & BTNS_SEP);
            EXPECT_EQ(8, button.iBitmap);
            continue;
        }
        EXPECT_EQ(image++, button.iBitmap);
        EXPECT_EQ(MenuId(menuItems[index]), button.idCommand) << "the button runs its menu item's command";
        char text[32] = "";
        SendMessageA(speedBar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(button.idCommand), reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(captions[index], text);
    }
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(speedBar, TB_GETIMAGELIST, 0, 0));
    const auto disabled = reinterpret_cast<HIMAGELIST>(SendMessageA(speedBar, TB_GETDISABLEDIMAGELIST, 0, 0));
    EXPECT_EQ(7, ImageList_GetImageCount(images));
    EXPECT_EQ(4, ImageList_GetImageCount(disabled));
    int width = 0, height = 0;
    ImageList_GetIconSize(disabled, &width, &height);
    EXPECT_EQ(48, width);
    EXPECT_EQ(48, height);
    RECT first{};
    SendMessageA(speedBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_EQ(65, first.right - first.left);
}

TEST_F(MainWindowTest, EntryCommandsAreEnabledOnlyWithASelectedEntry) {
    CreateSampleEntries();
    OpenForm(false);
    const std::vector<bool> allOn(6, true), allOff(6, false);
    EXPECT_EQ(allOn, EntryCommandsEnabled()) << "before the first activation everything is enabled";
    Activate();
    EXPECT_EQ(allOff, EntryCommandsEnabled());
    HWND speedBar = Control("SpeedBar");
    for (const int index : {0, 6, 8, 10}) EXPECT_TRUE(ToolButtonEnabled(speedBar, ToolButtonCommand(speedBar, index)));
    ClickEntry("UEntryList", "Beta");
    EXPECT_EQ(allOn, EntryCommandsEnabled());
    Activate();
    EXPECT_EQ(allOff, EntryCommandsEnabled());
}

TEST_F(MainWindowTest, HighlightedMenuItemsShowTheirHints) {
    const auto select = [&](UINT item, UINT flags, HMENU menu) {
        SendMessageA(Form().Handle(), WM_MENUSELECT, MAKEWPARAM(item, flags), reinterpret_cast<LPARAM>(menu));
        return StatusText();
    };
    const TMainMenu::TItem* remove = Form().Menu().FindItem("EditRemoveItem");
    ASSERT_NE(nullptr, remove);
    EXPECT_EQ("Remove the currently selected entry from the registry file",
              select(static_cast<UINT>(remove->id), MF_HILITE, remove->parent));
    EXPECT_EQ("Commands for editing the registry file", select(1, MF_POPUP | MF_HILITE, Form().Menu().Handle()));
    EXPECT_EQ("", select(2, MF_SEPARATOR, remove->parent));
    EXPECT_EQ("Reread the registry file",
              select(static_cast<UINT>(MenuId("EditRefreshItem")), MF_HILITE, remove->parent));
    EXPECT_EQ("", select(0xFFFF, 0xFFFF, nullptr)) << "the menu closed";
}

TEST_F(MainWindowTest, TheStatusBarShowsTheHintOfWhatIsUnderTheMouse) {
    const struct {
        const char* label;
        std::function<POINT()> where;
        const char* hint;
    } rows[] = {
        {"toolbar Remove", [&] { return SpeedButtonCentre(4); }, "Remove the currently selected entry from the registry file"},
        {"toolbar Exit", [&] { return SpeedButtonCentre(10); }, "Exit this program"},
        {"ProgButton", [&] { return ControlCentre("ProgButton"); }, "Open the Programs Group folder"},
        {"conventional list", [&] { return ControlCentre("CEntryList"); },
         "Standard information list about the installed programs"},
        {"information box", [&] { return ControlCentre("InfoMemo"); }, "Link information and recommended action"},
        {"a label", [&] { return ControlCentre("UEntryLabel"); }, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const POINT point = row.where();
        ASSERT_TRUE(SetCursorPos(point.x, point.y));
        Application().Idle();
        EXPECT_EQ(row.hint, StatusText());
    }
    // A message box's idle time (WM_ENTERIDLE) updates the hint too.
    const POINT list = ControlCentre("UEntryList");
    SetCursorPos(list.x, list.y);
    SendMessageA(Form().Handle(), WM_ENTERIDLE, MSGF_DIALOGBOX, 0);
    EXPECT_EQ("Undocumented information list about the installed programs", StatusText());
}

TEST_F(MainWindowTest, SpeedBarHintsFollowTheButtonsCommands) {
    // Without Import, every later button stands one place further left.
    ASSERT_TRUE(SendMessageA(Control("SpeedBar"), TB_DELETEBUTTON, 0, 0));
    for (const auto& [index, hint] : {std::pair{0, "Export the currently selected entry to a text file"},
                                      std::pair{3, "Remove the currently selected entry from the registry file"}}) {
        SCOPED_TRACE(index);
        const POINT point = SpeedButtonCentre(index);
        ASSERT_TRUE(SetCursorPos(point.x, point.y));
        Application().Idle();
        EXPECT_EQ(hint, StatusText());
    }
}

TEST_F(MainWindowTest, SpeedBarTooltipsUseTheMenuHintsAndTheDelays) {
    HWND speedBar = Control("SpeedBar");
    auto toolTips = reinterpret_cast<HWND>(SendMessageA(speedBar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(nullptr, toolTips);
    EXPECT_EQ(500, SendMessageA(toolTips, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    EXPECT_EQ(2500, SendMessageA(toolTips, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0));
    EXPECT_EQ(500, SendMessageA(Form().ToolTips(), TTM_GETDELAYTIME, TTDT_INITIAL, 0));

    NMTTDISPINFOA request{};
    request.hdr.hwndFrom = toolTips;
    request.hdr.idFrom = static_cast<UINT_PTR>(MenuId("EditUninstallItem"));
    request.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(Form().Handle(), WM_NOTIFY, request.hdr.idFrom, reinterpret_cast<LPARAM>(&request));
    ASSERT_NE(nullptr, request.lpszText);
    EXPECT_STREQ("Uninstall the currently selected program", request.lpszText);
}

TEST_F(MainWindowTest, ActivationRebuildsTheListsAndClearsTheSelection) {
    CreateSampleEntries();
    Activate();
    ClickEntry("CEntryList", "Alpha");
    ASSERT_EQ("Alpha", Form().EntryName);
    CreateEntry("Gamma", {{"DisplayName", "Gamma"}, {"UninstallString", "x"}});
    Activate();
    EXPECT_EQ(-1, SelectedIndex("CEntryList"));
    EXPECT_EQ((std::vector<std::string>{"Alpha", "Gamma"}), Entries("CEntryList"));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ("", Form().EntryName);
    EXPECT_EQ("NO SELECTED ENTRY\r\nSelect an entry in the lists above.", InfoText());

    ClickEntry("CEntryList", "Gamma");
    SendMessageA(Form().Handle(), WM_ACTIVATEAPP, FALSE, 0);
    PumpMessages();
    EXPECT_EQ("Gamma", Form().EntryName) << "deactivation changes nothing";

    DeleteEntry("Gamma");
    PressKey(Control("CEntryList"), VK_F5);
    EXPECT_EQ(std::vector<std::string>{"Alpha"}, Entries("CEntryList")) << "F5 refreshes";
    EXPECT_EQ("", Form().EntryName);
}

TEST_F(MainWindowTest, ClosingTheProgramsOwnDialogsIsNoActivation) {
    CreateSampleEntries();
    Activate();
    ClickEntry("CEntryList", "Alpha");
    {
        TModalAnswer answer(kMessageBoxClass, "Confirm", PressButton(IDOK));
        MessageBoxA(Form().Handle(), "You are about to remove a registry key.\rContinue ?", "Confirm",
                    MB_OKCANCEL | MB_ICONQUESTION);
        PumpMessages();
        ASSERT_TRUE(answer.Answered());
    }
    {
        TTestDialog dialog(Form().Handle());
        TModalAnswer answer(kFormClassName, "Test Dialog", PressButton(IDCANCEL));
        EXPECT_EQ(mrCancel, dialog.ShowModal());
        PumpMessages();
    }
    EXPECT_EQ(0, SelectedIndex("CEntryList"));
    EXPECT_EQ("Alpha", Form().EntryName);
    EXPECT_EQ(2u, Rows().size());
    EXPECT_EQ(Control("CEntryList"), GetFocus()) << "the focus returns to where it was";
}

TEST_F(MainWindowTest, ExitClosesTheWindow) {
    HWND window = Form().Handle();
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(MenuId("FileExitItem"), 0), 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, Application().MainForm());
    EXPECT_FALSE(Application().OnActivate) << "no event may call into the closed window";
}

}  // namespace
