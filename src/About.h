// TAboutForm: the About dialog with the product's name, version, notices, logo and a button
// that starts an e-mail to the authors.
#pragma once

#include "Win/Form.h"
#include "Base/Handles.h"

#include <span>

class TAboutForm : public TForm {
public:
    // Creates the dialog (hidden) over `owner`, with the logo stored in the program.
    explicit TAboutForm(HWND owner);
    // The same with the logo decoded from the JPEG bytes `logoJpeg`; a picture that cannot be
    // decoded leaves the logo empty.
    TAboutForm(HWND owner, std::span<const unsigned char> logoJpeg);

    // Closes the dialog with mrOK.
    void OKButtonClick(const TEvent& event);
    // Hands "mailto:" and the contact address to the shell.
    void ContactButtonClick(const TEvent& event);

protected:
    bool OnEvent(const TEvent& event) override;

private:
    void CreateAboutForm(HWND owner);
    void ShowLogo(TBitmapHandle picture);
};
