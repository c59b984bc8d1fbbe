#include <gtest/gtest.h>

#include "capture/capture_region_rules.h"

using namespace quib;

TEST(CaptureRegionRules, SelectAndWizardControlsFollowTheModeAndChecksAndEmptyRegionsAreNotUsable) {
    EXPECT_FALSE(selectButtonEnabled(true, RegionMode::Screen));
    EXPECT_FALSE(selectButtonEnabled(false, RegionMode::Screen));
    EXPECT_TRUE(selectButtonEnabled(true, RegionMode::Rectangle));
    EXPECT_TRUE(selectButtonEnabled(true, RegionMode::Window));
    EXPECT_FALSE(selectButtonEnabled(false, RegionMode::Window));
    EXPECT_EQ(screenRegion(Size{1024, 768}), (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(wizardControlStates(true, RegionMode::Screen, false),
              (WizardControlStates{true, false, false}));
    EXPECT_EQ(wizardControlStates(true, RegionMode::Window, true), (WizardControlStates{true, true, true}));
    EXPECT_EQ(wizardControlStates(false, RegionMode::Rectangle, false),
              (WizardControlStates{false, false, false}));
    EXPECT_EQ(wizardControlStates(false, RegionMode::Rectangle, true),
              (WizardControlStates{false, false, true}));
    EXPECT_TRUE(usableCaptureRegion(Rect{0, 0, 1, 1}));
    EXPECT_FALSE(usableCaptureRegion(Rect{10, 10, 10, 50}));
    EXPECT_FALSE(usableCaptureRegion(Rect{10, 10, 50, 10}));
    EXPECT_FALSE(usableCaptureRegion(Rect{}));
}

TEST(CaptureRegionRules, RectangleDraggedFromBottomRightToTopLeftIsNormalizedAndLabelledByBothCorners) {
    RectangleDrag drag;
    drag.begin(Point{300, 200});
    EXPECT_TRUE(drag.active());
    drag.moveTo(Point{250, 120});
    EXPECT_EQ(drag.current(), (Rect{250, 120, 300, 200}));
    drag.moveTo(Point{100, 50});
    EXPECT_EQ(drag.finish(), (Rect{100, 50, 300, 200}));
    EXPECT_FALSE(drag.active());
    EXPECT_EQ(regionLabelText(Rect{0, 0, 1024, 768}), "(0, 0) - (1024, 768)");
    EXPECT_EQ(regionLabelText(Rect{-3, 4, 5, 6}), "(-3, 4) - (5, 6)");
}

TEST(CaptureRegionRules, RateMustBeAWholeNumberAboveZeroAndSetsTheTimerInterval) {
    EXPECT_EQ(parseCaptureRate("3"), 3);
    EXPECT_EQ(parseCaptureRate(" 12 "), 12);
    EXPECT_FALSE(parseCaptureRate("0"));
    EXPECT_FALSE(parseCaptureRate("-2"));
    EXPECT_FALSE(parseCaptureRate(""));
    EXPECT_FALSE(parseCaptureRate("abc"));
    EXPECT_FALSE(parseCaptureRate("99999999999"));
    EXPECT_EQ(timedCaptureIntervalMs(3), 333);
    EXPECT_EQ(timedCaptureIntervalMs(1), 1000);
    EXPECT_EQ(timedCaptureIntervalMs(0), 1000);
    EXPECT_EQ(capturedFramesCaption(3), "Quib:3 Frames");
}

TEST(CaptureRegionRules, ControllerIsPlacedBesideTheRegionWhereTheScreenHasRoom) {
    const Size screen{1920, 1080};
    const Size window{340, 160};
    const struct {
        Rect region;
        std::optional<Point> at;
    } cases[] = {
        {Rect{100, 200, 900, 800}, Point{908, 200}},     // right, level with the top
        {Rect{800, 950, 1800, 1080}, Point{452, 920}},   // left, kept on the screen
        {Rect{0, 0, 1920, 600}, Point{0, 608}},          // below
        {Rect{0, 500, 1920, 1080}, Point{0, 332}},       // above
        {Rect{0, 0, 1920, 1080}, std::nullopt},          // the whole screen: no room
        {Rect{-500, -500, 2500, 2000}, std::nullopt},    // larger than the screen
        {Rect{1600, 100, 1900, 300}, Point{1252, 100}},  // no room right: left
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
