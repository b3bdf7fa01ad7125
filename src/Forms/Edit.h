// TEditForm: the uninstall-command dialog, where the command and its parameters can be changed
// before the next Uninstall runs them.
#pragma once

#include "Win/Form.h"

#include <string>

class TEditForm : public TForm {
public:
    // Creates the dialog, hidden, over `owner`, its edits showing `command` and `params`;
    // CommandEdit takes the focus when it is shown.
    TEditForm(HWND owner, const std::string& command, const std::string& params);

    // As given, until OK takes the edits' texts.
    std::string Command;
    std::string Params;

    void OKButtonClick(const TEvent& event);
    void CancelButtonClick(const TEvent& event);

protected:
    bool OnEvent(const TEvent& event) override;

private:
    HWND commandEdit_ = nullptr;
    HWND paramsEdit_ = nullptr;
};
