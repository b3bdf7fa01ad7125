// JPEG decoding over libjpeg's decompressor: errors and warnings come back by longjmp into small
// guarded steps that hold no C++ objects, so a bad picture fails cleanly and never ends the process.
#include "Win/JpegImage.h"

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <utility>

#include <jpeglib.h>

namespace {

// libjpeg reaches us through `pub`, which must come first.
struct TJpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// Plain data only: it is what the guarded steps see across a longjmp.
struct TJpegState {
    jpeg_decompress_struct info;
    TJpegErrorManager errors;
};

void JumpOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpegErrorManager*>(info->err)->jump, 1);
}

// A warning (msg_level -1) means corrupt or truncated data that libjpeg would patch over with grey
// rows. The pictures decoded here ship inside the program and must be whole, so a warning fails the
// decode like an error. Trace messages are dropped: there is no console to write them to.
void JumpOnWarning(j_common_ptr info, int msgLevel) {
    if (msgLevel < 0) JumpOnError(info);
}

void IgnoreMessage(j_common_ptr) {}

// Owns one decompressor; jpeg_destroy_decompress is safe on a zeroed or half-built one.
class TJpegDecompressor {
public:
    TJpegDecompressor() noexcept {
        state_.info.err = jpeg_std_error(&state_.errors.pub);
        state_.errors.pub.error_exit = JumpOnError;
        state_.errors.pub.emit_message = JumpOnWarning;
        state_.errors.pub.output_message = IgnoreMessage;
    }
    ~TJpegDecompressor() { jpeg_destroy_decompress(&state_.info); }
    TJpegDecompressor(const TJpegDecompressor&) = delete;
    TJpegDecompressor& operator=(const TJpegDecompressor&) = delete;

    TJpegState& State() noexcept { return state_; }

private:
    TJpegState state_{};
};

// Runs one libjpeg step; false when the step fails or libjpeg reports an error or a warning.
// Only trivially destructible objects may live in here and in `step`, which the longjmp skips.
template <class Step>
bool Guarded(TJpegState& state, Step step) {
    if (setjmp(state.errors.jump) != 0) return false;
    return step();
}

bool StartDecompress(TJpegState& state, const unsigned char* data, unsigned long size) {
    return Guarded(state, [&state, data, size] {
        jpeg_create_decompress(&state.info);
        jpeg_mem_src(&state.info, data, size);
        if (jpeg_read_header(&state.info, TRUE) != JPEG_HEADER_OK) return false;
        if (state.info.image_width == 0 || state.info.image_height == 0 ||
            state.info.image_width > kMaxJpegSide || state.info.image_height > kMaxJpegSide)
            return false;
        state.info.out_color_space = JCS_RGB;  // grey pictures come out as RGB too
        return jpeg_start_decompress(&state.info) && state.info.output_components == 3;
    });
}

// Decodes every row straight into the DIB's rows of `stride` bytes, then finishes the picture.
bool ReadRows(TJpegState& state, unsigned char* bits, size_t stride) {
    return Guarded(state, [&state, bits, stride] {
        while (state.info.output_scanline < state.info.output_height) {
            JSAMPROW row = bits + state.info.output_scanline * stride;
            if (jpeg_read_scanlines(&state.info, &row, 1) != 1) return false;
        }
        return static_cast<bool>(jpeg_finish_decompress(&state.info));
    });
}

// DIB rows are blue, green, red.
void SwapRedBlue(unsigned char* bits, size_t stride, int width, int height) {
    for (int y = 0; y < height; ++y) {
        unsigned char* pixel = bits + y * stride;
        for (int x = 0; x < width; ++x, pixel += 3) std::swap(pixel[0], pixel[2]);
    }
}

}  // namespace

TBitmapHandle DecodeJpegBitmap(const void* data, size_t size) {
    if (data == nullptr || size == 0 || size > ULONG_MAX) return {};

    TJpegDecompressor decompressor;
    TJpegState& state = decompressor.State();
    if (!StartDecompress(state, static_cast<const unsigned char*>(data), static_cast<unsigned long>(size)))
        return {};

    const int pictureWidth = static_cast<int>(state.info.output_width);
    const int pictureHeight = static_cast<int>(state.info.output_height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pictureWidth;
    info.bmiHeader.biHeight = -pictureHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TBitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) return {};

    const size_t stride = (static_cast<size_t>(pictureWidth) * 3 + 3) & ~size_t{3};
    auto* pixels = static_cast<unsigned char*>(bits);
    if (!ReadRows(state, pixels, stride)) return {};
    SwapRedBlue(pixels, stride, pictureWidth, pictureHeight);
    return bitmap;
}

TBitmapHandle LoadJpegResource(HMODULE module, int id) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (resource == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data == nullptr) return {};
    return DecodeJpegBitmap(data, SizeofResource(module, resource));
}
