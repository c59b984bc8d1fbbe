// A program that holds the keyboard the way an open menu does: it maps a plain window of one
// colour, grabs the keyboard actively, says "grabbed" on its output, reports every Pause press
// that reaches it as "pause", and ends when its input closes.
//
//   x11_keyboard_grab_helper DISPLAY X Y W H RRGGBB

#include <X11/keysym.h>

#include <cstdlib>

#include "helper_window.h"

int main(int argc, char** argv) {
    if (argc != 7)
        return 2;
    Display* display = XOpenDisplay(argv[1]);
    if (!display)
        return 1;
    const Window window = quib::test::mapHelperWindow(
        display, std::atoi(argv[2]), std::atoi(argv[3]), unsigned(std::atoi(argv[4])),
        unsigned(std::atoi(argv[5])), std::strtoul(argv[6], nullptr, 16), KeyPressMask);
    int grabbed = GrabNotViewable;
    for (int i = 0; i < 200 && grabbed != GrabSuccess; ++i) {
        grabbed = XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        if (grabbed != GrabSuccess)
            usleep(10000);
    }
    if (grabbed != GrabSuccess)
        return 1;
    XSync(display, False);
    quib::test::tell("grabbed");
    const KeyCode pause = XKeysymToKeycode(display, XK_Pause);
    quib::test::serveUntilInputCloses(display, [&](const XEvent& event) {
        if (event.type == KeyPress && event.xkey.keycode == pause)
            quib::test::tell("pause");
    });
    XCloseDisplay(display);
    return 0;
}
