#pragma once

#include <cstddef>
#include <cstdint>

#include "base/bitmap.h"

namespace quib {

// How the server lays out one row of a screen image (Z format).
struct PixelLayout {
    int bitsPerPixel = 32;  // 16, 24 or 32
    int scanlinePad = 32;   // rows are padded to a multiple of this many bits
    uint32_t redMask = 0xFF0000;
    uint32_t greenMask = 0x00FF00;
    uint32_t blueMask = 0x0000FF;
    bool bigEndian = false;

    bool isSupported() const;
    // Bytes of one row of width pixels, padding included.
    size_t rowBytes(int width) const;
};

// Copies a width x height server image with rows of sourceStride bytes into out at (x, y),
// as blue, green, red; out must be large enough.
void packScreenRows(const uint8_t* source, size_t sourceStride, int width, int height,
                    const PixelLayout& layout, Bitmap24& out, int x, int y);

}  // namespace quib
