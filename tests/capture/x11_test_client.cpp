#include "x11_test_client.h"

#include <X11/XKBlib.h>
#include <X11/Xcursor/Xcursor.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdlib>

namespace quib::testing {

namespace {

int g_accessErrors = 0;
int countAccessErrors(Display*, XErrorEvent* event) {
    if (event->error_code == BadAccess)
        ++g_accessErrors;
    return 0;
}

}  // namespace

X11TestClient::X11TestClient(const char* displayName) : m_display(XOpenDisplay(displayName)) {}

X11TestClient::~X11TestClient() {
    if (m_display)
        XCloseDisplay(m_display);
}

void X11TestClient::sync() {
    XSync(m_display, False);
}

void X11TestClient::paintRoot(int width, int height, const std::function<uint32_t(int, int)>& colour) {
    const int screen = DefaultScreen(m_display);
    const Window root = RootWindow(m_display, screen);
    XImage* image = XCreateImage(m_display, DefaultVisual(m_display, screen), DefaultDepth(m_display, screen),
                                 ZPixmap, 0, nullptr, width, height, 32, 0);
    if (!image)
        return;
    image->data = static_cast<char*>(std::malloc(size_t(image->bytes_per_line) * size_t(height)));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            XPutPixel(image, x, y, colour(x, y));
    GC gc = XCreateGC(m_display, root, 0, nullptr);
    XPutImage(m_display, root, gc, image, 0, 0, 0, 0, width, height);
    XFreeGC(m_display, gc);
    XDestroyImage(image);
    sync();
}

bool X11TestClient::defineRootCursor(int width, int height, Point hotSpot,
                                     const std::vector<uint32_t>& argb) {
    XcursorImage* image = XcursorImageCreate(width, height);
    if (!image)
        return false;
    image->xhot = hotSpot.x;
    image->yhot = hotSpot.y;
    std::copy(argb.begin(), argb.end(), image->pixels);
    const Cursor cursor = XcursorImageLoadCursor(m_display, image);
    XcursorImageDestroy(image);
    if (!cursor)
        return false;
    XDefineCursor(m_display, DefaultRootWindow(m_display), cursor);
    XFreeCursor(m_display, cursor);
    sync();
    return true;
}

std::vector<uint32_t> X11TestClient::grabRoot(int width, int height) {
    sync();
    XImage* image = XGetImage(m_display, DefaultRootWindow(m_display), 0, 0, unsigned(width),
                              unsigned(height), AllPlanes, ZPixmap);
    if (!image)
        return {};
    std::vector<uint32_t> pixels;
    pixels.reserve(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(uint32_t(XGetPixel(image, x, y)) & 0xFFFFFFu);
    XDestroyImage(image);
    return pixels;
}

void X11TestClient::movePointer(int x, int y) {
    XWarpPointer(m_display, None, DefaultRootWindow(m_display), 0, 0, 0, 0, x, y);
    sync();
}

uint32_t X11TestClient::createWindow(const Rect& rect, int border, uint32_t parent) {
    const Window window = XCreateSimpleWindow(
        m_display, parent ? Window(parent) : DefaultRootWindow(m_display), rect.left, rect.top,
        unsigned(rect.width()), unsigned(rect.height()), unsigned(border), 0, 0);
    XMapRaised(m_display, window);
    sync();
    return uint32_t(window);
}

void X11TestClient::destroyWindow(uint32_t window) {
    XDestroyWindow(m_display, window);
    sync();
}

bool X11TestClient::tapKey(unsigned long keysym, unsigned long heldKeysym) {
    if (heldKeysym && !sendKey(heldKeysym, true))
        return false;
    const bool tapped = sendKey(keysym, true) && sendKey(keysym, false);
    if (heldKeysym)
        sendKey(heldKeysym, false);
    return tapped;
}

unsigned X11TestClient::moveKeysymToFreeKey(unsigned long keysym) {
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(m_display, &minCode, &maxCode);
    const KeyCode from = XKeysymToKeycode(m_display, keysym);
    if (!from)
        return 0;
    for (int code = maxCode; code >= minCode; --code) {
        int perCode = 0;
        KeySym* syms = XGetKeyboardMapping(m_display, KeyCode(code), 1, &perCode);
        bool empty = true;
        for (int i = 0; i < perCode; ++i)
            empty = empty && syms[i] == NoSymbol;
        XFree(syms);
        if (!empty)
            continue;
        KeySym moved = keysym, none = NoSymbol;
        XChangeKeyboardMapping(m_display, code, 1, &moved, 1);
        XChangeKeyboardMapping(m_display, from, 1, &none, 1);
        sync();
        m_movedFrom = from;
        return unsigned(code);
    }
    return 0;
}

void X11TestClient::restoreKeysym(unsigned long keysym, unsigned movedTo) {
    KeySym original = keysym, none = NoSymbol;
    XChangeKeyboardMapping(m_display, int(m_movedFrom), 1, &original, 1);
    XChangeKeyboardMapping(m_display, int(movedTo), 1, &none, 1);
    sync();
}

bool X11TestClient::clickButton(unsigned button) {
    const bool sent =
        XTestFakeButtonEvent(m_display, button, True, 0) && XTestFakeButtonEvent(m_display, button, False, 0);
    sync();
    return sent;
}

bool X11TestClient::tapKeycode(unsigned keycode) {
    XTestFakeKeyEvent(m_display, keycode, True, CurrentTime);
    XTestFakeKeyEvent(m_display, keycode, False, CurrentTime);
    sync();
    return true;
}

bool X11TestClient::sendKey(unsigned long keysym, bool press) {
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    if (!code)
        return false;
    XTestFakeKeyEvent(m_display, code, press ? True : False, CurrentTime);
    sync();
    return true;
}

bool X11TestClient::setAutoRepeat(unsigned delay, unsigned interval, unsigned& oldDelay,
                                  unsigned& oldInterval) {
    if (!XkbGetAutoRepeatRate(m_display, XkbUseCoreKbd, &oldDelay, &oldInterval))
        return false;
    const bool ok = XkbSetAutoRepeatRate(m_display, XkbUseCoreKbd, delay, interval);
    sync();
    return ok;
}

bool X11TestClient::isLocked(unsigned long lockKeysym) {
    XkbStateRec state;
    XkbGetState(m_display, XkbUseCoreKbd, &state);
    const unsigned mask = XkbKeysymToModifiers(m_display, lockKeysym);
    return mask != 0 && (state.locked_mods & mask) == mask;
}

void X11TestClient::setLocked(unsigned long lockKeysym, bool on) {
    if (isLocked(lockKeysym) != on)
        tapKey(lockKeysym);
}

bool X11TestClient::canGrabKey(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(m_display, keysym);
    const Window root = DefaultRootWindow(m_display);
    sync();
    g_accessErrors = 0;
    XErrorHandler previous = XSetErrorHandler(countAccessErrors);
    XGrabKey(m_display, code, 0, root, True, GrabModeAsync, GrabModeAsync);
    sync();
    XUngrabKey(m_display, code, 0, root);
    sync();
    XSetErrorHandler(previous);
    return g_accessErrors == 0;
}

}  // namespace quib::testing
