#pragma once

// The known screen the grab tests read, through X11 or from the test portal.

#include <cstdint>

#include "base/bitmap.h"
#include "base/geometry.h"

namespace quib::testing {

// Blue, green, red of the screen at (x, y): every pixel differs from its neighbours.
inline void testScreenColour(int x, int y, uint8_t bgr[3]) {
    bgr[0] = uint8_t(x);
    bgr[1] = uint8_t(y);
    bgr[2] = uint8_t(x * 7 + y * 3 + 11);
}

// The same as 0xRRGGBB, for painting it.
inline uint32_t testScreenRgb(int x, int y) {
    uint8_t bgr[3];
    testScreenColour(x, y, bgr);
    return uint32_t(bgr[2]) << 16 | uint32_t(bgr[1]) << 8 | bgr[0];
}

// The pixels a grab of region should give from that screen of the given size: black outside it.
inline Bitmap24 expectedGrab(const Rect& region, Size screen) {
    Bitmap24 expected(region.width(), region.height());
    for (int y = 0; y < region.height(); ++y) {
        for (int x = 0; x < region.width(); ++x) {
            const int sx = region.left + x, sy = region.top + y;
            if (sx >= 0 && sy >= 0 && sx < screen.cx && sy < screen.cy)
                testScreenColour(sx, sy, expected.pixel(x, y));
        }
    }
    return expected;
}

}  // namespace quib::testing
