#pragma once

#include <memory>

#include "pixel_layout.h"
#include "screen_grabber.h"

struct xcb_connection_t;

namespace quib {

// Reads the X screen through MIT-SHM when the server shares memory with us, else with plain
// image requests; the cursor comes from XFixes.
class X11ScreenGrabber final : public ScreenGrabber {
public:
    // nullptr opens $DISPLAY. Fails with an Italian message when no X display can be reached.
    static std::unique_ptr<X11ScreenGrabber> open(const char* displayName, Status& status);
    ~X11ScreenGrabber() override;

    X11ScreenGrabber(const X11ScreenGrabber&) = delete;
    X11ScreenGrabber& operator=(const X11ScreenGrabber&) = delete;

    Status grab(const Rect& region, Bitmap24& out) override;
    ScreenCursor grabCursor() override;
    Size screenSize() override;
    WindowAtPoint windowAt(Point screenPoint) override;
    std::vector<WindowNode> listWindows() override;
    std::vector<uint32_t> outerWindows(const std::vector<uint32_t>& windows) override;
    void waitUntilUnmapped(const std::vector<uint32_t>& windows, int timeoutMs) override;

    // Whether the last screen read went through a shared segment.
    bool lastGrabUsedSharedMemory() const { return m_lastGrabShared; }
    // Turns shared memory off, so that the plain path can be exercised.
    void disableSharedMemory();

private:
    X11ScreenGrabber(xcb_connection_t* connection, int screenNumber);

    void discardQueuedEvents();
    // The viewable children of parent, topmost first; origin is parent's inside corner on the screen.
    std::vector<WindowNode> viewableChildren(uint32_t parent, Point origin);
    bool readIntoSharedSegment(const Rect& area, size_t bytes);
    bool ensureSharedSegment(size_t bytes);
    void releaseSharedSegment();
    bool readPlain(const Rect& area, Bitmap24& out, int x, int y);

    xcb_connection_t* m_connection = nullptr;
    uint32_t m_root = 0;
    PixelLayout m_layout;
    bool m_layoutOk = false;
    bool m_shmAvailable = false;
    bool m_xfixesAvailable = false;
    bool m_lastGrabShared = false;

    // One shared segment, kept while the grabs fit in it.
    uint32_t m_shmSegment = 0;
    int m_shmId = -1;
    uint8_t* m_shmAddress = nullptr;
    size_t m_shmSize = 0;
};

}  // namespace quib
