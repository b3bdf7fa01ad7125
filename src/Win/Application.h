// TApplication: the program's one application object. It holds the title and help viewers, the
// current hint with its event, the activation event, runs the message loops (accelerators,
// dialog keys, idle hint processing) and shows the error box for exceptions.
#pragma once

#include "Win/Help.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

class TForm;

// A hint may hold "short|long": tooltips show the short part, the status bar the long part;
// a hint without "|" is both.
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

class TApplication {
public:
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    // The help viewers and their files.
    THelpViewers& Help() { return help_; }

    // The main form: its activation messages fire OnActivate, its accelerators are translated,
    // and when Run is looping its destruction ends the loop. Null clears it and both events.
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form);
    HWND MainWindow() const;

    // The current hint (long part). SetHint fires OnHint only when the text changes.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    std::function<void()> OnHint;
    // Fired every time the application becomes the active application.
    std::function<void()> OnActivate;

    // Runs the message loop until WM_QUIT; returns its exit code.
    int Run();
    // One step of a loop: handles one waiting message, or when none waits runs Idle and waits
    // for the next. False once WM_QUIT has been taken (Terminated() is then true).
    bool HandleMessage();
    // Handles every waiting message without waiting and without idle processing.
    void ProcessMessages();
    bool Terminated() const { return terminated_; }

    // Idle processing: the hint of the control under the mouse becomes the application's hint.
    void Idle();
    // The same for a given screen point: the hint of the window there (or of its nearest
    // parent that has one) when it belongs to one of this thread's forms, else "".
    void UpdateHintAt(POINT screen);

    // The error box: caption Title(), error icon, OK, the message with ErrorBoxText's period.
    void ShowException(const std::exception& error);
    // For catch blocks: shows the exception being handled (any type) in the error box.
    void HandleException();

    // Shows `page` of the help with the main window as owner; true when the viewer did.
    bool ShowHelp(THelpPage page);

    // Called by the main form: the application became active / the main window is going away.
    void Activated();
    void MainFormDestroyed();

private:
    bool TakeMessage(MSG& message);  // PeekMessage; a WM_QUIT sets Terminated and is posted again
    void ProcessMessage(MSG& message);

    std::string title_;
    THelpViewers help_;
    std::string hint_;
    TForm* mainForm_ = nullptr;
    bool running_ = false;
    bool terminated_ = false;
    int exitCode_ = 0;
};

// The one application object.
TApplication& Application();

// The full path of `name` in the folder of the running program's executable.
std::string FileBesideProgram(const std::string& name);
