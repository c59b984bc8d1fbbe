#pragma once

#include "capture/screen_grabber.h"

namespace quib {

// Reads the screen through the windowing system Qt runs on, for desktops without an X11 display.
// The cursor cannot be read there: it is recorded fully transparent, at the pointer's position.
// Top-level windows of this program are the only ones it can list.
class QtScreenGrabber final : public ScreenGrabber {
public:
    Status grab(const Rect& region, Bitmap24& out) override;
    ScreenCursor grabCursor() override;
    Size screenSize() override;
    WindowAtPoint windowAt(Point screenPoint) override;
    std::vector<WindowNode> listWindows() override;
};

}  // namespace quib
