// Message dialogs for the expected outcomes of the program's own commands: a confirmation and a
// warning, modal over the main window, silent, centred on the screen, in the system's message font.
#pragma once

#include <string>

enum TMessageKind {
    mkConfirmation,  // "Confirm", question mark, OK and Cancel; Esc and the close box cancel
    mkWarning,       // "Warning", exclamation mark, OK; Esc is OK, the close box cancels
};

// Shows `text` (wrapped at half the screen's width; a lone CR breaks the line) until it is
// answered: 1 (mrOK) for OK, 2 (mrCancel) for Cancel.
int MessageDlg(const std::string& text, TMessageKind kind);
