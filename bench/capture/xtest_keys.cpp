#include "xtest_keys.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

XTestKeys::XTestKeys(const std::string& display) : m_display(XOpenDisplay(display.c_str())) {}

XTestKeys::~XTestKeys() {
    if (m_display)
        XCloseDisplay(m_display);
}

void XTestKeys::tap(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    XTestFakeKeyEvent(m_display, code, True, 0);
    XTestFakeKeyEvent(m_display, code, False, 0);
    XFlush(m_display);
}

void XTestKeys::click(int x, int y, unsigned button) {
    XTestFakeMotionEvent(m_display, -1, x, y, 0);
    XTestFakeButtonEvent(m_display, button, True, 0);
    XTestFakeButtonEvent(m_display, button, False, 0);
    XFlush(m_display);
}
