#pragma once

#include <cstddef>
#include <vector>

#include "color.h"

namespace quib::player {

// A picture in memory, top-down rows without padding.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;

    Picture() = default;
    Picture(int w, int h, Pixel fill = 0) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

    bool isNull() const { return width <= 0 || height <= 0; }
    Pixel pixel(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    Pixel* row(int y) { return pixels.data() + size_t(y) * size_t(width); }
    const Pixel* row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
};

}  // namespace quib::player
