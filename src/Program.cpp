// Program block: common controls, the application object, the main window, the message loop.
#include "Entries/ExecApp.h"
#include "Entries/Link.h"
#include "Forms/Main.h"
#include "Win/Application.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    // Probing a program on an empty CD or floppy drive must answer "missing disk" quietly,
    // not make the system ask the user to insert one.
    SetErrorMode(SEM_FAILCRITICALERRORS);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    InitDiskFreeSpaceFunction();
    TApplication& application = Application();
    application.SetTitle("Tarnwick");
    // By their full paths: an export or import moves the current folder, where a help viewer
    // would otherwise look first.
    application.Help().SetFiles(FindHelpFile("Twk.chm"), FindHelpFile("Twk.hlp"));
    try {
        TMainForm mainForm;
        application.SetMainForm(&mainForm);
        SetShellRunOwner(mainForm.Handle());
        mainForm.Show(showCommand);
        return application.Run();
    } catch (...) {
        application.HandleException();
        return 1;
    }
}
