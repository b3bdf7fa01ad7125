// Decodes JPEG pictures (the About box's logo) into 24-bit top-down DIB sections with libjpeg.
#pragma once

#include <windows.h>

#include <cstddef>

#include "Base/Handles.h"

// Largest width or height accepted; bigger pictures are refused before any pixel memory is taken.
constexpr int kMaxJpegSide = 4096;

// Decodes a whole JPEG picture held in memory into a 24-bit top-down DIB section of its size;
// an empty handle on corrupt, truncated, oversized or unsupported data.
TBitmapHandle DecodeJpegBitmap(const void* data, size_t size);

// Decodes the RCDATA resource `id` of `module` like DecodeJpegBitmap; an empty handle when missing.
TBitmapHandle LoadJpegResource(HMODULE module, int id);
