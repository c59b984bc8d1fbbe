#pragma once

#include <algorithm>

#include "capture/screen_grabber.h"

namespace quib::test {

// A screen of one grey (or of the next shade at each grab) with the cursor the test sets; counts
// its grabs.
class FakeGrabber : public ScreenGrabber {
public:
    Status grab(const Rect& region, Bitmap24& out) override {
        if (failGrabs)
            return Status::failureText("no screen");
        if (out.width != region.width() || out.height != region.height())
            out = Bitmap24(region.width(), region.height());
        std::fill(out.pixels.begin(), out.pixels.end(), uint8_t(varyShade ? grabs : 0xC0));
        ++grabs;
        return Status::success();
    }
    ScreenCursor grabCursor() override { return cursor; }
    Size screenSize() override { return screen; }
    WindowAtPoint windowAt(Point) override { return {}; }

    Size screen{640, 480};
    ScreenCursor cursor;
    bool varyShade = false;
    bool failGrabs = false;
    int grabs = 0;
};

}  // namespace quib::test
