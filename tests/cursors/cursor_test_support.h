#pragma once

#include <cstdint>

#include "base/cursor_picture.h"

namespace quib::test {

// A width x height cursor, every pixel opaque of one colour (blue, green, red).
inline CursorPicture solidCursor(int width, int height, uint8_t b, uint8_t g, uint8_t r, Point hotSpot = {}) {
    CursorPicture cursor;
    cursor.image = Bitmap32(width, height);
    cursor.hotSpot = hotSpot;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = cursor.image.pixel(x, y);
            p[0] = b, p[1] = g, p[2] = r, p[3] = 255;
        }
    }
    return cursor;
}

inline void makeTransparent(CursorPicture& cursor, int x, int y) {
    uint8_t* p = cursor.image.pixel(x, y);
    p[0] = p[1] = p[2] = 1, p[3] = 0;
}

}  // namespace quib::test
