// THelpViewers: HTML Help first, WinHelp where it cannot be had. The order matters: Windows 10
// and 11 ship a WinHelp stub that reports success and shows nothing, so only HTML Help's
// answer (a window, or none) can tell whether the help was shown; Windows 98 and NT without
// HTML Help, and a Wine without hhctrl, still have WinHelp.
#include "Win/Help.h"

#include "Win/Application.h"

#include <htmlhelp.h>

namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// An empty keyword opens the index without choosing an entry.
const char kNoKeyword[] = "";

}  // namespace

std::string FindHelpFile(const std::string& name) {
    const std::string beside = FileBesideProgram(name);
    const std::string folder = beside.substr(0, beside.size() - name.size() - 1);
    const auto parentEnd = folder.find_last_of("\\/");
    if (FileExists(beside) || parentEnd == std::string::npos) return beside;
    const std::string above = folder.substr(0, parentEnd + 1) + name;
    return FileExists(above) ? above : beside;
}

std::string ViewerFileName(const std::string& path) {
    std::string shortPath(MAX_PATH, '\0');
    DWORD length = 0;
    while ((length = GetShortPathNameA(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()))) >=
           shortPath.size())
        shortPath.resize(length);
    if (length == 0) return path;
    shortPath.resize(length);
    return shortPath;
}

void THelpViewers::SetFiles(std::string htmlHelpFile, std::string winHelpFile) {
    htmlHelpFile_ = std::move(htmlHelpFile);
    winHelpFile_ = std::move(winHelpFile);
}

bool THelpViewers::Show(HWND owner, THelpPage page) { return ShowInHtmlHelp(owner, page) || ShowInWinHelp(owner, page); }

void THelpViewers::Close(HWND owner) {
    if (htmlHelpUsed_) HtmlHelpFunction()(nullptr, nullptr, HH_CLOSE_ALL, 0);
    if (winHelpUsed_) (winHelp_ ? winHelp_ : WinHelpA)(owner, ViewerFileName(winHelpFile_).c_str(), HELP_QUIT, 0);
    htmlHelpUsed_ = winHelpUsed_ = false;
}

THelpViewers::THtmlHelpFunction THelpViewers::HtmlHelpFunction() {
    if (!htmlHelpLoadTried_) {
        htmlHelpLoadTried_ = true;
        // From the system folder only: a bare name would also be looked for in the current
        // folder, which an export or import moves anywhere.
        char system[MAX_PATH] = "";
        const UINT length = GetSystemDirectoryA(system, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            htmlHelpLibrary_.Reset(LoadLibraryA((std::string(system) + "\\hhctrl.ocx").c_str()));
    }
    if (!htmlHelpLibrary_) return nullptr;
    return reinterpret_cast<THtmlHelpFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(htmlHelpLibrary_.Get(), "HtmlHelpA")));
}

bool THelpViewers::ShowInHtmlHelp(HWND owner, THelpPage page) {
    if (htmlHelpFile_.empty() || !FileExists(htmlHelpFile_)) return false;
    const THtmlHelpFunction htmlHelp = HtmlHelpFunction();
    if (!htmlHelp) return false;
    const std::string file = ViewerFileName(htmlHelpFile_);
    HWND viewer = nullptr;
    switch (page) {
    case THelpPage::Contents: viewer = htmlHelp(owner, file.c_str(), HH_DISPLAY_TOC, 0); break;
    case THelpPage::Index:
        viewer = htmlHelp(owner, file.c_str(), HH_DISPLAY_INDEX, reinterpret_cast<DWORD_PTR>(kNoKeyword));
        break;
    case THelpPage::ContentsTopic: viewer = htmlHelp(owner, file.c_str(), HH_DISPLAY_TOPIC, 0); break;
    }
    htmlHelpUsed_ = true;  // even a failed call may have left a window to close
    return viewer != nullptr;
}

bool THelpViewers::ShowInWinHelp(HWND owner, THelpPage page) {
    const TWinHelpFunction winHelp = winHelp_ ? winHelp_ : WinHelpA;
    const std::string file = ViewerFileName(winHelpFile_);
    winHelpUsed_ = true;
    switch (page) {
    case THelpPage::Contents: return winHelp(owner, file.c_str(), HELP_CONTENTS, 0) != FALSE;
    case THelpPage::Index:
        return winHelp(owner, file.c_str(), HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(kNoKeyword)) != FALSE;
    case THelpPage::ContentsTopic: return winHelp(owner, file.c_str(), HELP_CONTEXT, 0) != FALSE;
    }
    return false;
}
