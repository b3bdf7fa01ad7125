// The About dialog: its frame, layout, texts and fonts, the logo (stored or damaged data),
// closing it, hints without tooltips, and the contact button's hand-off to the shell.
#include "GuiTest.h"

#include "Forms/About.h"
#include "Entries/ExecApp.h"
#include "Win/JpegImage.h"
#include "Win/Application.h"
#include "Win/Controls.h"
#include "Win/Widgets.h"
#include "ResourceBytes.h"
#include "resource.h"

#include <string_view>

namespace {

using TBytes = std::vector<unsigned char>;

TBytes LogoBytes() { return ResourceBytes(IDR_LOGO_JPEG); }

// A control's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND control) {
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

// The About box with its logo decoded from other bytes, through the form's test seam.
class TAboutFormWithLogo : public TAboutForm {
public:
    TAboutFormWithLogo(HWND owner, const TBytes& jpeg) : TAboutForm(owner, DecodeJpegBitmap(jpeg.data(), jpeg.size())) {}
};

HBITMAP ShownPicture(const TForm& form) {
    return reinterpret_cast<HBITMAP>(SendMessageA(form.FindControl("ProgramLogo"), STM_GETIMAGE, IMAGE_BITMAP, 0));
}

// The size of `text` drawn in the font `control` uses.
SIZE TextSize(HWND control, const std::string& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

struct TShellCall {
    int count = 0;
    bool hasVerb = false;
    std::string file, params, directory;
    int showCommand = 0;
};

TShellCall shellCall;

HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR directory, INT show) {
    shellCall = {shellCall.count + 1, verb != nullptr, file ? file : "(null)", params ? params : "(null)",
                 directory ? directory : "(null)", show};
    return reinterpret_cast<HINSTANCE>(INT_PTR{42});
}

class AboutTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        shellCall = {};
        SetShellExecuteFunction(RecordShellExecute);
    }
    void TearDown() override {
        SetShellExecuteFunction(nullptr);
        MainFormTest::TearDown();
    }
};

TEST_F(AboutTest, DialogFrameCentredWithTheExactClientArea) {
    TAboutForm about(Form().Handle());
    HWND window = about.Handle();
    RECT client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    EXPECT_EQ("About Tarnwick", WindowText(window));
    EXPECT_EQ(342, client.right);
    EXPECT_EQ(357, client.bottom);
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(Form().Handle(), GetWindow(window, GW_OWNER));
    EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (frame.left + frame.right) / 2, 1);
    EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (frame.top + frame.bottom) / 2, 1);
}

TEST_F(AboutTest, ControlsTextsAndPlaces) {
    TAboutForm about(Form().Handle());
    HWND panel = ControlOf(about, "AboutPanel");
    const struct {
        const char* name;
        bool inPanel;
        RECT place;  // right/bottom -1: fitted to the caption, checked below
        const char* text;
    } rows[] = {
        {"AboutPanel", false, {8, 10, 333, 313}, ""},
        {"ProgramLogo", true, {12, 12, 312, 112}, ""},
        {"ProductLabel", true, {20, 124, -1, -1}, "Tarnwick"},
        {"VersionLabel", true, {104, 144, -1, -1}, "Version 1.0"},
        {"ProgramBevel", true, {20, 167, 303, 172}, ""},
        {"CopyrightLabel1", true, {20, 184, -1, -1}, "Copyright (c) 2026 the Tarnwick authors"},
        {"LicenseLabel1", true, {20, 224, 303, -1}, "Tarnwick is freeware: free of charge to use."},
        {"LicenseLabel2", true, {20, 238, 303, -1}, "You may give away copies, unchanged and free."},
        {"LicenseLabel3", true, {20, 252, 303, -1}, "It comes with no warranty of any kind."},
        {"ContactButton", true, {156, 272, 313, 293}, "Email: twk@example.org"},
        {"OKButton", false, {133, 323, 208, 348}, "&OK"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        HWND control = ControlOf(about, row.name);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(row.inPanel ? panel : about.Handle(), GetParent(control));
        EXPECT_EQ(row.text, WindowText(control));
        const RECT place = PlaceOf(control);
        EXPECT_EQ(row.place.left, place.left);
        EXPECT_EQ(row.place.top, place.top);
        if (row.place.right >= 0) {
            EXPECT_EQ(row.place.right, place.right);
        }
        if (row.place.bottom >= 0) {
            EXPECT_EQ(row.place.bottom, place.bottom);
        }
        if (row.place.right < 0 || row.place.bottom < 0) {
            // A fitted label shows its whole caption on one line.
            const SIZE text = TextSize(control, row.text);
            EXPECT_GE(place.right - place.left, text.cx);
            EXPECT_EQ(text.cy, place.bottom - place.top);
        }
    }
}

TEST_F(AboutTest, FontsTransparentLabelsAndButtons) {
    TAboutForm about(Form().Handle());
    for (const char* name : {"ProductLabel", "VersionLabel", "CopyrightLabel1", "LicenseLabel1", "LicenseLabel2",
                             "LicenseLabel3", "ContactButton", "OKButton"}) {
        SCOPED_TRACE(name);
        HWND control = ControlOf(about, name);
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
        const bool product = std::string_view(name) == "ProductLabel";
        EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
        EXPECT_EQ(product ? -16 : -11, font.lfHeight);
        EXPECT_EQ(product ? FW_BOLD : FW_NORMAL, font.lfWeight);
        if (std::string_view(name).find("Label") == std::string_view::npos) continue;
        // Labels ask their panel for colours; the panel passes the question to the form.
        HDC dc = CreateCompatibleDC(nullptr);
        const LRESULT brush = SendMessageA(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(control));
        EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
        DeleteDC(dc);
        EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), brush) << "transparent over the panel";
    }
    HWND ok = ControlOf(about, "OKButton");
    EXPECT_EQ(static_cast<LONG_PTR>(BS_DEFPUSHBUTTON), GetWindowLongPtrA(ok, GWL_STYLE) & BS_TYPEMASK);
    HWND contact = ControlOf(about, "ContactButton");
    EXPECT_FALSE(GetWindowLongPtrA(contact, GWL_STYLE) & WS_TABSTOP) << "a flat button";
    RECT face;
    GetClientRect(contact, &face);
    EXPECT_LT(TextSize(contact, WindowText(contact)).cx, face.right - 4) << "the whole address shows";
    SendMessageA(contact, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(IsFlatButtonHot(contact));
}

