// A program that reacts on the press of a mouse button, as a menu does: it maps a plain window of
// one colour, says "mapped" on its output, and on each press swaps to the other colour at once and
// says "pressed". Ends when its input closes.
//
//   x11_click_target_helper DISPLAY X Y W H RRGGBB RRGGBB

#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 8)
        return 2;
    Display* display = XOpenDisplay(argv[1]);
    if (!display)
        return 1;
    const unsigned long colours[2] = {std::strtoul(argv[6], nullptr, 16), std::strtoul(argv[7], nullptr, 16)};
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = colours[0];
    attributes.event_mask = ButtonPressMask | StructureNotifyMask;
    const Window window = XCreateWindow(
        display, DefaultRootWindow(display), std::atoi(argv[2]), std::atoi(argv[3]),
        unsigned(std::atoi(argv[4])), unsigned(std::atoi(argv[5])), 0, CopyFromParent, InputOutput,
        CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XMapRaised(display, window);
    XEvent event;
    do
        XNextEvent(display, &event);
    while (event.type != MapNotify);
    XSync(display, False);
    std::printf("mapped\n");
    std::fflush(stdout);
    int shown = 0;
    for (;;) {
        while (XPending(display)) {
            XNextEvent(display, &event);
            if (event.type == ButtonPress) {
                shown = 1 - shown;
                XSetWindowBackground(display, window, colours[shown]);
                XClearWindow(display, window);
                XSync(display, False);
                std::printf("pressed\n");
                std::fflush(stdout);
            }
        }
        pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(fds, 2, 1000) < 0)
            break;
        if (fds[1].revents) {
            char c;
            if (read(STDIN_FILENO, &c, 1) <= 0)
                break;
        }
    }
    XCloseDisplay(display);
    return 0;
}
