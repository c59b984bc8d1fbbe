#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/button_placement.h"
#include "model/frame_operations.h"
#include "model/quib_doc.h"
#include "model_test_util.h"
#include "pattern_project.h"

namespace quib {
namespace {

TEST(InsertFrameOperation, CountOutsideOneToNinetyNineOrAnOversizedEmptyProject_IsRefusedAndChangesNothing) {
    CQuibDoc doc;
    ASSERT_TRUE(test::makePatternProject(doc, 2, 20, 20));
    InsertFramesRequest request;
    for (int count : {0, 100, -1}) {
        request.count = count;
        EXPECT_EQ(insertFrames(doc, request).stringId(), str::NumberOneToNinetyNine);
    }
    EXPECT_EQ(doc.frameCount(), 2);
    EXPECT_FALSE(doc.isModified());
    CQuibDoc empty;
    empty.InitNewProject();
    InsertFramesRequest oversized;
    oversized.emptyProjectSize = Size{30000, 30000};
    EXPECT_FALSE(insertFrames(empty, oversized).ok());
    EXPECT_EQ(empty.frameCount(), 0);
    EXPECT_EQ(empty.frameSize, (Size{0, 0}));
}

TEST(CropFrameOperation, RectanglesOutsideTheFrameOrEmpty_AreRefusedAndChangeNothing) {
    CQuibDoc doc;
    ASSERT_TRUE(test::makePatternProject(doc, 3, 120, 70));
    NullProgress progress;
    for (Rect bad : {Rect{-1, 0, 10, 10}, Rect{0, 0, 121, 10}, Rect{0, 0, 10, 71}, Rect{10, 10, 10, 20},
                     Rect{30, 10, 20, 20}}) {
        EXPECT_EQ(cropFrames(doc, bad, progress).stringId(), str::CropTooLarge);
    }
    EXPECT_EQ(doc.frameSize, (Size{120, 70}));
    EXPECT_FALSE(doc.isModified());
    test::expectPatternShiftedBy(doc, 0, 0);
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
