#pragma once

#include <algorithm>
#include <vector>

#include "capture/screen_grabber.h"

namespace quib::test {

// A 640 x 480 screen of one grey, with windows the test sets; counts its grabs.
class FakeGrabber : public ScreenGrabber {
public:
    Status grab(const Rect& region, Bitmap24& out) override {
        ++grabs;
        if (failGrabs)
            return Status::failureText("no screen");
        if (out.width != region.width() || out.height != region.height())
            out = Bitmap24(region.width(), region.height());
        std::fill(out.pixels.begin(), out.pixels.end(), shade);
        return Status::success();
    }
    ScreenCursor grabCursor() override { return {}; }
    Size screenSize() override { return Size{640, 480}; }
    WindowAtPoint windowAt(Point) override { return {}; }
    std::vector<WindowNode> listWindows() override { return windows; }

    std::vector<WindowNode> windows;
    uint8_t shade = 0xC0;
    bool failGrabs = false;
    int grabs = 0;
};

}  // namespace quib::test
