// TAboutForm: layout, texts, the logo picture and the contact button.
#include "Forms/About.h"

#include "Entries/ExecApp.h"
#include "Win/JpegImage.h"
#include "TwkVersion.h"
#include "Win/Controls.h"
#include "Win/Widgets.h"
#include "resource.h"

#include <string>
#include <utility>

namespace {

enum : int { IDC_CONTACTBUTTON = 100 };

constexpr const char* kContactAddress = "twk@example.org";

const TFormSpec kFormSpec = {
    "About Tarnwick", 342, 357, kDialogBorderStyle, kDialogBorderExStyle, 0, false, "MS Sans Serif", -11,
};

constexpr DWORD kLabelStyle = SS_LEFT | SS_NOPREFIX;

// Positions inside AboutPanel are relative to it. ContactButton's caption is set from the
// contact address when the form is created.
const TControlSpec kLayout[] = {
    {"AboutPanel", nullptr, kPanelClass, 0, 8, 10, 325, 303, 0, 0, nullptr, nullptr},
    {"ProgramLogo", "AboutPanel", "STATIC", 0, 12, 12, 300, 100, SS_BITMAP, 0, nullptr, nullptr},
    {"ProductLabel", "AboutPanel", "STATIC", 0, 20, 124, 0, 0, kLabelStyle, WS_EX_TRANSPARENT, "Tarnwick", nullptr},
    {"VersionLabel", "AboutPanel", "STATIC", 0, 104, 144, 0, 0, kLabelStyle, WS_EX_TRANSPARENT,
     "Version " TWK_PRODUCT_VERSION_TEXT, nullptr},
    {"ProgramBevel", "AboutPanel", kBevelClass, 0, 20, 167, 283, 5, 0, 0, nullptr, nullptr},
    {"CopyrightLabel1", "AboutPanel", "STATIC", 0, 20, 184, 0, 0, kLabelStyle, WS_EX_TRANSPARENT,
     "Copyright (c) 2026 the Tarnwick authors", nullptr},
    {"LicenseLabel1", "AboutPanel", "STATIC", 0, 20, 224, 283, 0, kLabelStyle, WS_EX_TRANSPARENT,
     "Tarnwick is freeware: free of charge to use.", nullptr},
    {"LicenseLabel2", "AboutPanel", "STATIC", 0, 20, 238, 283, 0, kLabelStyle, WS_EX_TRANSPARENT,
     "You may give away copies, unchanged and free.", nullptr},
    {"LicenseLabel3", "AboutPanel", "STATIC", 0, 20, 252, 283, 0, kLabelStyle, WS_EX_TRANSPARENT,
     "It comes with no warranty of any kind.", nullptr},
    {"ContactButton", "AboutPanel", kFlatButtonClass, IDC_CONTACTBUTTON, 156, 272, 157, 21, 0, 0, nullptr,
     "Questions, comments, suggestions or bug reports"},
    {"OKButton", nullptr, "BUTTON", IDOK, 133, 323, 75, 25, BS_PUSHBUTTON | WS_TABSTOP, 0, "&OK",
     "Close this dialog box"},
};

const TEventSpec<TAboutForm> kEvents[] = {
    {IDOK, kClicked, &TAboutForm::OKButtonClick},
    {IDC_CONTACTBUTTON, kClicked, &TAboutForm::ContactButtonClick},
};

}  // namespace

TAboutForm::TAboutForm(HWND owner) : TAboutForm(owner, LoadJpegResource(GetModuleHandleA(nullptr), IDR_LOGO_JPEG)) {}

TAboutForm::TAboutForm(HWND owner, TBitmapHandle logo) {
    CreateForm(kFormSpec, kLayout, {}, owner);
    HWND product = RequiredControl("ProductLabel");
    SetControlFont(product, -16, FW_BOLD);
    // The label was fitted to its caption in the form's font; fit it again in its own.
    const auto boldFont = reinterpret_cast<HFONT>(SendMessageA(product, WM_GETFONT, 0, 0));
    const SIZE fitted = MeasureCaption(WindowText(product).c_str(), boldFont, 0);
    SetWindowPos(product, nullptr, 0, 0, fitted.cx, fitted.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextA(RequiredControl("ContactButton"), (std::string("Email: ") + kContactAddress).c_str());
    HWND ok = RequiredControl("OKButton");
    SetDefaultButton(ok);
    SetCancelButton(ok);
    SetActiveControl(ok);
    // A static control with SS_BITMAP takes the size of the picture it is given.
    if (logo)
        SendMessageA(RequiredControl("ProgramLogo"), STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(KeepPicture(std::move(logo))));
}

bool TAboutForm::OnEvent(const TEvent& event) { return DispatchEvent(*this, kEvents, event); }

void TAboutForm::OKButtonClick(const TEvent&) { SetModalResult(mrOK); }

void TAboutForm::ContactButtonClick(const TEvent&) {
    ShellRun(std::string("mailto:") + kContactAddress, "", "", SW_SHOW);
}
