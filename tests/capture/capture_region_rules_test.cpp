#include <gtest/gtest.h>

#include "capture/capture_region_rules.h"

using namespace quib;

TEST(CaptureRegionRules, RectangleDraggedFromBottomRightToTopLeftIsNormalized) {
    RectangleDrag drag;
    drag.begin(Point{300, 200});
    EXPECT_TRUE(drag.active());
    drag.moveTo(Point{250, 120});
    EXPECT_EQ(drag.current(), (Rect{250, 120, 300, 200}));
    drag.moveTo(Point{100, 50});
    EXPECT_EQ(drag.finish(), (Rect{100, 50, 300, 200}));
    EXPECT_FALSE(drag.active());
}

// Zero, negative and empty rates are refused in the setup dialog's tests.
TEST(CaptureRegionRules, RateMustBeAWholeNumberInRange) {
    EXPECT_EQ(parseCaptureRate(" 12 "), 12);
    EXPECT_FALSE(parseCaptureRate("12abc"));
    EXPECT_FALSE(parseCaptureRate("99999999999"));
}

TEST(CaptureRegionRules, ControllerIsPlacedBesideTheRegionWhereTheScreenHasRoom) {
    const Size screen{1920, 1080};
    const Size window{340, 160};
    const struct {
        Rect region;
        std::optional<Point> at;
    } cases[] = {
        {Rect{100, 200, 900, 800}, Point{908, 200}},    // right, level with the top
        {Rect{800, 950, 1800, 1080}, Point{452, 920}},  // left, kept on the screen
        {Rect{0, 0, 1920, 600}, Point{0, 608}},         // below
        {Rect{0, 500, 1920, 1080}, Point{0, 332}},      // above
        {Rect{0, 0, 1920, 1080}, std::nullopt},         // the whole screen: no room
    };
    for (const auto& c : cases) {
        const std::optional<Point> at = placementOutsideRegion(c.region, window, screen);
        EXPECT_EQ(at, c.at) << c.region.left << "," << c.region.top;
        if (at) {
            const Rect placed{at->x, at->y, at->x + window.cx, at->y + window.cy};
            EXPECT_TRUE(placed.intersected(c.region).isEmpty());
            EXPECT_EQ(placed.intersected(Rect{0, 0, screen.cx, screen.cy}), placed);
        }
    }
}
