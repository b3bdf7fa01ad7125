// TEditForm: layout and event tables of the uninstall-command dialog.
#include "Forms/Edit.h"

#include "Win/Controls.h"
#include "Win/Widgets.h"

namespace {

enum : int { IDC_COMMANDEDIT = 100, IDC_PARAMSEDIT };

const TFormSpec kFormSpec = {
    "Uninstall Command", 294, 168, kDialogBorderStyle, kDialogBorderExStyle, 0, true, "MS Sans Serif", -11,
};

constexpr DWORD kEditStyle = ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kButtonStyle = BS_PUSHBUTTON | WS_TABSTOP;

// Table order is tab order: each label comes just before the edit it focuses.
const TControlSpec kLayout[] = {
    {"CommandPanel", nullptr, kPanelClass, 0, 8, 10, 277, 113, 0, 0, nullptr, nullptr},
    {"CommandLabel", "CommandPanel", "STATIC", 0, 16, 12, 0, 0, SS_LEFT, 0, "&Command:", nullptr},
    {"CommandEdit", "CommandPanel", "EDIT", IDC_COMMANDEDIT, 16, 28, 245, 21, kEditStyle, WS_EX_CLIENTEDGE, "",
     "Allow editing the uninstall command line"},
    {"ParamsLabel", "CommandPanel", "STATIC", 0, 16, 60, 0, 0, SS_LEFT, 0, "&Parameters:", nullptr},
    {"ParamsEdit", "CommandPanel", "EDIT", IDC_PARAMSEDIT, 16, 76, 245, 21, kEditStyle, WS_EX_CLIENTEDGE, "",
     "Allow editing the uninstall parameters"},
    {"OKButton", nullptr, "BUTTON", IDOK, 128, 134, 75, 25, kButtonStyle, 0, "&OK",
     "Validate the current settings and close this dialog box"},
    {"CancelButton", nullptr, "BUTTON", IDCANCEL, 208, 134, 75, 25, kButtonStyle, 0, "C&ancel",
     "Cancel the current settings and close this dialog box"},
};

const TEventSpec<TEditForm> kEvents[] = {
    {IDOK, kClicked, &TEditForm::OKButtonClick},
    {IDCANCEL, kClicked, &TEditForm::CancelButtonClick},
};

}  // namespace

TEditForm::TEditForm(HWND owner, const std::string& command, const std::string& params)
    : Command(command), Params(params) {
    CreateForm(kFormSpec, kLayout, {}, owner);
    commandEdit_ = RequiredControl("CommandEdit");
    paramsEdit_ = RequiredControl("ParamsEdit");
    SetWindowTextA(commandEdit_, Command.c_str());
    SetWindowTextA(paramsEdit_, Params.c_str());
    SetDefaultButton(RequiredControl("OKButton"));
    SetCancelButton(RequiredControl("CancelButton"));
    SetActiveControl(commandEdit_);
}

void TEditForm::OKButtonClick(const TEvent&) {
    Command = WindowText(commandEdit_);
    Params = WindowText(paramsEdit_);
    SetModalResult(mrOK);
}

void TEditForm::CancelButtonClick(const TEvent&) { SetModalResult(mrCancel); }

bool TEditForm::OnEvent(const TEvent& event) { return DispatchEvent(*this, kEvents, event); }
