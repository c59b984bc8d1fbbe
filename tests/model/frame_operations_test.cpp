#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/button_placement.h"
#include "model/frame_operations.h"
#include "model/quib_doc.h"
#include "model_test_util.h"
#include "pattern_project.h"

namespace quib {
namespace {

using test::patternBlue;
using test::patternGreen;
using test::patternRed;

struct HintLog : DocObserver {
    std::vector<std::pair<int, uint32_t>> seen;
    void onUpdate(int h, uint32_t arg) override { seen.emplace_back(h, arg); }
    bool heard(int h, uint32_t arg) const {
        return std::find(seen.begin(), seen.end(), std::make_pair(h, arg)) != seen.end();
    }
    bool heard(int h) const {
        return std::any_of(seen.begin(), seen.end(), [h](const auto& s) { return s.first == h; });
    }
};

struct InsertFrameOperation : ::testing::Test {
    CQuibDoc doc;

    void pattern(int frames, int cx, int cy) { ASSERT_TRUE(test::makePatternProject(doc, frames, cx, cy)); }
    bool allBlack(int index) {
        doc.SelectFrame(index);
        return std::all_of(doc.currentImage.pixels.begin(), doc.currentImage.pixels.end(),
                           [](uint8_t byte) { return byte == 0; });
    }
    // The frame's picture at (0, 0) tells which pattern frame it came from.
    int patternFrameOf(int index) {
        doc.SelectFrame(index);
        for (int k = 0; k < 32; ++k)
            if (doc.currentImage.pixel(0, 0)[0] == patternBlue(0, 0, k) &&
                doc.currentImage.pixel(0, 0)[2] == patternRed(0, 0, k))
                return k;
        return -1;
    }
    static InsertFramesRequest request(int count, bool copy, bool after) {
        InsertFramesRequest r;
        r.count = count;
        r.copyCurrent = copy;
        r.after = after;
        return r;
    }
};

TEST_F(InsertFrameOperation, EmptyProject_GetsBlackFramesOfTheAskedSizeAtIndexZero) {
    doc.InitNewProject();
    HintLog hints;
    doc.addObserver(&hints);
    InsertFramesRequest r = request(3, true, true);  // copy and after do not apply without frames
    r.emptyProjectSize = Size{100, 80};
    ASSERT_TRUE(insertFrames(doc, r).ok());
    doc.removeObserver(&hints);
    EXPECT_EQ(doc.frameCount(), 3);
    EXPECT_EQ(doc.frameSize, (Size{100, 80}));
    EXPECT_EQ(doc.backgroundSize, (Size{100, 80}));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(allBlack(i)) << i;
    EXPECT_TRUE(doc.currentFrame.hasCursorImage());
    EXPECT_TRUE(hints.heard(hint::FramesInserted));
}

TEST_F(InsertFrameOperation, EmptyFramesBeforeCurrent_AreBlankAndTheCurrentFrameStaysCurrent) {
    pattern(3, 40, 30);
    doc.SelectFrame(1);
    HintLog hints;
    doc.addObserver(&hints);
    ASSERT_TRUE(insertFrames(doc, request(2, false, false)).ok());
    doc.removeObserver(&hints);
    EXPECT_TRUE(hints.heard(hint::FramesInserted, hint::insertedRange(1, 2)));
    EXPECT_EQ(doc.frameCount(), 5);
    EXPECT_EQ(doc.currentFrameIndex, 3);
    EXPECT_EQ(doc.currentFrame.textBox.text, "frame 1");
    EXPECT_TRUE(doc.isModified());
    for (int i : {1, 2}) {
        EXPECT_TRUE(allBlack(i));
        Frame f;
        doc.GetFrame(i, f);
        EXPECT_EQ(f.textBox.visible, 0u);
        EXPECT_EQ(f.textBox.text, "");
        EXPECT_EQ(f.textBox.rect, (Rect{24, 18, 32, 24}));
        EXPECT_EQ(
            f.prevButton.visible | f.nextButton.visible | f.gotoButtons[0].visible | f.gotoButtons[1].visible,
            0u);
    }
    EXPECT_EQ(patternFrameOf(0), 0);
    EXPECT_EQ(patternFrameOf(3), 1);
    EXPECT_EQ(patternFrameOf(4), 2);
}

TEST_F(InsertFrameOperation, CopiesAfterCurrent_HaveItsPictureWithoutText) {
    pattern(3, 40, 30);
    doc.SelectFrame(1);
    ASSERT_TRUE(insertFrames(doc, request(2, true, true)).ok());
    EXPECT_EQ(doc.frameCount(), 5);
    EXPECT_EQ(doc.currentFrameIndex, 1);
    EXPECT_EQ(patternFrameOf(2), 1);
    EXPECT_EQ(patternFrameOf(3), 1);
    EXPECT_EQ(patternFrameOf(4), 2);
    Frame copy;
    doc.GetFrame(2, copy);
    EXPECT_EQ(copy.textBox.text, "");
    Frame original;
    doc.GetFrame(1, original);
    EXPECT_EQ(original.textBox.text, "frame 1");
}

TEST_F(InsertFrameOperation, PendingEditsOfTheCurrentFrame_AreKeptAndNotEmptied) {
    pattern(2, 20, 20);
    doc.currentFrame.textBox.text = "edited";
    doc.currentFrame.displayTime = 1234;
    doc.elementsChanged = true;
    ASSERT_TRUE(insertFrames(doc, request(1, true, true)).ok());
    Frame original, copy;
    doc.GetFrame(0, original);
    doc.GetFrame(1, copy);
    EXPECT_EQ(original.textBox.text, "edited");
    EXPECT_EQ(copy.textBox.text, "");
    EXPECT_EQ(copy.displayTime, 1234u);
}

TEST_F(InsertFrameOperation, CountOutsideOneToNinetyNine_IsRefusedAndChangesNothing) {
    pattern(2, 20, 20);
    for (int count : {0, 100, -1}) {
        const Status status = insertFrames(doc, request(count, false, false));
        EXPECT_FALSE(status.ok());
        EXPECT_EQ(status.stringId(), str::NumberOneToNinetyNine);
    }
    EXPECT_EQ(doc.frameCount(), 2);
    EXPECT_FALSE(doc.isModified());
}

TEST_F(InsertFrameOperation, OversizedFrameSizeForAnEmptyProject_IsRefused) {
    doc.InitNewProject();
    InsertFramesRequest r = request(1, false, false);
    r.emptyProjectSize = Size{30000, 30000};
    EXPECT_FALSE(insertFrames(doc, r).ok());
    EXPECT_EQ(doc.frameCount(), 0);
    EXPECT_EQ(doc.frameSize, (Size{0, 0}));
}

struct CropFrameOperation : ::testing::Test {
    CQuibDoc doc;
    NullProgress progress;

