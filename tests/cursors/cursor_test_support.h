#pragma once

#include <cstdint>

#include "base/cursor_picture.h"
#include "support/bytes_and_pictures.h"

namespace quib::test {

// A width x height cursor, every pixel opaque of one colour (blue, green, red).
inline CursorPicture solidCursor(int width, int height, uint8_t b, uint8_t g, uint8_t r, Point hotSpot = {}) {
    return CursorPicture{solidPicture32(width, height, b, g, r, 255), hotSpot};
}

}  // namespace quib::test
