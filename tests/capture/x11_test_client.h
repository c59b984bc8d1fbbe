#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "base/geometry.h"

struct _XDisplay;

namespace quib::testing {

// What the tests do to an X server as an ordinary client: paint, set the cursor, move the
// pointer, map windows and type. Xlib stays inside this class (its macros clash with ours).
class X11TestClient {
public:
    explicit X11TestClient(const char* displayName);
    ~X11TestClient();
    X11TestClient(const X11TestClient&) = delete;
    X11TestClient& operator=(const X11TestClient&) = delete;

    bool connected() const { return m_display != nullptr; }

    // Fills the root window with colour(x, y) = 0xRRGGBB.
    void paintRoot(int width, int height, const std::function<uint32_t(int x, int y)>& colour);
    // What the screen shows from (0, 0), as 0xRRGGBB rows; empty when it cannot be read.
    std::vector<uint32_t> grabRoot(int width, int height);
    // Puts a cursor made of premultiplied ARGB pixels on the root window.
    bool defineRootCursor(int width, int height, Point hotSpot, const std::vector<uint32_t>& argb);
    void movePointer(int x, int y);
    // A mapped window; in a parent, rect is relative to the parent's inside corner.
    uint32_t createWindow(const Rect& rect, int border, uint32_t parent = 0);
    void destroyWindow(uint32_t window);

    // Presses and releases a key (by keysym), optionally while holding another.
    bool tapKey(unsigned long keysym, unsigned long heldKeysym = 0);
    bool isLocked(unsigned long lockKeysym);
    void setLocked(unsigned long lockKeysym, bool on);
    // Moves keysym to a key that had no symbol, and returns that key's code (0 when none is free);
    // restoreKeysym puts it back on its old key.
    unsigned moveKeysymToFreeKey(unsigned long keysym);
    void restoreKeysym(unsigned long keysym, unsigned movedTo);
    bool tapKeycode(unsigned keycode);
    // Presses and releases a mouse button where the pointer is.
    bool clickButton(unsigned button);
    // Sends a single press or release.
    bool sendKey(unsigned long keysym, bool press);
    // Sets the keyboard's auto-repeat delay and interval in milliseconds; returns false when
    // the server cannot. The previous rate comes back through the two references.
    bool setAutoRepeat(unsigned delay, unsigned interval, unsigned& oldDelay, unsigned& oldInterval);
    // Whether this client could grab the key now, without modifiers.
    bool canGrabKey(unsigned long keysym);

private:
    void sync();
    _XDisplay* m_display = nullptr;
    unsigned m_movedFrom = 0;
};

}  // namespace quib::testing
