// Bitmap loading with key-colour replacement.
#include "Win/Bitmaps.h"

#include "Win/Gdi.h"

#include <cstdint>

TBitmapHandle LoadBitmapResource(int resourceId) {
    return TBitmapHandle(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

TBitmapHandle LoadBitmapOnBackground(int resourceId, COLORREF keyColor, COLORREF background) {
    TBitmapHandle source = LoadBitmapResource(resourceId);
    if (!source) return {};
    BITMAP size{};
    GetObjectA(source.Get(), sizeof(size), &size);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = -size.bmHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TBitmapHandle result(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!result || !bits) return {};

    // Draw the source into the 32-bit copy whatever its own colour depth is.
    {
        TWindowDc screen(nullptr);
        TMemoryDc sourceDc(screen.Get()), targetDc(screen.Get());
        TSelection sourceSelection(sourceDc.Get(), source.Get());
        TSelection targetSelection(targetDc.Get(), result.Get());
        BitBlt(targetDc.Get(), 0, 0, size.bmWidth, size.bmHeight, sourceDc.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();

    // DIB pixels are 0x00RRGGBB, COLORREF is 0x00BBGGRR.
    const auto toPixel = [](COLORREF color) {
        return static_cast<std::uint32_t>(GetRValue(color)) << 16 | static_cast<std::uint32_t>(GetGValue(color)) << 8 |
               GetBValue(color);
    };
    const std::uint32_t key = toPixel(keyColor), replacement = toPixel(background);
    auto* pixel = static_cast<std::uint32_t*>(bits);
    for (long count = static_cast<long>(size.bmWidth) * size.bmHeight; count > 0; --count, ++pixel)
        if ((*pixel & 0x00FFFFFF) == key) *pixel = replacement;
    return result;
}
