// Panels, bevels and flat buttons.
#include "Win/Widgets.h"

#include "Win/Gdi.h"

#include <memory>

namespace {

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrA(panel, GWL_EXSTYLE, GetWindowLongPtrA(panel, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // The parent's window procedure catches what its handlers throw.
        return SendMessageA(GetParent(panel), message, wParam, lParam);
    case WM_PAINT: {
        TPaintDc paint(panel);
        RECT bounds;
        GetClientRect(panel, &bounds);
        DrawEdge(paint.Get(), &bounds, EDGE_ETCHED, BF_RECT);
        return 0;
    }
    }
    return DefWindowProcA(panel, message, wParam, lParam);
}

LRESULT CALLBACK BevelProc(HWND bevel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_PAINT: {
        TPaintDc paint(bevel);
        RECT bounds;
        GetClientRect(bevel, &bounds);
        bounds.top = bounds.bottom - 2;
        DrawEdge(paint.Get(), &bounds, EDGE_ETCHED, BF_BOTTOM);
        return 0;
    }
    }
    return DefWindowProcA(bevel, message, wParam, lParam);
}

struct TFlatButtonState {
    HBITMAP glyph = nullptr;
    int margin = -1;
    HFONT font = nullptr;
    bool hot = false;      // the mouse is over the button
    bool pressed = false;  // the left button went down on it and the mouse is still over it
    bool tracking = false; // the mouse is captured after a press
};

TFlatButtonState* StateOf(HWND button) {
    return reinterpret_cast<TFlatButtonState*>(GetWindowLongPtrA(button, GWLP_USERDATA));
}

void NotifyClick(HWND button) {
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void PaintFlatButton(HWND button, const TFlatButtonState& state) {
    TPaintDc paint(button);
    HDC dc = paint.Get();
    RECT bounds;
    GetClientRect(button, &bounds);
    FillRect(dc, &bounds, GetSysColorBrush(COLOR_BTNFACE));
    if (state.pressed)
        DrawEdge(dc, &bounds, BDR_SUNKENOUTER, BF_RECT);
    else if (state.hot)
        DrawEdge(dc, &bounds, BDR_RAISEDINNER, BF_RECT);
    const int shift = state.pressed ? 1 : 0;

    if (state.glyph) {
        BITMAP size{};
        GetObjectA(state.glyph, sizeof(size), &size);
        const int left = state.margin >= 0 ? state.margin : (bounds.right - size.bmWidth) / 2;
        const int top = (bounds.bottom - size.bmHeight) / 2;
        TMemoryDc glyphDc(dc);
        TSelection selection(glyphDc.Get(), state.glyph);
        BitBlt(dc, left + shift, top + shift, size.bmWidth, size.bmHeight, glyphDc.Get(), 0, 0, SRCCOPY);
        return;
    }
    char caption[256] = "";
    GetWindowTextA(button, caption, sizeof(caption));
    TSelection font(dc, state.font ? static_cast<HGDIOBJ>(state.font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(button) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    OffsetRect(&bounds, shift, shift);
    DrawTextA(dc, caption, -1, &bounds, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

bool Contains(HWND button, LPARAM point) {
    RECT bounds;
    GetClientRect(button, &bounds);
    const POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    return PtInRect(&bounds, at);
}

void SetHot(HWND button, TFlatButtonState& state, bool hot) {
    if (state.hot == hot) return;
    state.hot = hot;
    if (hot) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
    }
    InvalidateRect(button, nullptr, TRUE);
}

LRESULT CALLBACK FlatButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrA(button, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(std::make_unique<TFlatButtonState>().release()));
        return DefWindowProcA(button, message, wParam, lParam);
    }
    TFlatButtonState* state = StateOf(button);
    if (!state) return DefWindowProcA(button, message, wParam, lParam);
    switch (message) {
    case WM_NCDESTROY: {
        SetWindowLongPtrA(button, GWLP_USERDATA, 0);
        const std::unique_ptr<TFlatButtonState> owned(state);
        return 0;
    }
    case WM_PAINT:
        PaintFlatButton(button, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (lParam) InvalidateRect(button, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcA(button, message, wParam, lParam);
        InvalidateRect(button, nullptr, TRUE);
        return result;
    }
    case WM_ENABLE:
        InvalidateRect(button, nullptr, TRUE);
        return 0;
    case WM_MOUSEMOVE:
        SetHot(button, *state, Contains(button, lParam));
        if (state->tracking && state->pressed != state->hot) {
            state->pressed = state->hot;
            InvalidateRect(button, nullptr, TRUE);
        }
        return 0;
    case WM_MOUSELEAVE:
        if (!state->tracking) SetHot(button, *state, false);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        state->tracking = state->pressed = true;
        SetCapture(button);
        InvalidateRect(button, nullptr, TRUE);
        return 0;
    case WM_LBUTTONUP: {
        const bool click = state->tracking && Contains(button, lParam);
        state->tracking = state->pressed = false;
        ReleaseCapture();
        SetHot(button, *state, Contains(button, lParam));
        InvalidateRect(button, nullptr, TRUE);
        if (click) NotifyClick(button);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (state->tracking) {
            state->tracking = state->pressed = false;
            InvalidateRect(button, nullptr, TRUE);
        }
        return 0;
    case BM_CLICK:
        NotifyClick(button);
        return 0;
    }
    return DefWindowProcA(button, message, wParam, lParam);
}

}  // namespace

void RegisterClassOnce(const char* name, WNDPROC procedure, UINT style) {
    WNDCLASSA windowClass{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &windowClass)) return;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

void RegisterWidgetClasses() {
    RegisterClassOnce(kPanelClass, PanelProc, 0);
    RegisterClassOnce(kBevelClass, BevelProc, 0);
    RegisterClassOnce(kFlatButtonClass, FlatButtonProc, CS_DBLCLKS);
}

void SetFlatButtonGlyph(HWND button, HBITMAP glyph, int margin) {
    if (TFlatButtonState* state = StateOf(button)) {
        state->glyph = glyph;
        state->margin = margin;
        InvalidateRect(button, nullptr, TRUE);
    }
}

bool IsFlatButtonHot(HWND button) {
    const TFlatButtonState* state = StateOf(button);
    return state && state->hot;
}
