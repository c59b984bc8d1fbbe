// A program that reacts on the press of a mouse button, as a menu does: it maps a plain window of
// one colour, says "mapped" on its output, and on each press swaps to the other colour at once and
// says "pressed". Ends when its input closes.
//
//   x11_click_target_helper DISPLAY X Y W H RRGGBB RRGGBB

#include <cstdlib>

#include "helper_window.h"

int main(int argc, char** argv) {
    if (argc != 8)
        return 2;
    Display* display = XOpenDisplay(argv[1]);
    if (!display)
        return 1;
    const unsigned long colours[2] = {std::strtoul(argv[6], nullptr, 16), std::strtoul(argv[7], nullptr, 16)};
    const Window window = quib::test::mapHelperWindow(
        display, std::atoi(argv[2]), std::atoi(argv[3]), unsigned(std::atoi(argv[4])),
        unsigned(std::atoi(argv[5])), colours[0], ButtonPressMask);
    XSync(display, False);
    quib::test::tell("mapped");
    int shown = 0;
    quib::test::serveUntilInputCloses(display, [&](const XEvent& event) {
        if (event.type != ButtonPress)
            return;
        shown = 1 - shown;
        XSetWindowBackground(display, window, colours[shown]);
        XClearWindow(display, window);
        XSync(display, False);
        quib::test::tell("pressed");
    });
    XCloseDisplay(display);
    return 0;
}
