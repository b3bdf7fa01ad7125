// The pictures linked into the executable: sizes, colour depth and transparency key as the code loads them.
#include <windows.h>

#include <gtest/gtest.h>

#include "Base/Handles.h"
#include "resource.h"

namespace {

constexpr COLORREF kImageListKey = RGB(255, 0, 255);
constexpr COLORREF kMenuFace = RGB(192, 192, 192);

struct TBitmapCase {
    const char* label;
    int id;
    int width;
    int height;
    COLORREF background;  // colour of the top-left pixel, which the artwork leaves empty
};

const TBitmapCase kBitmapCases[] = {
    {"toolbar", IDB_SBAR_ENABLED, 48 * 7, 48, kImageListKey},
    {"disabled toolbar", IDB_SBAR_DISABLED, 48 * 4, 48, kImageListKey},
    {"menu import", IDB_MENU_IMPORT, 16, 16, kMenuFace},
    {"menu export", IDB_MENU_EXPORT, 16, 16, kMenuFace},
    {"menu exit", IDB_MENU_EXIT, 16, 15, kMenuFace},
    {"menu uninstall", IDB_MENU_UNINSTALL, 16, 16, kMenuFace},
    {"menu remove", IDB_MENU_REMOVE, 16, 16, kMenuFace},
    {"menu programs", IDB_MENU_PROGRAMS, 16, 16, kMenuFace},
    {"menu help topics", IDB_MENU_HELPTOPICS, 16, 16, kMenuFace},
    {"programs button", IDB_PROGBUTTON, 20, 20, kMenuFace},
};

// Colour of the top-left pixel of a 24-bit DIB section.
COLORREF TopLeftPixel(const DIBSECTION& dib) {
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    const auto* row = static_cast<const BYTE*>(dib.dsBm.bmBits) +
                      (bottomUp ? dib.dsBm.bmHeight - 1 : 0) * dib.dsBm.bmWidthBytes;
    return RGB(row[2], row[1], row[0]);
}

TEST(ArtResourceTest, BitmapsLoadAtTheirSizeAsTrueColourWithTheirBackground) {
    for (const TBitmapCase& bitmapCase : kBitmapCases) {
        SCOPED_TRACE(bitmapCase.label);
        TBitmapHandle bitmap(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapCase.id),
                                                             IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_TRUE(bitmap);
        DIBSECTION dib{};
        ASSERT_EQ(static_cast<int>(sizeof(dib)), GetObjectA(bitmap.Get(), sizeof(dib), &dib));
        EXPECT_EQ(bitmapCase.width, dib.dsBm.bmWidth);
        EXPECT_EQ(bitmapCase.height, dib.dsBm.bmHeight);
        ASSERT_EQ(24, dib.dsBm.bmBitsPixel);
        EXPECT_EQ(bitmapCase.background, TopLeftPixel(dib));
    }
}

TEST(ArtResourceTest, IconLoadsAtItsStoredSizeOf32) {
    TIconHandle icon(static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TWK), IMAGE_ICON, 0, 0, 0)));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
    TBitmapHandle colour(info.hbmColor);
    TBitmapHandle mask(info.hbmMask);
    BITMAP bitmap{};
    ASSERT_NE(0, GetObjectA(colour.Get(), sizeof(bitmap), &bitmap));
    EXPECT_EQ(32, bitmap.bmWidth);
    EXPECT_EQ(32, bitmap.bmHeight);
}

}  // namespace
