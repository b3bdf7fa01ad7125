// Layouts as data: a form lists its controls in a static table of named components; one call
// creates them all. Code and tests find a control by its name, never by creating it by hand.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

struct TControlSpec {
    const char* name;
    const char* parent;     // name of an earlier control (a panel) that holds it; nullptr: the form
    const char* className;  // a system class, or kPanelClass / kBevelClass / kFlatButtonClass
    int id;                 // control id (WM_COMMAND / WM_NOTIFY); 0 when nothing is bound to it
    int left, top;          // pixels, in the parent's client area
    int width, height;      // 0: fitted to the caption in the form's font (labels)
    DWORD style;            // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle;          // WS_EX_TRANSPARENT on a label: drawn without a background
    const char* caption;
    const char* hint;       // "" or nullptr: none; "short|long" splits tooltip and status text
};

struct TCreatedControl {
    std::string name;
    HWND handle;
};

// Creates the controls of `layout` in table order, which is also their z-order and tab order
// (a label's accelerator focuses the next tab stop after it), and gives them `font`.
// Throws Exception when a control cannot be created.
std::vector<TCreatedControl> CreateControls(HWND form, std::span<const TControlSpec> layout, HFONT font);

// The size of `caption` drawn in `font` (single line; or wrapped within `width` when it is not 0).
SIZE MeasureCaption(const char* caption, HFONT font, int width);
