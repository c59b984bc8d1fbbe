#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/bitmap.h"
#include "base/cursor_picture.h"
#include "base/geometry.h"
#include "base/status.h"
#include "window_pick.h"

namespace quib {

// The cursor at the moment of a grab: its picture (32 x 32 or larger, alpha only 0 or 255,
// transparent pixels 1,1,1,0) with the hot spot, and the pointer's position on the screen.
struct ScreenCursor {
    CursorPicture picture;
    Point screenPos;
    // The screen picture already shows the cursor: the frame keeps it hidden, not drawn twice.
    bool inPicture = false;
};

// A top-level window found under a point: its frame in screen coordinates (border included)
// and the same rectangle clamped to the screen, as a capture region.
struct WindowAtPoint {
    uint32_t window = 0;  // 0 when the point is over the bare desktop
    Rect frame;
    Rect region;
};

// Reads the screen and the cursor. One backend is chosen at start-up (see capture_backend.h).
class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;

    // Fills out with the region's pixels, W x H, rows packed to 3W bytes. Parts of the region
    // outside the screen come out black. out keeps its buffer when its size already matches.
    virtual Status grab(const Rect& region, Bitmap24& out) = 0;

    // The current cursor shape and the pointer position. Never fails: when the cursor cannot be
    // read the picture is fully transparent with the hot spot at (0, 0).
    virtual ScreenCursor grabCursor() = 0;

    virtual Size screenSize() = 0;

    // Something the user should read once about this screen (Italian); empty afterwards.
    virtual std::string takeNotice() { return {}; }

    // The top-level window under a point in screen coordinates.
    virtual WindowAtPoint windowAt(Point screenPoint) = 0;

    // The mapped top-level windows, topmost first, each with its mapped children; taken once when
    // a window pick begins, so that the picker's own overlay is not among them. Empty where the
    // windows cannot be listed.
    virtual std::vector<WindowNode> listWindows() { return {}; }

    // The windows directly on the screen that hold the given ones (a window manager's frames,
    // or the windows themselves); taken before hiding them, as a frame may go with its window.
    virtual std::vector<uint32_t> outerWindows(const std::vector<uint32_t>& windows) { return windows; }
    // Waits, at most timeoutMs, until none of the windows is on the screen any more, and then
    // briefly for the programs under them to redraw what they uncovered.
    virtual void waitUntilUnmapped(const std::vector<uint32_t>& windows, int timeoutMs) {
        (void)windows;
        (void)timeoutMs;
    }
};

}  // namespace quib
