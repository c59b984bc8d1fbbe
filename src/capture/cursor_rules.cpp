#include "cursor_rules.h"

#include <algorithm>
#include <cstring>

namespace quib {

namespace {

uint8_t unpremultiply(uint32_t channel, uint32_t alpha) {
    return uint8_t(std::min<uint32_t>(255, (channel * 255 + alpha / 2) / alpha));
}

Bitmap32 transparentPicture(int width, int height) {
    Bitmap32 image(width, height);
    for (size_t i = 0; i < image.pixels.size(); i += 4)
        std::memcpy(&image.pixels[i], kTransparentCursorPixel, 4);
    return image;
}

}  // namespace

CursorPicture cursorPictureFromArgb(const uint32_t* argb, int width, int height, Point hotSpot) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    CursorPicture cursor;
    cursor.image =
        transparentPicture(std::max(width, kCursorPictureSide), std::max(height, kCursorPictureSide));
    cursor.hotSpot = hotSpot;
    if (!argb)
        return cursor;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = argb[size_t(y) * size_t(width) + size_t(x)];
            const uint32_t alpha = p >> 24;
            if (alpha < 128)
                continue;
            const uint8_t red = unpremultiply((p >> 16) & 0xFF, alpha);
            const uint8_t green = unpremultiply((p >> 8) & 0xFF, alpha);
            const uint8_t blue = unpremultiply(p & 0xFF, alpha);
            // Over a background of 1,1,1 such a pixel cannot be told from the background.
            if (red == 1 && green == 1 && blue == 1)
                continue;
            uint8_t* out = cursor.image.pixel(x, y);
            out[0] = blue;
            out[1] = green;
            out[2] = red;
            out[3] = 255;
        }
    }
    return cursor;
}

CursorPicture transparentCursorPicture() {
    return cursorPictureFromArgb(nullptr, 0, 0, Point{});
}

Point cursorPosInRegion(Point pointer, Point hotSpot, const Rect& region) {
    return Point{pointer.x - region.left - hotSpot.x, pointer.y - region.top - hotSpot.y};
}

Rect clampToScreen(const Rect& rect, Size screen) {
    Rect r = rect;
    r.left = std::clamp(r.left, 0, std::max(screen.cx, 0));
    r.top = std::clamp(r.top, 0, std::max(screen.cy, 0));
    r.right = std::clamp(r.right, r.left, std::max(screen.cx, 0));
    r.bottom = std::clamp(r.bottom, r.top, std::max(screen.cy, 0));
    return r;
}

}  // namespace quib
