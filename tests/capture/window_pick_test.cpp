#include <gtest/gtest.h>

#include "capture/window_pick.h"

using namespace quib;

namespace {
WindowNode window(uint32_t id, Rect frame, std::vector<WindowNode> children = {}) {
    return WindowNode{id, frame, std::move(children)};
}
}  // namespace

// Topmost window first, the first child listed is the topmost one; what is picked stays on the screen.
TEST(WindowPick, TopmostWindowOrChildUnderThePointerClampedToTheScreen) {
    const std::vector<WindowNode> windows{
        window(2, Rect{220, 20, 300, 90}),
        window(1, Rect{100, 100, 400, 300},
               {window(11, Rect{110, 130, 200, 160}), window(12, Rect{100, 100, 400, 300})}),
        window(3, Rect{-40, -25, 200, 150}),
        window(4, Rect{500, 400, 900, 700}),
    };
    const struct {
        Point at;
        PickedWindow picked;
    } cases[] = {
        {{230, 30}, {2, Rect{220, 20, 300, 90}}}, {{120, 140}, {11, Rect{110, 130, 200, 160}}},
        {{10, 10}, {3, Rect{0, 0, 200, 150}}},    {{600, 450}, {4, Rect{500, 400, 640, 480}}},
        {{450, 320}, {0, Rect{0, 0, 640, 480}}},  // bare desktop: the whole screen
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.at.x << "," << c.at.y);
        EXPECT_EQ(pickWindowAt(windows, c.at, Size{640, 480}), c.picked);
    }
}
