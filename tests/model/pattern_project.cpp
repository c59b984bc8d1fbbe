#include "pattern_project.h"

#include <gtest/gtest.h>

#include <string>

#include "model/frame_operations.h"

namespace quib::test {

bool makePatternProject(CQuibDoc& doc, int frameCount, int cx, int cy) {
    doc.InitNewProject();
    InsertFramesRequest request;
    request.count = frameCount;
    request.emptyProjectSize = Size{cx, cy};
    if (!insertFrames(doc, request))
        return false;
    for (int i = 0; i < frameCount; ++i) {
        doc.SelectFrame(i);
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x) {
                uint8_t* p = doc.currentImage.pixel(x, y);
                p[0] = patternBlue(x, y, i);
                p[1] = patternGreen(x, y, i);
                p[2] = patternRed(x, y, i);
            }
        doc.imageChanged = true;
        doc.currentFrame.textBox.text = "frame " + std::to_string(i);
        doc.elementsChanged = true;
    }
    doc.SelectFrame(0);
    doc.SetModifiedFlag(false);
    return true;
}

void expectPatternShiftedBy(const CQuibDoc& doc, int dx, int dy) {
    Bitmap24 picture;
    for (int i = 0; i < doc.frameCount(); ++i) {
        ASSERT_TRUE(doc.decodeFrame(i, picture).ok());
        for (int y = 0; y < doc.frameSize.cy; ++y)
            for (int x = 0; x < doc.frameSize.cx; ++x) {
                const uint8_t* p = picture.pixel(x, y);
                ASSERT_EQ(p[0], patternBlue(x + dx, y + dy, i)) << i << " " << x << "," << y;
                ASSERT_EQ(p[1], patternGreen(x + dx, y + dy, i));
                ASSERT_EQ(p[2], patternRed(x + dx, y + dy, i));
            }
    }
}

}  // namespace quib::test
