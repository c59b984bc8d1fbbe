#include <gtest/gtest.h>

#include "model/quib_doc.h"
#include "model/synthetic_project.h"
#include "ui/element_tracker.h"

namespace quib {
namespace {

TEST(TrackerGeometry, KeptInsideChecksBottomTopLeftRightInThatOrder) {
    const Size canvas{100, 50};
    EXPECT_EQ(ElementTracker::keptInside(Rect{90, 45, 110, 60}, canvas), (Rect{80, 35, 100, 50}));
    EXPECT_EQ(ElementTracker::keptInside(Rect{-5, -7, 5, 3}, canvas), (Rect{0, 0, 10, 10}));
    // Taller and wider than the canvas: the top and the right edge win.
    EXPECT_EQ(ElementTracker::keptInside(Rect{0, 0, 120, 70}, canvas), (Rect{-20, 0, 100, 70}));
}

TEST(TrackerGeometry, ResizingKeepsRightOfLeftAndBottomBelowTop) {
    const Rect r{10, 10, 50, 40};
    EXPECT_EQ(ElementTracker::resized(r, TrackerPart::BottomRight, 5, -3), (Rect{10, 10, 55, 37}));
    EXPECT_EQ(ElementTracker::resized(r, TrackerPart::Right, -100, 0), (Rect{10, 10, 10, 40}));
    EXPECT_EQ(ElementTracker::resized(r, TrackerPart::TopLeft, 60, 60), (Rect{70, 70, 70, 70}));
    EXPECT_EQ(ElementTracker::resized(r, TrackerPart::Middle, 3, 4), (Rect{13, 14, 53, 44}));
    EXPECT_EQ(ElementTracker::clampedInside(Rect{-5, 10, 300, 40}, Size{100, 50}), (Rect{0, 10, 100, 40}));
}

struct TrackerHitTest : ::testing::Test {
    TrackerHitTest() {
        EXPECT_TRUE(buildSyntheticProject(doc, 200, 100, 2));
        doc.currentFrame.textBox.rect = Rect{100, 50, 150, 80};
        doc.currentFrame.textBox.visible = 1;
    }
    TrackerPart hit(ElementKind kind, int x, int y, bool selected = false) const {
        return ElementTracker(kind).hitTest(doc, Point{x, y}, selected);
    }
    CQuibDoc doc;
};

TEST_F(TrackerHitTest, HandlesResizeOnlyASelectedTextBox) {
    EXPECT_EQ(hit(ElementKind::TextBox, 155, 85, true), TrackerPart::BottomRight);
    EXPECT_EQ(hit(ElementKind::TextBox, 97, 65, true), TrackerPart::Left);
    EXPECT_EQ(hit(ElementKind::TextBox, 155, 85, false), TrackerPart::None);
    EXPECT_EQ(hit(ElementKind::TextBox, 120, 60, false), TrackerPart::Middle);
}

TEST_F(TrackerHitTest, NothingIsHitWithoutACurrentFrame) {
    CQuibDoc empty;
    EXPECT_EQ(ElementTracker(ElementKind::FrameImage).hitTest(empty, Point{0, 0}, false), TrackerPart::None);
}

}  // namespace
}  // namespace quib
