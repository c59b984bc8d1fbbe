#include <gtest/gtest.h>

#include "capture/window_pick.h"

using namespace quib;

namespace {
constexpr Size kScreen{640, 480};

WindowNode window(uint32_t id, Rect frame, std::vector<WindowNode> children = {}) {
    return WindowNode{id, frame, std::move(children)};
}
}  // namespace

TEST(WindowPick, BareDesktopPicksTheWholeScreen) {
    const std::vector<WindowNode> windows{window(1, Rect{10, 10, 100, 100})};
    EXPECT_EQ(pickWindowAt(windows, Point{300, 300}, kScreen), (PickedWindow{0, Rect{0, 0, 640, 480}}));
    EXPECT_EQ(pickWindowAt({}, Point{5, 5}, kScreen), (PickedWindow{0, Rect{0, 0, 640, 480}}));
}

TEST(WindowPick, TopmostWindowUnderThePointerWins) {
    const std::vector<WindowNode> windows{window(2, Rect{50, 50, 200, 200}), window(1, Rect{0, 0, 300, 300})};
    EXPECT_EQ(pickWindowAt(windows, Point{60, 60}, kScreen), (PickedWindow{2, Rect{50, 50, 200, 200}}));
    EXPECT_EQ(pickWindowAt(windows, Point{250, 250}, kScreen), (PickedWindow{1, Rect{0, 0, 300, 300}}));
}

TEST(WindowPick, VisibleChildUnderThePointerIsTakenInstead) {
    const std::vector<WindowNode> windows{
        window(1, Rect{100, 100, 400, 300},
               {window(11, Rect{110, 130, 200, 160}), window(12, Rect{100, 100, 400, 300})})};
    EXPECT_EQ(pickWindowAt(windows, Point{120, 140}, kScreen), (PickedWindow{11, Rect{110, 130, 200, 160}}));
    // The first child listed is the topmost one.
    EXPECT_EQ(pickWindowAt(windows, Point{300, 200}, kScreen).id, 12u);
}

TEST(WindowPick, WindowPartlyOffScreenIsClampedToThePrimaryScreen) {
    const std::vector<WindowNode> windows{window(3, Rect{-40, -25, 200, 150}),
                                          window(4, Rect{500, 400, 900, 700})};
    EXPECT_EQ(pickWindowAt(windows, Point{10, 10}, kScreen), (PickedWindow{3, Rect{0, 0, 200, 150}}));
    EXPECT_EQ(pickWindowAt(windows, Point{600, 450}, kScreen), (PickedWindow{4, Rect{500, 400, 640, 480}}));
}

TEST(WindowPick, ChildPartlyOutsideTheScreenIsClampedToo) {
    const std::vector<WindowNode> windows{
        window(5, Rect{-100, 0, 300, 200}, {window(51, Rect{-80, 10, 50, 60})})};
    EXPECT_EQ(pickWindowAt(windows, Point{20, 20}, kScreen), (PickedWindow{51, Rect{0, 10, 50, 60}}));
}
