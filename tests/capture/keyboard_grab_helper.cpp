// A program that holds the keyboard the way an open menu does: it maps a plain window of one
// colour, grabs the keyboard actively, says "grabbed" on its output, reports every Pause press
// that reaches it as "pause", and ends when its input closes.
//
//   x11_keyboard_grab_helper DISPLAY X Y W H RRGGBB

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 7)
        return 2;
    Display* display = XOpenDisplay(argv[1]);
    if (!display)
        return 1;
    const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
    const unsigned w = unsigned(std::atoi(argv[4])), h = unsigned(std::atoi(argv[5]));
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = std::strtoul(argv[6], nullptr, 16);
    attributes.event_mask = KeyPressMask | StructureNotifyMask;
    const Window window =
        XCreateWindow(display, DefaultRootWindow(display), x, y, w, h, 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XMapRaised(display, window);
    XEvent event;
    do
        XNextEvent(display, &event);
    while (event.type != MapNotify);
    int grabbed = GrabNotViewable;
    for (int i = 0; i < 200 && grabbed != GrabSuccess; ++i) {
        grabbed = XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        if (grabbed != GrabSuccess)
            usleep(10000);
    }
    if (grabbed != GrabSuccess)
        return 1;
    XSync(display, False);
    std::printf("grabbed\n");
    std::fflush(stdout);
    const KeyCode pause = XKeysymToKeycode(display, XK_Pause);
    for (;;) {
        while (XPending(display)) {
            XNextEvent(display, &event);
            if (event.type == KeyPress && event.xkey.keycode == pause) {
                std::printf("pause\n");
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
