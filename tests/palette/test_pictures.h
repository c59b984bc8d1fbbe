#pragma once

#include <cstdint>
#include <initializer_list>
#include <tuple>

#include "base/bitmap.h"

namespace quib::test {

using Rgb = std::tuple<uint8_t, uint8_t, uint8_t>;

// A one-row picture holding the given colours from left to right.
inline Bitmap24 rowPicture(std::initializer_list<Rgb> colours) {
    Bitmap24 picture(int32_t(colours.size()), 1);
    int x = 0;
    for (const auto& [r, g, b] : colours) {
        uint8_t* p = picture.pixel(x++, 0);
        p[0] = b, p[1] = g, p[2] = r;
    }
    return picture;
}

inline Bitmap24 filledPicture(int width, int height, Rgb colour) {
    Bitmap24 picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = std::get<2>(colour), p[1] = std::get<1>(colour), p[2] = std::get<0>(colour);
        }
    return picture;
}

}  // namespace quib::test
