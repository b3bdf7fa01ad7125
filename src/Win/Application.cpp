// TApplication: message loops, hints, activation, help and the error box.
#include "Win/Application.h"

#include "Base/Exception.h"
#include "Base/Text.h"
#include "Win/Form.h"

std::string GetShortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }

std::string GetLongHint(const std::string& hint) {
    const auto bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

TApplication& Application() {
    static TApplication application;
    return application;
}

void TApplication::SetMainForm(TForm* form) {
    mainForm_ = form;
    if (!form) {
        OnHint = nullptr;
        OnActivate = nullptr;
    }
}

HWND TApplication::MainWindow() const { return mainForm_ ? mainForm_->Handle() : nullptr; }

void TApplication::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint) OnHint();
}

int TApplication::Run() {
    running_ = true;
    terminated_ = false;
    while (HandleMessage()) {
    }
    running_ = false;
    return exitCode_;
}

bool TApplication::TakeMessage(MSG& message) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message == WM_QUIT) {
        terminated_ = true;
        exitCode_ = static_cast<int>(message.wParam);
        PostQuitMessage(exitCode_);  // so that every enclosing loop ends too
    }
    return true;
}

bool TApplication::HandleMessage() {
    MSG message;
    if (TakeMessage(message)) {
        if (terminated_) return false;
        ProcessMessage(message);
        return true;
    }
    Idle();
    WaitMessage();
    return true;
}

void TApplication::ProcessMessages() {
    MSG message;
    while (!terminated_ && TakeMessage(message))
        if (!terminated_) ProcessMessage(message);
}

void TApplication::ProcessMessage(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (TForm* form = TForm::FromHandle(root)) {
        // Short cuts work only while the main window takes input (no modal dialog is open).
        if (form == mainForm_ && form->Accelerators() && IsWindowEnabled(root) &&
            TranslateAcceleratorA(root, form->Accelerators(), &message))
            return;
        if (form->PreTranslateMessage(message)) return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void TApplication::Idle() {
    POINT cursor;
    if (GetCursorPos(&cursor)) UpdateHintAt(cursor);
}

void TApplication::UpdateHintAt(POINT screen) {
    std::string hint;
    HWND window = WindowFromPoint(screen);
    if (window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        if (const TForm* form = TForm::FromHandle(GetAncestor(window, GA_ROOT))) hint = form->HintAt(window, screen);
    }
    SetHint(GetLongHint(hint));
}

void TApplication::ShowException(const std::exception& error) {
    HWND owner = GetActiveWindow();
    if (!owner) owner = MainWindow();
    MessageBoxA(owner, ErrorBoxText(error.what()).c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::HandleException() {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowException(Exception("Unknown error"));
    }
}

bool TApplication::ShowHelp(THelpPage page) { return help_.Show(MainWindow(), page); }

void TApplication::Activated() {
    if (OnActivate) OnActivate();
}

void TApplication::MainFormDestroyed() {
    help_.Close(MainWindow());
    SetMainForm(nullptr);
    if (running_) PostQuitMessage(0);
}

std::string FileBesideProgram(const std::string& name) {
    std::string path(MAX_PATH, '\0');
    DWORD length = 0;
    // The path may be longer than MAX_PATH: grow until it fits.
    while ((length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()))) >= path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    return path.substr(0, FindLastOf(path, "\\/") + 1) + name;
}
