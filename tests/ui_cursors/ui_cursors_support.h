#pragma once

#include <cstdint>

#include "base/cursor_picture.h"

namespace quib::test {

// A width x height cursor of one opaque colour (red, green, blue), hot spot in a corner.
inline CursorPicture plainCursor(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    CursorPicture cursor;
    cursor.image = Bitmap32(width, height);
    for (size_t i = 0; i < cursor.image.pixels.size(); i += 4) {
        cursor.image.pixels[i] = b, cursor.image.pixels[i + 1] = g, cursor.image.pixels[i + 2] = r;
        cursor.image.pixels[i + 3] = 255;
    }
    return cursor;
}

}  // namespace quib::test
