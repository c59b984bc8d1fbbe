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
using test::patternRed;

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
