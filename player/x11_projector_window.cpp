#include "x11_projector_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>
#include <sys/select.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "projector_view.h"

namespace quib::player {

namespace {

using Clock = std::chrono::steady_clock;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

std::optional<ProjectorKey> keyOf(KeySym key) {
    switch (key) {
        case XK_Right:
        case XK_KP_Right:
        case XK_space:
            return ProjectorKey::Next;
        case XK_Left:
        case XK_KP_Left:
            return ProjectorKey::Previous;
        case XK_Home:
        case XK_KP_Home:
            return ProjectorKey::First;
        case XK_End:
        case XK_KP_End:
            return ProjectorKey::Last;
        default:
            return std::nullopt;
    }
}

class X11Window {
public:
    X11Window(Display* display, Size size, const std::string& title) : m_display(display) {
        const int screen = DefaultScreen(display);
        const int left = std::max(0, (DisplayWidth(display, screen) - size.cx) / 2);
        const int top = std::max(0, (DisplayHeight(display, screen) - size.cy) / 2);
        m_window = XCreateSimpleWindow(display, RootWindow(display, screen), left, top, unsigned(size.cx),
                                       unsigned(size.cy), 0, BlackPixel(display, screen),
                                       BlackPixel(display, screen));
        // The position is asked for explicitly, so that window managers keep it centred.
        XSizeHints hints{};
        hints.flags = USPosition | PPosition | USSize | PSize;
        hints.x = left, hints.y = top, hints.width = size.cx, hints.height = size.cy;
        XSetWMNormalHints(display, m_window, &hints);
        XStoreName(display, m_window, title.c_str());
        const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
        XChangeProperty(display, m_window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                        int(title.size()));
        m_deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display, m_window, &m_deleteWindow, 1);
        XSelectInput(display, m_window,
                     ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                         PointerMotionMask | KeyPressMask);
        m_gc = XCreateGC(display, m_window, 0, nullptr);
        m_hand = XCreateFontCursor(display, XC_hand2);
        XMapWindow(display, m_window);
    }
    ~X11Window() {
        XFreeCursor(m_display, m_hand);
        XFreeGC(m_display, m_gc);
        XDestroyWindow(m_display, m_window);
    }

    Window window() const { return m_window; }
    GC gc() const { return m_gc; }
    bool isClose(const XEvent& event) const {
        return event.type == ClientMessage && Atom(event.xclient.data.l[0]) == m_deleteWindow;
    }
    void showHand(bool hand) {
        if (hand == m_handShown)
            return;
        m_handShown = hand;
        if (hand)
            XDefineCursor(m_display, m_window, m_hand);
        else
            XUndefineCursor(m_display, m_window);
    }

    // Puts the picture into the window; its pixels are the 32-bit words a TrueColor visual takes.
    void blit(const Picture& picture) {
        XImage image{};
        image.width = picture.width;
        image.height = picture.height;
        image.format = ZPixmap;
        image.data = reinterpret_cast<char*>(const_cast<Pixel*>(picture.pixels.data()));
        image.byte_order = LSBFirst;
        image.bitmap_unit = 32;
        image.bitmap_bit_order = LSBFirst;
        image.bitmap_pad = 32;
        image.depth = DefaultDepth(m_display, DefaultScreen(m_display));
        image.bytes_per_line = picture.width * 4;
        image.bits_per_pixel = 32;
        image.red_mask = 0xFF0000, image.green_mask = 0xFF00, image.blue_mask = 0xFF;
        if (!XInitImage(&image))
            return;
        XPutImage(m_display, m_window, m_gc, &image, 0, 0, 0, 0, unsigned(picture.width),
                  unsigned(picture.height));
    }

private:
    Display* m_display;
    Window m_window = 0;
    GC m_gc = nullptr;
    Cursor m_hand = 0;
    Atom m_deleteWindow = 0;
    bool m_handShown = false;
};

// Waits for the display's next event until deadline; false when the time came first.
bool waitForEvent(Display* display, Clock::time_point deadline) {
    if (XPending(display) > 0)
        return true;
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    if (left <= 0)
        return false;
    const int fd = ConnectionNumber(display);
    fd_set read;
    FD_ZERO(&read);
    FD_SET(fd, &read);
    timeval timeout{time_t(left / 1000000), suseconds_t(left % 1000000)};
    select(fd + 1, &read, nullptr, nullptr, &timeout);
    return XPending(display) > 0;
}

int playMovie(Display* display, const MovieToPlay& toPlay) {
    const int screen = DefaultScreen(display);
    if (DefaultDepth(display, screen) < 24) {
        std::fprintf(stderr, "Lo schermo deve avere almeno 24 bit per pixel\n");
        return ExitError;
    }
    ProjectorView view(toPlay.movie);
    const Size size =
        ProjectorView::fittedSize(view.player().movie().stageSize(),
                                  Size{DisplayWidth(display, screen), DisplayHeight(display, screen)});
    view.resize(size.cx, size.cy);
    X11Window window(display, size, toPlay.title);
    const auto interval = std::chrono::milliseconds(view.frameIntervalMs());
    auto nextTick = Clock::now() + interval;
    bool exposed = false;
    for (;;) {
        bool redraw = false;
        if (!waitForEvent(display, nextTick)) {
            nextTick += interval;
            if (Clock::now() > nextTick)
                nextTick = Clock::now() + interval;  // fell behind: do not hurry to catch up
            redraw = view.tick();
        } else {
            XEvent event;
            XNextEvent(display, &event);
            switch (event.type) {
                case Expose:
                    exposed = true;
                    redraw = event.xexpose.count == 0;
                    break;
                case ConfigureNotify:
                    view.resize(event.xconfigure.width, event.xconfigure.height);
                    redraw = true;
                    break;
                case MotionNotify:
                    window.showHand(view.overButton(event.xmotion.x, event.xmotion.y));
                    break;
                case ButtonRelease:
                    if (event.xbutton.button == Button1)
                        redraw = view.click(event.xbutton.x, event.xbutton.y);
                    break;
                case KeyPress:
                    if (auto key = keyOf(XLookupKeysym(&event.xkey, 0)))
                        redraw = view.press(*key);
                    break;
                case ClientMessage:
                    if (window.isClose(event))
                        return 0;
                    break;
                default:
                    break;
            }
        }
        if (redraw && exposed) {
            window.blit(view.picture());
            XFlush(display);
        }
    }
}

// The error in a plain window of its own, closed by a click, a key or the window manager.
int showError(Display* display, const MovieToPlay& toPlay) {
    X11Window window(display, Size{560, 80}, toPlay.title);
    const int screen = DefaultScreen(display);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == Expose && event.xexpose.count == 0) {
            XSetForeground(display, window.gc(), WhitePixel(display, screen));
            XDrawString(display, window.window(), window.gc(), 12, 40, toPlay.error.c_str(),
                        int(std::min<size_t>(toPlay.error.size(), 200)));
        } else if (event.type == ButtonRelease || event.type == KeyPress || window.isClose(event)) {
            return ExitError;
        }
    }
}

}  // namespace

int runX11Projector(const MovieToPlay& toPlay) {
    DisplayHandle display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "Impossibile aprire lo schermo X11 (DISPLAY=%s)\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        return ExitError;
    }
    return toPlay.movie ? playMovie(display.get(), toPlay) : showError(display.get(), toPlay);
}

}  // namespace quib::player
