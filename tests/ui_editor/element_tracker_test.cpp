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

}  // namespace
}  // namespace quib
