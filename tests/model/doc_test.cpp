#include <gtest/gtest.h>

#include "model/quib_doc.h"
#include "model_test_util.h"

namespace quib {
namespace {

using namespace test;

TEST(SelectFrame, CommitsPendingChangesEvenWhenTheTargetIsOutOfRangeAndTakesADamagedStream) {
    CQuibDoc doc;
    makeProject(doc, 2);
    doc.currentFrame.title = "pending";
    doc.elementsChanged = true;
    doc.currentImage = solidImage(doc.frameSize, 5, 6, 7);
    doc.imageChanged = true;
    EXPECT_FALSE(doc.SelectFrame(7, false));
    EXPECT_EQ(doc.frames[0].title, "pending");
    EXPECT_EQ(storedFramePicture(doc, 0).pixels, solidImage(doc.frameSize, 5, 6, 7).pixels);
    EXPECT_EQ(doc.currentFrameIndex, 0);
    // A damaged stream is not reported.
    doc.frames[1].imageData =
        std::vector<uint8_t>(doc.frames[1].imageData.begin(), doc.frames[1].imageData.begin() + 5);
    EXPECT_TRUE(doc.SelectFrame(1, false));
    EXPECT_EQ(doc.currentImage.pixels.size(), size_t(8 * 6 * 3));
}

// SetFrame on the current frame marks it changed and copies the cursor on request; a commit for
// another frame stores the current picture, of the frame's size only.
TEST(FrameAccess, SetFrameAndCommitsReachTheStoredFrames) {
    CQuibDoc doc;
    makeProject(doc, 3);
    Frame in;
    in.title = "set";
    in.setCursorImage(oddCursor(2, 4));
    doc.SetFrame(1, in, false);
    EXPECT_EQ(doc.frames[1].title, "set");
    EXPECT_TRUE(doc.frames[1].cursorPixels.empty());
    EXPECT_FALSE(doc.isModified());
    doc.SetFrame(0, in, true);
    EXPECT_EQ(doc.currentFrame.title, "set");
    EXPECT_EQ(doc.currentFrame.cursorPixels, oddCursor(2, 4).pixels);
    EXPECT_TRUE(doc.elementsChanged);
    EXPECT_TRUE(doc.isModified());
    doc.SetFrame(9, in, true);  // ignored
    ASSERT_TRUE(doc.CommitFrameImage(2));
    EXPECT_EQ(storedFramePicture(doc, 2).pixels, solidImage(doc.frameSize, 10, 10, 10).pixels);
    EXPECT_FALSE(doc.CommitFrameImage(3));
    EXPECT_FALSE(doc.CommitFrameElements(-2));
    EXPECT_FALSE(doc.CopyFrameImage(0, 3));
    EXPECT_TRUE(doc.CopyFrameImage(0, 1));
    EXPECT_EQ(storedFramePicture(doc, 0).pixels, solidImage(doc.frameSize, 11, 11, 11).pixels);
    // A picture of another size is refused.
    const auto before = doc.frames[1].imageData;
    doc.currentImage = Bitmap24(3, 3);
    EXPECT_FALSE(doc.CommitFrameImage(1));
    EXPECT_EQ(doc.frames[1].imageData, before);
}

TEST(EmptyProject, SetEmptyProjectFrameSizeSizesTheCanvasAndKeepsTheBackground) {
    CQuibDoc doc;
    doc.InitNewProject();
    doc.backgroundImage = solidImage(Size{4, 2}, 9, 9, 9);
    RecordingObserver observer;
    doc.addObserver(&observer);
    doc.SetEmptyProjectFrameSize(200, 100);
    EXPECT_EQ(doc.frameSize, (Size{200, 100}));
    EXPECT_EQ(doc.backgroundSize, (Size{200, 100}));
    EXPECT_EQ(doc.currentImage.pixels.size(), size_t(200 * 100 * 3));
    ASSERT_EQ(doc.backgroundImage.width, 200);
    EXPECT_EQ(doc.backgroundImage.pixel(3, 1)[0], 9);
    EXPECT_EQ(observer.hints, (std::vector<std::pair<int, uint32_t>>{{hint::Everything, 0}}));
}

TEST(CursorPicture, KeyColourAndUncoveredPixelsBecomeTransparent) {
    CursorPicture cursor;
    cursor.image = Bitmap32(3, 2);
    // The key colour itself, alpha 127 (not covered) and 128 (covered); black and a covered white.
    cursor.image.pixels = {0xC7, 0xC6, 0xC5, 255, 10,  20,  30,  127, 10, 20, 30, 128,
                           0,    0,    0,    255, 255, 255, 255, 200, 0,  0,  0,  0};
    Frame frame;
    frame.setCursorImage(oddCursor());
    CQuibDoc::SetCursorImageFromHandle(frame, cursor);
    ASSERT_EQ(frame.cursorWidth, 3);
    ASSERT_EQ(frame.cursorHeight, 2);
    const std::vector<uint8_t> expected = {1, 1, 1, 0,   1,   1,   1,   0,   10, 20, 30, 255,
                                           0, 0, 0, 255, 255, 255, 255, 255, 1,  1,  1,  0};
    EXPECT_EQ(frame.cursorPixels, expected);
}

}  // namespace
}  // namespace quib