TEST_F(AboutTest, TheCopyrightAndVersionLinesAreTheVersionResources) {
    TAboutForm about(Form().Handle());
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    ASSERT_NE(nullptr, resource);
    const auto* data = static_cast<const wchar_t*>(LockResource(LoadResource(module, resource)));
    const std::wstring_view version(data, SizeofResource(module, resource) / sizeof(wchar_t));
    const struct {
        const char* label;
        const wchar_t* key;
        const char* prefix;  // of the label's text, before the resource's value
    } rows[] = {
        {"CopyrightLabel1", L"LegalCopyright", ""},
        {"VersionLabel", L"ProductVersion", "Version "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const std::string line = WindowText(ControlOf(about, row.label));
        ASSERT_EQ(0u, line.rfind(row.prefix, 0)) << line;
        const std::string value = line.substr(std::string(row.prefix).size());
        // The value follows its key's terminating null and the padding to a 4-byte boundary.
        const auto key = version.find(std::wstring(row.key) + L'\0');
        ASSERT_NE(std::wstring_view::npos, key);
        auto at = key + std::wstring(row.key).size() + 1;
        while (at < version.size() && version[at] == L'\0') ++at;
        EXPECT_EQ(std::wstring(value.begin(), value.end()), std::wstring(version.substr(at, value.size())));
        EXPECT_EQ(L'\0', at + value.size() < version.size() ? version[at + value.size()] : L'?') << "the whole value";
    }
}

TEST_F(AboutTest, TheLogoShowsTheStoredPictureAtItsSize) {
    TAboutForm about(Form().Handle());
    HBITMAP picture = ShownPicture(about);
    ASSERT_NE(nullptr, picture);
    const SIZE size = BitmapSize(picture);
    EXPECT_EQ(300, size.cx);
    EXPECT_EQ(100, size.cy);
    const RECT place = PlaceOf(ControlOf(about, "ProgramLogo"));
    EXPECT_EQ(300, place.right - place.left);
    EXPECT_EQ(100, place.bottom - place.top);
    EXPECT_EQ(static_cast<LONG_PTR>(SS_BITMAP), GetWindowLongPtrA(ControlOf(about, "ProgramLogo"), GWL_STYLE) & SS_TYPEMASK);
}

TEST_F(AboutTest, ALogoThatCannotBeDecodedLeavesThePictureOut) {
    const TBytes logo = LogoBytes();
    ASSERT_GT(logo.size(), 1000u);
    TBytes garbage(logo.size());
    for (size_t at = 0; at < garbage.size(); ++at) garbage[at] = static_cast<unsigned char>(at * 37 + 11);
    TBytes damaged = logo;
    for (size_t at = damaged.size() / 3; at < damaged.size() / 3 + 400; ++at) damaged[at] = 0xFF;
    const struct {
        const char* label;
        TBytes bytes;
    } rows[] = {
        {"no bytes", {}},
        {"not a JPEG", garbage},
        {"the logo cut in half", TBytes(logo.begin(), logo.begin() + static_cast<std::ptrdiff_t>(logo.size() / 2))},
        {"the logo with a run of damaged bytes", damaged},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        TAboutFormWithLogo about(Form().Handle(), row.bytes);
        EXPECT_EQ(nullptr, ShownPicture(about));
        TModalAnswer answer(kFormClassName, "About Tarnwick", PressButton(IDOK));
        EXPECT_EQ(mrOK, about.ShowModal()) << "the dialog opens and closes as usual";
        EXPECT_TRUE(answer.Answered());
    }
}

TEST_F(AboutTest, ClosesWithEnterEscTheCloseBoxAndOKWhileTheMainWindowKeepsItsState) {
    CreateEntry("Alpha", {{"DisplayName", "Alpha"}, {"UninstallString", "C:\\Alpha\\unins.exe"}});
    Activate();
    ClickEntry("CEntryList", "Alpha");
    ASSERT_EQ("Alpha", Form().EntryName);
    const auto rowsBefore = Rows().size();
    const std::string infoBefore = InfoText();

    const auto expectMainWindowKept = [&] {
        PumpMessages();
        EXPECT_EQ("Alpha", Form().EntryName);
        EXPECT_EQ(0, SelectedIndex("CEntryList"));
        EXPECT_EQ(rowsBefore, Rows().size());
        EXPECT_EQ(infoBefore, InfoText());
    };
    const auto expectOKFocused = [](HWND dialog) {
        EXPECT_EQ(TForm::FromHandle(dialog)->FindControl("OKButton"), GetFocus());
    };
    // Its one button is both the default and the cancel button.
    ExpectEnterEscAndCloseBox("About Tarnwick", {IDOK, IDOK}, [&] {
        TAboutForm about(Form().Handle());
        const int result = about.ShowModal();
        expectMainWindowKept();
        return result;
    }, expectOKFocused);

    TAboutForm about(Form().Handle());
    TModalAnswer answer(kFormClassName, "About Tarnwick", [&](HWND dialog) {
        expectOKFocused(dialog);
        PressButton(IDOK)(dialog);
    });
    EXPECT_EQ(mrOK, about.ShowModal()) << "the OK button";
    ASSERT_TRUE(answer.Answered());
    EXPECT_FALSE(answer.Snapshot().ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(Form().Handle()));
    expectMainWindowKept();
}

TEST_F(AboutTest, TheAboutCommandShowsTheDialogModallyAndDestroysIt) {
    HWND seen = nullptr;
    TModalAnswer answer(kFormClassName, "About Tarnwick", [&](HWND dialog) {
        seen = dialog;
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(MenuId("HelpAboutItem"), 0), 0);
    ASSERT_TRUE(answer.Answered());
    EXPECT_FALSE(answer.Snapshot().ownerEnabled) << "shown modally";
    EXPECT_FALSE(IsWindow(seen)) << "destroyed when closed";
    EXPECT_TRUE(IsWindowEnabled(Form().Handle()));
}

// Moves the mouse over the About box's controls from inside its modal loop and records the
// main window's status bar after each move has had idle time.
struct THintTour {
    static inline std::vector<HWND> stops;
    static inline std::vector<std::string> seen;
    static inline HWND statusBar = nullptr;
    static inline HWND dialog = nullptr;

    static void MoveTo(HWND control) {
        RECT bounds;
        GetWindowRect(control, &bounds);
        SetCursorPos((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
        SetTimer(nullptr, 0, 100, Next);
    }
    static void CALLBACK Next(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        seen.push_back(StatusBarSimpleText(statusBar));
        if (seen.size() < stops.size())
            MoveTo(stops[seen.size()]);
        else
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
};

TEST_F(AboutTest, HintsReachTheMainStatusBarButNoTooltipIsMade) {
    TAboutForm about(Form().Handle());
    EXPECT_EQ(nullptr, about.ToolTips());
    THintTour::stops = {about.FindControl("ContactButton"), about.FindControl("LicenseLabel2"),
                        about.FindControl("OKButton")};
    THintTour::seen.clear();
    THintTour::statusBar = Control("StatusBar");
    THintTour::dialog = about.Handle();
    TModalAnswer answer(kFormClassName, "About Tarnwick", [](HWND) { THintTour::MoveTo(THintTour::stops[0]); });
    EXPECT_EQ(mrOK, about.ShowModal());
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ((std::vector<std::string>{"Questions, comments, suggestions or bug reports", "",
                                        "Close this dialog box"}),
              THintTour::seen);

    // No tooltip window belongs to the dialog.
    struct TSearch {
        HWND dialog;
        int toolTips;
    } search{about.Handle(), 0};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) CALLBACK -> BOOL {
            auto& state = *reinterpret_cast<TSearch*>(found);
            char name[64] = "";
            GetClassNameA(window, name, sizeof(name));
            if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && GetWindow(window, GW_OWNER) == state.dialog) ++state.toolTips;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    EXPECT_EQ(0, search.toolTips);
}

TEST_F(AboutTest, TheContactButtonMailsTheAuthorsThroughTheShell) {
    TAboutForm about(Form().Handle());
    about.Show();
    PumpMessages();
    Click(ControlOf(about, "ContactButton"), {5, 5});
    EXPECT_EQ(1, shellCall.count);
    EXPECT_EQ("mailto:twk@example.org", shellCall.file);
    EXPECT_FALSE(shellCall.hasVerb) << "the default action";
    EXPECT_EQ("", shellCall.params);
    EXPECT_EQ("", shellCall.directory);
    EXPECT_EQ(5, shellCall.showCommand);
    EXPECT_TRUE(IsWindowVisible(about.Handle())) << "the dialog stays open";
}

}  // namespace
