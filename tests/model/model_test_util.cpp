#include "model_test_util.h"

#include <stdexcept>
#include <string>

namespace quib::test {

void makeProject(CQuibDoc& doc, int count, Size size) {
    doc.frameSize = doc.backgroundSize = size;
    doc.currentImage = Bitmap24(size.cx, size.cy);
    for (int k = 0; k < count; ++k) {
        const uint8_t level = uint8_t(10 + k);
        doc.currentImage = solidImage(size, level, level, level);
        doc.currentFrame = Frame();
        doc.currentFrame.title = "F" + std::to_string(k);
        doc.currentFrame.prevButton.visible = 1;
        doc.currentFrame.nextButton.visible = 1;
        if (!doc.AppendCapturedFrame())
            throw std::runtime_error("append failed");
    }
    doc.SelectFrame(0, true);
}

Bitmap32 oddCursor(int width, int height) {
    Bitmap32 image(width, height);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = uint8_t(i * 7 + 1);
    return image;
}

}  // namespace quib::test
