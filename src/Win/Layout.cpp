// Control creation from layout tables.
#include "Win/Layout.h"

#include "Base/Exception.h"
#include "Win/Gdi.h"
#include "Win/Widgets.h"

SIZE MeasureCaption(const char* caption, HFONT font, int width) {
    TWindowDc screen(nullptr);
    TSelection selection(screen.Get(), font);
    RECT bounds{0, 0, width, 0};
    const UINT format = DT_CALCRECT | (width ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextA(screen.Get(), caption ? caption : "", -1, &bounds, format);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

std::vector<TCreatedControl> CreateControls(HWND form, std::span<const TControlSpec> layout, HFONT font) {
    RegisterWidgetClasses();
    std::vector<TCreatedControl> created;
    for (const TControlSpec& controlSpec : layout) {
        HWND parent = form;
        if (controlSpec.parent) {
            parent = nullptr;
            for (const TCreatedControl& control : created)
                if (control.name == controlSpec.parent) parent = control.handle;
            if (!parent) throw Exception(FormatMessageText("No panel %s above it in the layout", controlSpec.parent));
        }
        int width = controlSpec.width, height = controlSpec.height;
        if (width == 0 || height == 0) {
            const SIZE fitted = MeasureCaption(controlSpec.caption, font, width);
            if (width == 0) width = fitted.cx;
            if (height == 0) height = fitted.cy;
        }
        HWND control = CreateWindowExA(controlSpec.exStyle, controlSpec.className, controlSpec.caption ? controlSpec.caption : "",
                                       WS_CHILD | WS_VISIBLE | controlSpec.style, controlSpec.left, controlSpec.top, width, height, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlSpec.id)),
                                       GetModuleHandleA(nullptr), nullptr);
        if (!control) throw Exception(FormatMessageText("Cannot create the control %s", controlSpec.name));
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        created.push_back({controlSpec.name, control});
    }
    return created;
}
