#include "frame.h"

#include "base/zlib_util.h"

namespace quib {

std::optional<std::vector<uint8_t>> compressPicture(const std::vector<uint8_t>& pixels, Size size,
                                                    int level) {
    auto stream = zlibCompress(pixels.data(), pixels.size(), level, pictureStreamBound(size.cx, size.cy));
    if (stream)
        stream->shrink_to_fit();
    return stream;
}

Bitmap32 Frame::cursorImage() const {
    Bitmap32 image;
    if (cursorPixels.empty())
        return image;
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
