#pragma once

// What the small X programs the capture tests start have in common: a plain window mapped over
// everything, and an event loop that ends when the test closes their input.

#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>

namespace quib::test {

inline Window mapHelperWindow(Display* display, int x, int y, unsigned w, unsigned h,
                              unsigned long background, long eventMask) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = background;
    attributes.event_mask = eventMask | StructureNotifyMask;
    const Window window =
        XCreateWindow(display, DefaultRootWindow(display), x, y, w, h, 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XMapRaised(display, window);
    XEvent event;
    do
        XNextEvent(display, &event);
    while (event.type != MapNotify);
    return window;
}

// Says word on the output, where the test waits for it.
inline void tell(const char* word) {
    std::printf("%s\n", word);
    std::fflush(stdout);
}

template <typename OnEvent>
void serveUntilInputCloses(Display* display, OnEvent onEvent) {
    XEvent event;
    for (;;) {
        while (XPending(display)) {
            XNextEvent(display, &event);
            onEvent(event);
        }
        pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(fds, 2, 1000) < 0)
            return;
        if (fds[1].revents) {
            char c;
            if (read(STDIN_FILENO, &c, 1) <= 0)
                return;
        }
    }
}

}  // namespace quib::test
