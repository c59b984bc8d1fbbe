#include "movie_pixels.h"

#include <algorithm>
#include <cstring>

namespace quib {

Rect changedRect(const uint8_t* current, const uint8_t* previous, Size size, size_t stride, int pixelBytes) {
    const int w = size.cx, h = size.cy;
    const size_t px = size_t(pixelBytes);
    int left = w, top = h, right = -1, bottom = -1;
    for (int y = 0; y < h; ++y) {
        const uint8_t* c = current + size_t(y) * stride;
        const uint8_t* p = previous + size_t(y) * stride;
        if (std::memcmp(c, p, size_t(w) * px) == 0)
            continue;
        int first = 0, last = w - 1;
        while (std::memcmp(c + size_t(first) * px, p + size_t(first) * px, px) == 0)
            ++first;
        while (std::memcmp(c + size_t(last) * px, p + size_t(last) * px, px) == 0)
            --last;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    if (right < 0)
        return Rect{};
    return Rect{left, top, right + 1, bottom + 1};
}

void convertImageForMovie(const Bitmap24& source, std::vector<uint8_t>& out, const ColorTable* palette,
                          NearestColourMap* nearest) {
    out.resize(OutputBytesForMovie(source.width, source.height, palette != nullptr));
    ConvertImageForMovie(source.pixels.data(), source.width, source.height, out.data(),
                         palette ? palette->entries.data() : nullptr, palette ? palette->count : 0,
                         palette != nullptr, nearest);
}

ColorTable compactPalette(uint8_t* pixels, int stride, int width, int height, const ColorTable& in) {
    ColorTable out;
    out.count = CompactPalette(pixels, stride, in.entries.data(), width, height, out.entries.data());
    return out;
}

void mapToPalette(const uint8_t* pixels, int width, int height, std::vector<uint8_t>& out,
                  const ColorTable& table, uint32_t marker) {
    out.assign(indexedRowBytes(width) * size_t(height), 0);
    MapToPalette(pixels, width, height, out.data(), table.entries.data(), table.count, marker);
}

}  // namespace quib
