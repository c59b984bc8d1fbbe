#pragma once

#include <cstdint>

#include "base/cursor_picture.h"
#include "base/geometry.h"

namespace quib {

// The smallest side of a recorded cursor picture.
inline constexpr int kCursorPictureSide = 32;

// Builds the recorded cursor from a premultiplied ARGB32 image (as the X server hands it over):
// the picture is max(32, width) x max(32, height) with the image at its top-left. A pixel is
// covered when its alpha is at least 128 and then takes its own colour, opaque; everything else,
// and a covered pixel of exactly RGB(1, 1, 1), becomes transparent (1, 1, 1, 0).
CursorPicture cursorPictureFromArgb(const uint32_t* argb, int width, int height, Point hotSpot);

// The picture recorded when no cursor can be read: 32 x 32, fully transparent, hot spot (0, 0).
CursorPicture transparentCursorPicture();

// Where the cursor picture's top-left corner lies relative to the region; not clamped.
Point cursorPosInRegion(Point pointer, Point hotSpot, const Rect& region);

// A rectangle limited to (0, 0, screen width, screen height).
Rect clampToScreen(const Rect& rect, Size screen);

}  // namespace quib
