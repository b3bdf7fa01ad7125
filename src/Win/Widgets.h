// The framework's own control classes for layouts: a bevelled panel that holds child controls,
// a bevel that draws only its bottom line, and a flat button (frame only under the mouse).
#pragma once

#include <windows.h>

// Raised inner and lowered outer bevel. Forwards its children's WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM and WM_CTLCOLOR* to its parent, so the form handles them as its own; keyboard
// navigation enters it (WS_EX_CONTROLPARENT is added on creation).
inline constexpr const char* kPanelClass = "TwkPanel";
// A lowered line along the bottom edge of the control's rectangle; transparent to the mouse.
inline constexpr const char* kBevelClass = "TwkBevel";
// A button that shows its frame only while the mouse is over it (sunken while pressed) and
// never takes the focus. Draws its glyph (see SetFlatButtonGlyph) or else its caption, centred.
// A click, or BM_CLICK, sends WM_COMMAND BN_CLICKED to its parent.
inline constexpr const char* kFlatButtonClass = "TwkFlatButton";

// Registers a window class of this module (button-face background, arrow cursor) unless it
// already exists.
void RegisterClassOnce(const char* name, WNDPROC procedure, UINT style);

// Registers the three classes once per process.
void RegisterWidgetClasses();

// Sets a flat button's glyph, drawn `margin` pixels from the left edge and centred vertically
// (margin -1: centred both ways). The caller keeps the bitmap alive while the button lives.
void SetFlatButtonGlyph(HWND button, HBITMAP glyph, int margin);

// True while the mouse is over the flat button (its frame is shown).
bool IsFlatButtonHot(HWND button);
