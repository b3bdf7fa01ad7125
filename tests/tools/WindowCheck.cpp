// Starts a program and checks that it shows its main window: a visible top-level window of that
// process with the given class and caption. With HELP_CLASS and HELP_CAPTION it then presses F1
// there and checks that a help window of that class and caption shows (of any process: a viewer
// may run as a program of its own). Then closes the main window with WM_CLOSE and waits for the
// process to end and its help window to close. Each of those waits lasts up to 30 s, or SECONDS
// (a program under emulation takes minutes to start). Exit code 0 when all of that happened.
// Usage: WindowCheck [--wait=SECONDS] PROGRAM CLASS CAPTION [HELP_CLASS HELP_CAPTION]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct TSearch {
    DWORD processId;  // 0: any process
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<TSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[256] = "", caption[256] = "";
    GetClassNameA(window, className, sizeof(className));
    GetWindowTextA(window, caption, sizeof(caption));
    if ((search.processId && processId != search.processId) || !IsWindowVisible(window) || std::string(className) != search.className ||
        std::string(caption) != search.caption)
        return TRUE;
    search.found = window;
    return FALSE;
}

DWORD waitLimit = 30000;  // milliseconds

// The window `search` describes, looked for every 100 ms while `process` runs.
HWND WaitForWindow(HANDLE process, TSearch search) {
    for (DWORD waited = 0; waited < waitLimit && !search.found; waited += 100) {
        if (WaitForSingleObject(process, 100) == WAIT_OBJECT_0) break;
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

// Whether the window `search` describes is gone, looked for every 100 ms.
bool WaitUntilGone(TSearch search) {
    for (DWORD waited = 0; waited < waitLimit; waited += 100) {
        search.found = nullptr;
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return true;
        Sleep(100);
    }
    if (search.found) PostMessageA(search.found, WM_CLOSE, 0, 0);
    return false;
}

// Presses F1 in `window` as the keyboard would: the program's loop translates it.
void PressF1(HWND window) {
    PostMessageA(window, WM_KEYDOWN, VK_F1, 0x003B0001);
    PostMessageA(window, WM_KEYUP, VK_F1, 0xC03B0001);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strncmp(argv[1], "--wait=", 7) == 0) {
        waitLimit = static_cast<DWORD>(std::atoi(argv[1] + 7)) * 1000;
        --argc;
        ++argv;
    }
    if (argc != 4 && argc != 6) {
        std::printf("usage: WindowCheck [--wait=SECONDS] PROGRAM CLASS CAPTION [HELP_CLASS HELP_CAPTION]\n");
        return 2;
    }
    std::string program = argv[1];
    const std::string folder = program.substr(0, program.find_last_of("\\/") + 1);
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        std::printf("cannot start %s (error %lu)\n", program.c_str(), GetLastError());
        return 1;
    }
    HWND mainWindow = WaitForWindow(process.hProcess, {process.dwProcessId, argv[2], argv[3], nullptr});
    int result = 0;
    if (mainWindow) {
        std::printf("window of class %s captioned \"%s\" shown\n", argv[2], argv[3]);
        if (argc == 6) {
            PressF1(mainWindow);
            if (WaitForWindow(process.hProcess, {0, argv[4], argv[5], nullptr})) {
                std::printf("F1: help window of class %s captioned \"%s\" shown\n", argv[4], argv[5]);
            } else {
                std::printf("F1: no visible help window of class %s captioned \"%s\"\n", argv[4], argv[5]);
                result = 1;
            }
        }
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, waitLimit) != WAIT_OBJECT_0) {
            std::printf("the program did not end after WM_CLOSE\n");
            result = 1;
        } else if (argc == 6 && !WaitUntilGone({0, argv[4], argv[5], nullptr})) {
            // A viewer of its own quits when told, not at once.
            std::printf("the help window stayed open after the program ended\n");
            result = 1;
        }
    } else {
        std::printf("no visible window of class %s captioned \"%s\"\n", argv[2], argv[3]);
        result = 1;
    }
    if (result != 0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}
