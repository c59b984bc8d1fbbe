#pragma once

#include <string>

struct _XDisplay;

// Key presses and clicks sent to a display through XTEST, as a user's keyboard would; Xlib stays in the
// source file, whose macros clash with everything else.
class XTestKeys {
public:
    explicit XTestKeys(const std::string& display);
    ~XTestKeys();
    XTestKeys(const XTestKeys&) = delete;
    XTestKeys& operator=(const XTestKeys&) = delete;

    bool connected() const { return m_display != nullptr; }
    // Presses and releases the key of keysym, and sends the requests at once.
    void tap(unsigned long keysym);
    // Presses and releases a mouse button at a point of the screen.
    void click(int x, int y, unsigned button);

private:
    _XDisplay* m_display = nullptr;
};
