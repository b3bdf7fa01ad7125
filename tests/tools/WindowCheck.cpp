// Starts a program and checks that it shows its main window: a visible top-level window of that
// process with the given class and caption, within 30 s. With HELP_CLASS and HELP_CAPTION it then
// presses F1 there and checks that a help window of that class and caption shows (of any
// process: a viewer may run as a program of its own). Then closes the main window with WM_CLOSE
// and waits for the process to end (and its help window to close). Exit code 0 when all of that happened.
// Usage: WindowCheck PROGRAM CLASS CAPTION [HELP_CLASS HELP_CAPTION]
#include <windows.h>

#include <cstdio>
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

// The window `search` describes, looked for every 100 ms for up to 30 s while `process` runs.
HWND WaitForWindow(HANDLE process, TSearch search) {
    for (int tick = 0; tick < 300 && !search.found; ++tick) {
        if (WaitForSingleObject(process, 100) == WAIT_OBJECT_0) break;
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

// Presses F1 in `window` as the keyboard would: the program's loop translates it.
void PressF1(HWND window) {
    PostMessageA(window, WM_KEYDOWN, VK_F1, 0x003B0001);
    PostMessageA(window, WM_KEYUP, VK_F1, 0xC03B0001);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6) {
        std::printf("usage: WindowCheck PROGRAM CLASS CAPTION [HELP_CLASS HELP_CAPTION]\n");
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
        if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
            std::printf("the program did not end after WM_CLOSE\n");
            result = 1;
        } else if (argc == 6) {
            Sleep(2000);  // a viewer of its own quits when told, not at once
            TSearch help{0, argv[4], argv[5], nullptr};
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&help));
            if (help.found) {
                std::printf("the help window stayed open after the program ended\n");
                PostMessageA(help.found, WM_CLOSE, 0, 0);
                result = 1;
            }
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
