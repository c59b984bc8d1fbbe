#include "frame.h"

namespace quib {

Bitmap32 Frame::cursorImage() const {
    Bitmap32 image;
    if (cursorPixels.empty()) return image;
    image.width = cursorWidth;
    image.height = cursorHeight;
    image.pixels = cursorPixels;
    return image;
}

void Frame::setCursorImage(const Bitmap32& image) {
    cursorWidth = image.width;
    cursorHeight = image.height;
    cursorPixels = image.pixels;
}

void Frame::clearCursorImage() {
    cursorWidth = cursorHeight = 0;
    cursorPixels.clear();
    cursorPixels.shrink_to_fit();
}

}  // namespace quib
