// TAboutForm: the About dialog with the product's name, version, notices, logo and a button
// that starts an e-mail to the authors.
#pragma once

#include "Win/Form.h"
#include "Base/Handles.h"

class TAboutForm : public TForm {
public:
    // Creates the dialog (hidden) over `owner`, with the logo stored in the program; a logo
    // that cannot be decoded is left out.
    explicit TAboutForm(HWND owner);

    // Closes the dialog with mrOK.
    void OKButtonClick(const TEvent& event);
    // Hands "mailto:" and the contact address to the shell.
    void ContactButtonClick(const TEvent& event);

protected:
    // Test seam: the dialog showing `logo` (empty: none) instead of the program's own.
    TAboutForm(HWND owner, TBitmapHandle logo);

    bool OnEvent(const TEvent& event) override;
};
