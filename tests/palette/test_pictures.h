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

}  // namespace quib::test
