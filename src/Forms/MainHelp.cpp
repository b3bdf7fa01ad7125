// TMainForm's Help menu: the help file's contents and keyword search, and the About box.
#include "Forms/Main.h"

#include "Forms/About.h"
#include "Win/Application.h"

void TMainForm::HelpTopicsItemClick(const TEvent&) { Application().ShowHelp(THelpPage::Contents); }

void TMainForm::HelpSearchItemClick(const TEvent&) { Application().ShowHelp(THelpPage::Index); }

void TMainForm::HelpAboutItemClick(const TEvent&) {
    TAboutForm about(Handle());
    about.ShowModal();
}
