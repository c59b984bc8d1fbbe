#include "region_frame.h"

#include "capture_region_rules.h"

namespace quib {

namespace {
constexpr uint8_t kPenGrey = 64;
constexpr int kFrameWidth = 4;

void togglePixel(Bitmap24& picture, int x, int y) {
    if (x < 0 || y < 0 || x >= picture.width || y >= picture.height)
        return;
    uint8_t* p = picture.pixel(x, y);
    for (int c = 0; c < 3; ++c)
        p[c] = uint8_t(~(p[c] ^ kPenGrey));
}

// Every pixel of the rectangle's outline exactly once; right and bottom are exclusive.
void toggleOutline(Bitmap24& picture, const Rect& r) {
    const int lastX = r.right - 1;
    const int lastY = r.bottom - 1;
    for (int x = r.left; x <= lastX; ++x) {
        togglePixel(picture, x, r.top);
        if (lastY != r.top)
            togglePixel(picture, x, lastY);
    }
    for (int y = r.top + 1; y < lastY; ++y) {
        togglePixel(picture, r.left, y);
        if (lastX != r.left)
            togglePixel(picture, lastX, y);
    }
}
}  // namespace

void toggleRegionFrame(Bitmap24& picture, const Rect& region) {
    const Rect r = normalizedRegion(region);
    for (int i = 0; i < kFrameWidth; ++i) {
        const Rect inner{r.left + i, r.top + i, r.right - i, r.bottom - i};
        if (inner.right <= inner.left || inner.bottom <= inner.top)
            break;
        toggleOutline(picture, inner);
    }
}

Rect regionFrameBounds(const Bitmap24& picture, const Rect& region) {
    return normalizedRegion(region).intersected(Rect{0, 0, picture.width, picture.height});
}

}  // namespace quib
