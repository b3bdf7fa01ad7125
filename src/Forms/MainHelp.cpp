// TMainForm's Help menu: the help file's contents and keyword search, and the About box.
#include "Forms/Main.h"

#include "Forms/About.h"
#include "Win/Application.h"

void TMainForm::HelpTopicsItemClick(const TEvent&) { Application().HelpCommand(HELP_CONTENTS, 0); }

void TMainForm::HelpSearchItemClick(const TEvent&) {
    // An empty keyword opens the viewer's keyword search.
    static const char kNoKeyword[] = "";
    Application().HelpCommand(HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(kNoKeyword));
}

void TMainForm::HelpAboutItemClick(const TEvent&) {
    TAboutForm about(Handle());
    about.ShowModal();
}
