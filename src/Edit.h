// TEditForm: the uninstall-command dialog, where the command and its parameters can be changed
// before the next Uninstall runs them.
#pragma once

#include "Win/Form.h"

class TEditForm : public TForm {
public:
    // Creates the dialog, hidden, over `owner`; CommandEdit takes the focus when it is shown.
    explicit TEditForm(HWND owner);

    void OKButtonClick(const TEvent& event);
    void CancelButtonClick(const TEvent& event);

protected:
    bool OnEvent(const TEvent& event) override;
};
