#include "pixel_layout.h"

#include <bit>
#include <cstring>

namespace quib {

namespace {

bool isContiguousMask(uint32_t mask) {
    if (mask == 0)
        return false;
    const uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

// Scales a channel of any width to 0..255.
uint8_t channel(uint32_t pixel, uint32_t mask) {
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8)
        return uint8_t(value >> (bits - 8));
    const uint32_t max = (1u << bits) - 1;
    return uint8_t((value * 255 + max / 2) / max);
}

uint32_t readPixel(const uint8_t* p, int bytes, bool bigEndian) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
        value |= uint32_t(p[i]) << shift;
    }
    return value;
}

}  // namespace

bool PixelLayout::isSupported() const {
    if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return false;
    if (scanlinePad <= 0 || scanlinePad % 8 != 0)
        return false;
    return isContiguousMask(redMask) && isContiguousMask(greenMask) && isContiguousMask(blueMask);
}

size_t PixelLayout::rowBytes(int width) const {
    const size_t bits = size_t(width) * size_t(bitsPerPixel);
    const size_t pad = size_t(scanlinePad);
    return (bits + pad - 1) / pad * pad / 8;
}

void packScreenRows(const uint8_t* source, size_t sourceStride, int width, int height,
                    const PixelLayout& layout, Bitmap24& out, int x, int y) {
    const bool blueGreenRedX = layout.bitsPerPixel == 32 && !layout.bigEndian && layout.redMask == 0xFF0000 &&
                               layout.greenMask == 0x00FF00 && layout.blueMask == 0x0000FF;
    const int bytesPerPixel = layout.bitsPerPixel / 8;
    for (int row = 0; row < height; ++row) {
        const uint8_t* in = source + size_t(row) * sourceStride;
        uint8_t* dst = out.pixel(x, y + row);
        if (blueGreenRedX) {
            // The common case: the bytes are already blue, green, red and one spare.
            for (int col = 0; col < width; ++col, in += 4, dst += 3)
                std::memcpy(dst, in, 3);
            continue;
        }
        for (int col = 0; col < width; ++col, in += bytesPerPixel, dst += 3) {
            const uint32_t pixel = readPixel(in, bytesPerPixel, layout.bigEndian);
            dst[0] = channel(pixel, layout.blueMask);
            dst[1] = channel(pixel, layout.greenMask);
            dst[2] = channel(pixel, layout.redMask);
        }
    }
}

}  // namespace quib
