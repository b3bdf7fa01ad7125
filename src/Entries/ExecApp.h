// Shell launching: hands a file to the Windows shell with the main window as owner.
#pragma once

#include <windows.h>

#include <string>

// Asks the shell to open `file` with its default action, passing `params` whole. Returns the
// shell's result: greater than 32 means success. A file or directory of MAX_PATH characters or
// more is answered with 2 (SE_ERR_FNF) without calling the shell.
INT_PTR ShellRun(const std::string& file, const std::string& params, const std::string& directory, int showCommand);

// The window that owns what ShellRun starts (the main window); null until it is set.
void SetShellRunOwner(HWND owner);

// Test seam: replaces ShellExecuteA for ShellRun; pass nullptr to restore the real call.
using TShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
void SetShellExecuteFunction(TShellExecuteFunction function);
