// Starts a program and checks that it shows its main window: a visible top-level window of that
// process with the given class and caption, within 30 s. Then closes it with WM_CLOSE and waits
// for the process to end. Exit code 0 when all of that happened.
// Usage: WindowCheck PROGRAM CLASS CAPTION
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct TSearch {
    DWORD processId;
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
    if (processId != search.processId || !IsWindowVisible(window) || std::string(className) != search.className ||
        std::string(caption) != search.caption)
        return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::printf("usage: WindowCheck PROGRAM CLASS CAPTION\n");
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
    TSearch search{process.dwProcessId, argv[2], argv[3], nullptr};
    for (int tick = 0; tick < 300 && !search.found; ++tick) {
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    }
    int result = 0;
    if (search.found) {
        std::printf("window of class %s captioned \"%s\" shown\n", argv[2], argv[3]);
        PostMessageA(search.found, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
            std::printf("the program did not end after WM_CLOSE\n");
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
