// THelpViewers: the two help viewers the Help commands go to. HTML Help (HtmlHelpA of
// hhctrl.ocx, loaded when first needed) shows the .chm; WinHelp shows the .hlp where there is
// no .chm or no HTML Help.
#pragma once

#include "Base/Handles.h"

#include <windows.h>

#include <string>

// What the user asked help for: the contents (Help Topics, F1), the keyword index (Search for
// Help On, Ctrl+F1), or the contents topic (F1 in an open menu).
enum class THelpPage { Contents, Index, ContentsTopic };

// The full path of the help file `name` beside the running program, else in the folder above
// it (the zip's x64\Twk.exe shares the help of the 32-bit program); beside the program when
// neither holds it, so that the viewer's message names where it was looked for.
std::string FindHelpFile(const std::string& name);

// The name of an existing file that any viewer process can read: its short (8.3) path, which
// holds no characters outside ASCII, or `path` itself where the file system keeps no short name.
std::string ViewerFileName(const std::string& path);

class THelpViewers {
public:
    // The help in its two forms, each by its full path; an empty or missing .chm means WinHelp.
    void SetFiles(std::string htmlHelpFile, std::string winHelpFile);
    const std::string& WinHelpFile() const { return winHelpFile_; }

    // Shows `page` for the window `owner`: in HTML Help when the .chm exists and HTML Help opens
    // it, else in WinHelp. True when the viewer reported success.
    bool Show(HWND owner, THelpPage page);
    // Closes the viewers that Show used: HTML Help's windows, and WinHelp's for `owner`.
    void Close(HWND owner);

    // Test seam: replaces WinHelpA for every WinHelp call; nullptr restores the real call.
    using TWinHelpFunction = BOOL(WINAPI*)(HWND owner, LPCSTR file, UINT command, ULONG_PTR data);
    void SetWinHelpFunction(TWinHelpFunction function) { winHelp_ = function; }

private:
    using THtmlHelpFunction = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

    THtmlHelpFunction HtmlHelpFunction();  // null when hhctrl.ocx is missing
    bool ShowInHtmlHelp(HWND owner, THelpPage page);
    bool ShowInWinHelp(HWND owner, THelpPage page);

    std::string htmlHelpFile_;
    std::string winHelpFile_;
    TModuleHandle htmlHelpLibrary_;
    bool htmlHelpLoadTried_ = false;
    bool htmlHelpUsed_ = false;
    bool winHelpUsed_ = false;
    TWinHelpFunction winHelp_ = nullptr;  // null: the real WinHelpA
};
