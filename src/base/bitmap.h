#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace quib {

// Byte count of a width x height picture of bytesPerPixel, or nothing when a side is negative
// or the product does not fit (sizes come from files and must never drive a wrapped allocation).
std::optional<size_t> pictureBytes(int64_t width, int64_t height, int bytesPerPixel);

// Top-down pictures without row padding. Bitmap24: blue, green, red. Bitmap32: blue, green, red,
// alpha (the same bytes as a little-endian ARGB32 word).
template <int BytesPerPixel>
struct BitmapOf {
    static constexpr int kBytesPerPixel = BytesPerPixel;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;

    BitmapOf() = default;
    BitmapOf(int32_t w, int32_t h) : width(w), height(h), pixels(size_t(w) * size_t(h) * BytesPerPixel) {}

    bool isNull() const { return pixels.empty(); }
    size_t stride() const { return size_t(width) * BytesPerPixel; }
    uint8_t* pixel(int x, int y) { return pixels.data() + size_t(y) * stride() + size_t(x) * BytesPerPixel; }
    const uint8_t* pixel(int x, int y) const {
        return pixels.data() + size_t(y) * stride() + size_t(x) * BytesPerPixel;
    }
    void clear() {
        width = height = 0;
        pixels.clear();
        pixels.shrink_to_fit();
    }
    friend bool operator==(const BitmapOf&, const BitmapOf&) = default;
};

using Bitmap24 = BitmapOf<3>;
using Bitmap32 = BitmapOf<4>;

// The bytes of a fully transparent cursor pixel.
inline constexpr uint8_t kTransparentCursorPixel[4] = {1, 1, 1, 0};

}  // namespace quib
