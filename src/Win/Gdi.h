// Scoped device contexts and object selections, so that every DC taken is given back and every
// selected object is deselected on all paths.
#pragma once

#include <windows.h>

// GetDC (or with wholeWindow GetWindowDC, non-client area included) / ReleaseDC of a window
// (null: the screen).
class TWindowDc {
public:
    explicit TWindowDc(HWND window, bool wholeWindow = false)
        : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~TWindowDc() { if (dc_) ReleaseDC(window_, dc_); }
    TWindowDc(const TWindowDc&) = delete;
    TWindowDc& operator=(const TWindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// CreateCompatibleDC / DeleteDC.
class TMemoryDc {
public:
    explicit TMemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~TMemoryDc() { if (dc_) DeleteDC(dc_); }
    TMemoryDc(const TMemoryDc&) = delete;
    TMemoryDc& operator=(const TMemoryDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// SelectObject for the scope; the previous object is selected back at its end.
class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~TSelection() { SelectObject(dc_, previous_); }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint / EndPaint.
class TPaintDc {
public:
    explicit TPaintDc(HWND window) : window_(window) { BeginPaint(window, &paint_); }
    ~TPaintDc() { EndPaint(window_, &paint_); }
    TPaintDc(const TPaintDc&) = delete;
    TPaintDc& operator=(const TPaintDc&) = delete;
    HDC Get() const { return paint_.hdc; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};
