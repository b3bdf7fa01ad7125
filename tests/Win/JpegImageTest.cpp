// Tests of JpegImage: the logo resource, pictures encoded here with known colours, and damaged data.
#include "Win/JpegImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include <jpeglib.h>

#include "ResourceBytes.h"
#include "resource.h"

namespace {

struct TRgb {
    int red, green, blue;
};

using TBytes = std::vector<unsigned char>;

TBytes LogoBytes() { return ResourceBytes(IDR_LOGO_JPEG); }

// Encodes a picture with libjpeg's compressor: `components` 3 (RGB) or 1 (grey).
TBytes EncodeJpeg(int width, int height, int components, const std::function<TRgb(int, int)>& pixel) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    TBytes row(static_cast<size_t>(width) * components);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            const TRgb rgb = pixel(x, static_cast<int>(info.next_scanline));
            const int channels[3] = {rgb.red, rgb.green, rgb.blue};
            for (int c = 0; c < components; ++c) row[x * components + c] = static_cast<unsigned char>(channels[c]);
        }
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&info, &rows, 1);
    }
    jpeg_finish_compress(&info);
    TBytes result(buffer, buffer + size);
    std::free(buffer);
    jpeg_destroy_compress(&info);
    return result;
}

SIZE BitmapSize(const TBitmapHandle& bitmap) {
    BITMAP info{};
    GetObjectA(bitmap.Get(), sizeof(info), &info);
    return {info.bmWidth, info.bmHeight};
}

// Reads one pixel as GDI draws it, so a flipped picture or swapped red and blue show.
TRgb PixelAt(const TBitmapHandle& bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap.Get());
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

void ExpectNear(TRgb actual, TRgb expected, const char* where) {
    SCOPED_TRACE(where);
    EXPECT_NEAR(actual.red, expected.red, 16);
    EXPECT_NEAR(actual.green, expected.green, 16);
    EXPECT_NEAR(actual.blue, expected.blue, 16);
}

}  // namespace

TEST(JpegImageTest, LogoResourceIsABrownBanner) {
    TBitmapHandle logo = LoadJpegResource(GetModuleHandleA(nullptr), IDR_LOGO_JPEG);
    ASSERT_TRUE(logo);
    EXPECT_EQ(BitmapSize(logo).cx, 300);
    EXPECT_EQ(BitmapSize(logo).cy, 100);
    for (POINT at : {POINT{150, 95}, POINT{290, 95}, POINT{290, 5}}) {
        const TRgb pixel = PixelAt(logo, at.x, at.y);
        EXPECT_TRUE(pixel.red > pixel.green && pixel.green > pixel.blue)
            << "at " << at.x << "," << at.y << ": " << pixel.red << " " << pixel.green << " " << pixel.blue;
    }

    EXPECT_FALSE(LoadJpegResource(GetModuleHandleA(nullptr), IDR_LOGO_JPEG + 999));
}

TEST(JpegImageTest, DecodesColourAndGreyPicturesTopDownInDibOrder) {
    // Quadrants on 16-pixel block edges keep the colours exact enough; the odd width pads each row.
    const TBytes quadrants = EncodeJpeg(65, 48, 3, [](int x, int y) {
        if (y < 32) return x < 32 ? TRgb{255, 0, 0} : TRgb{0, 255, 0};
        return x < 32 ? TRgb{0, 0, 255} : TRgb{255, 255, 255};
    });
    TBitmapHandle colour = DecodeJpegBitmap(quadrants.data(), quadrants.size());
    ASSERT_TRUE(colour);
    EXPECT_EQ(BitmapSize(colour).cx, 65);
    EXPECT_EQ(BitmapSize(colour).cy, 48);
    ExpectNear(PixelAt(colour, 8, 8), {255, 0, 0}, "top left");
    ExpectNear(PixelAt(colour, 48, 8), {0, 255, 0}, "top right");
    ExpectNear(PixelAt(colour, 8, 40), {0, 0, 255}, "bottom left");
    ExpectNear(PixelAt(colour, 60, 44), {255, 255, 255}, "bottom right");

    const TBytes grey = EncodeJpeg(16, 16, 1, [](int, int) { return TRgb{200, 200, 200}; });
    TBitmapHandle fromGrey = DecodeJpegBitmap(grey.data(), grey.size());
    ASSERT_TRUE(fromGrey);
    ExpectNear(PixelAt(fromGrey, 7, 7), {200, 200, 200}, "grey");
}

TEST(JpegImageTest, DamagedOrOversizedDataGivesAnEmptyHandle) {
    const TBytes logo = LogoBytes();
    ASSERT_GT(logo.size(), 1000u);

    TBytes overwritten = logo;
    std::fill(overwritten.begin() + overwritten.size() / 3, overwritten.begin() + overwritten.size() * 2 / 3, 0xFF);
    const TBytes truncated(logo.begin(), logo.begin() + logo.size() / 2);
    TBytes noise(4096);
    std::mt19937 random(7);
    for (unsigned char& byte : noise) byte = static_cast<unsigned char>(random());
    const auto tooWide = EncodeJpeg(kMaxJpegSide + 1, 8, 1, [](int, int) { return TRgb{}; });

    const struct {
        const char* name;
        const TBytes& bytes;
    } cases[] = {{"middle overwritten", overwritten}, {"truncated", truncated}, {"noise", noise}, {"too wide", tooWide}};
    for (const auto& damaged : cases) {
        SCOPED_TRACE(damaged.name);
        EXPECT_FALSE(DecodeJpegBitmap(damaged.bytes.data(), damaged.bytes.size()));
    }
    EXPECT_FALSE(DecodeJpegBitmap(logo.data(), 0));
    EXPECT_FALSE(DecodeJpegBitmap(nullptr, 0));

    // Nothing is left broken: the widest accepted picture and the logo still decode.
    const auto widest = EncodeJpeg(kMaxJpegSide, 8, 1, [](int, int) { return TRgb{}; });
    EXPECT_TRUE(DecodeJpegBitmap(widest.data(), widest.size()));
    EXPECT_TRUE(DecodeJpegBitmap(logo.data(), logo.size()));
}
