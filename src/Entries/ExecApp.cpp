// Shell launching over ShellExecuteA, with a replaceable entry point for tests.
#include "Entries/ExecApp.h"

#include "Entries/CodePage.h"

#include <shellapi.h>

namespace {

HWND shellRunOwner = nullptr;
TShellExecuteFunction shellExecute = nullptr;  // null: the real ShellExecuteA

}  // namespace

INT_PTR ShellRun(const std::string& file, const std::string& params, const std::string& directory, int showCommand) {
    // Such a string names no file for the ANSI shell, and Wine's ShellExecuteA crashes on it. The
    // limit counts characters (UTF-16 units), which in the ANSI code page take up to 3 bytes.
    const auto tooLong = [](const std::string& path) { return WideFromCodePage(CP_ACP, path).size() >= MAX_PATH; };
    if (tooLong(file) || tooLong(directory)) return SE_ERR_FNF;
    const TShellExecuteFunction execute = shellExecute ? shellExecute : ShellExecuteA;
    return reinterpret_cast<INT_PTR>(
        execute(shellRunOwner, nullptr, file.c_str(), params.c_str(), directory.c_str(), showCommand));
}

void SetShellRunOwner(HWND owner) { shellRunOwner = owner; }

void SetShellExecuteFunction(TShellExecuteFunction function) { shellExecute = function; }