    void SetUp() override { ASSERT_TRUE(test::makePatternProject(doc, 3, 120, 70)); }

    void expectPatternShiftedBy(int dx, int dy) { test::expectPatternShiftedBy(doc, dx, dy); }
};

TEST_F(CropFrameOperation, InclusiveBoundsTenTenToHundredNineFiftyNine_GiveHundredByFiftyFrames) {
    doc.frameOrigin = Point{5, 6};
    doc.SelectFrame(1);
    test::RecordingProgress recorded;
    ASSERT_TRUE(cropFrames(doc, Rect{10, 10, 110, 60}, recorded).ok());
    EXPECT_EQ(doc.frameSize, (Size{100, 50}));
    EXPECT_EQ(doc.frameOrigin, (Point{15, 16}));
    EXPECT_EQ(doc.backgroundSize, (Size{100, 50}));
    EXPECT_EQ(doc.currentFrameIndex, 1);
    EXPECT_EQ(doc.currentFrame.textBox.text, "frame 1");
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(recorded.texts, std::vector<std::string>{"Ritaglio..."});
    EXPECT_EQ(recorded.high, 3);
    EXPECT_EQ(recorded.last, 3);
    expectPatternShiftedBy(10, 10);
}

TEST_F(CropFrameOperation, WithABackgroundPicture_TheCanvasStays) {
    ASSERT_TRUE(setFillBackground(doc, 200, 100, 0x0000FF).ok());
    ASSERT_TRUE(cropFrames(doc, Rect{0, 0, 50, 40}, progress).ok());
    EXPECT_EQ(doc.frameSize, (Size{50, 40}));
    EXPECT_EQ(doc.backgroundSize, (Size{200, 100}));
    expectPatternShiftedBy(0, 0);
}

TEST_F(CropFrameOperation, ElementPositionsStayAndPendingEditsSurvive) {
    doc.currentFrame.textBox.text = "kept";
    doc.elementsChanged = true;
    Frame before;
    doc.GetFrame(2, before);
    ASSERT_TRUE(cropFrames(doc, Rect{20, 5, 60, 45}, progress).ok());
    Frame after;
    doc.GetFrame(2, after);
    EXPECT_EQ(after.textBox.rect, before.textBox.rect);
    EXPECT_EQ(after.cursorPos, before.cursorPos);
    doc.GetFrame(0, after);
    EXPECT_EQ(after.textBox.text, "kept");
}

TEST_F(CropFrameOperation, RectanglesOutsideTheFrameOrEmpty_AreRefusedAndChangeNothing) {
    for (Rect bad : {Rect{-1, 0, 10, 10}, Rect{0, 0, 121, 10}, Rect{0, 0, 10, 71}, Rect{10, 10, 10, 20},
                     Rect{30, 10, 20, 20}}) {
        const Status status = cropFrames(doc, bad, progress);
        EXPECT_FALSE(status.ok());
        EXPECT_EQ(status.stringId(), str::CropTooLarge);
    }
    EXPECT_EQ(doc.frameSize, (Size{120, 70}));
    EXPECT_FALSE(doc.isModified());
    expectPatternShiftedBy(0, 0);
}

TEST(GotoButtonPlacement, ANewButtonGoesBesideNextClearOfTheOtherAndOnTheCanvas) {
    ButtonImageSet images;
    images.images[ButtonImageSet::Next] = Bitmap32(60, 24);
    images.images[ButtonImageSet::Goto1] = Bitmap32(40, 20);
    images.images[ButtonImageSet::Goto2] = Bitmap32(40, 20);
    struct Case {
        Point next;
        int which;
        bool otherShown;
        Point expected;
    };
    const Case cases[] = {
        {{500, 400}, 0, false, {454, 402}},  // left of Next, centred on it
        {{500, 400}, 1, true, {408, 402}},   // left of the go-to button already there
        {{20, 400}, 0, false, {86, 402}},    // no room on the left: on the right
        {{580, 400}, 0, false, {534, 402}}, {{10, 590}, 0, false, {76, 580}},  // kept on the canvas
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.next.x << "," << c.next.y << " which " << c.which);
        FrameElements frame;
        frame.nextButton.pos = c.next;
        NavButton& other = frame.gotoButtons[1 - c.which];
        other.visible = c.otherShown;
        other.pos = Point{c.next.x - 46, c.next.y + 2};
        frame.gotoButtons[c.which].visible = 1;
        placeNewGotoButton(frame, c.which, images, Size{640, 600});
        EXPECT_EQ(frame.gotoButtons[c.which].pos, c.expected);
        // A button the user placed stays where it is.
        frame.gotoButtons[c.which].pos = Point{3, 4};
        placeNewGotoButton(frame, c.which, images, Size{640, 600});
        EXPECT_EQ(frame.gotoButtons[c.which].pos, (Point{3, 4}));
    }
}

}  // namespace
}  // namespace quib
