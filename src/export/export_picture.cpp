#include "export/export_picture.h"

#include <algorithm>
#include <cstring>

namespace quib {

namespace {

// Copies source (of size sw x sh, top-left at origin) into the canvas, clipped.
void copyClipped(Bitmap24& canvas, const uint8_t* source, int sw, int sh, Point origin) {
    const int left = std::max(0, origin.x), top = std::max(0, origin.y);
    const int right = std::min(canvas.width, origin.x + sw), bottom = std::min(canvas.height, origin.y + sh);
    for (int y = top; y < bottom; ++y)
        std::memcpy(canvas.pixel(left, y), source + (size_t(y - origin.y) * sw + size_t(left - origin.x)) * 3,
                    size_t(std::max(right - left, 0)) * 3);
}

void blendClipped(Bitmap24& canvas, const Bitmap32& source, Point origin) {
    const int left = std::max(0, origin.x), top = std::max(0, origin.y);
    const int right = std::min(canvas.width, origin.x + source.width);
    const int bottom = std::min(canvas.height, origin.y + source.height);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const uint8_t* s = source.pixel(x - origin.x, y - origin.y);
            uint8_t* d = canvas.pixel(x, y);
            for (int c = 0; c < 3; ++c)
                d[c] = uint8_t((s[c] * s[3] + d[c] * (255 - s[3])) / 255);
        }
    }
}

}  // namespace

void composeExportPicture(CQuibDoc& doc, Bitmap24& picture) {
    const Size canvas = doc.backgroundSize;
    if (picture.width != canvas.cx || picture.height != canvas.cy)
        picture = Bitmap24(std::max(canvas.cx, 0), std::max(canvas.cy, 0));
    std::fill(picture.pixels.begin(), picture.pixels.end(), uint8_t(255));

    if (!doc.backgroundImage.isNull())
        copyClipped(picture, doc.backgroundImage.pixels.data(), doc.backgroundImage.width,
                    doc.backgroundImage.height, Point{0, 0});
    if (!doc.currentImage.isNull())
        copyClipped(picture, doc.currentImage.pixels.data(), doc.currentImage.width, doc.currentImage.height,
                    doc.frameOrigin);
    const Frame& f = doc.currentFrame;
    const ButtonImageSet& images = doc.buttonImages;
    const std::pair<const NavButton*, int> buttons[] = {{&f.nextButton, ButtonImageSet::Next},
                                                        {&f.prevButton, ButtonImageSet::Previous},
                                                        {&f.gotoButtons[0], ButtonImageSet::Goto1},
                                                        {&f.gotoButtons[1], ButtonImageSet::Goto2}};
    for (const auto& [button, kind] : buttons) {
        if (button->visible)
            blendClipped(picture, images.images[kind], button->pos);
    }
    if (f.cursorVisible && f.hasCursorImage())
        blendClipped(picture, f.cursorImage(), f.cursorPos);
}

}  // namespace quib
