// Acts as an open menu does, over a plain window of one colour that it maps; ends when its input
// closes. "keyboard DISPLAY X Y W H RRGGBB" grabs the keyboard, says "grabbed", then "pause" for
// each Pause press that reaches it. "click DISPLAY X Y W H RRGGBB RRGGBB" says "mapped", then on
// each mouse press swaps at once to its other colour and says "pressed".

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Says word on the output, where the test waits for it.
void tell(const char* word) {
    std::printf("%s\n", word);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const bool keyboard = argc == 8 && std::strcmp(argv[1], "keyboard") == 0;
    if (!keyboard && !(argc == 9 && std::strcmp(argv[1], "click") == 0))
        return 2;
    Display* display = XOpenDisplay(argv[2]);
    if (!display)
        return 1;
    const unsigned long colours[2] = {std::strtoul(argv[7], nullptr, 16),
                                      keyboard ? 0 : std::strtoul(argv[8], nullptr, 16)};
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = colours[0];
    attributes.event_mask = (keyboard ? KeyPressMask : ButtonPressMask) | StructureNotifyMask;
    const Window window = XCreateWindow(
        display, DefaultRootWindow(display), std::atoi(argv[3]), std::atoi(argv[4]),
        unsigned(std::atoi(argv[5])), unsigned(std::atoi(argv[6])), 0, CopyFromParent, InputOutput,
        CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XMapRaised(display, window);
    XEvent event;
    do
        XNextEvent(display, &event);
    while (event.type != MapNotify);
    int grabbed = GrabNotViewable;
    for (int i = 0; keyboard && grabbed != GrabSuccess && i < 200; ++i) {
        if (i > 0)
            usleep(10000);  // until the window is viewable and no one else holds the keyboard
        grabbed = XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    }
    if (keyboard && grabbed != GrabSuccess)
        return 1;
    XSync(display, False);
    tell(keyboard ? "grabbed" : "mapped");
    const KeyCode pause = XKeysymToKeycode(display, XK_Pause);
    int shown = 0;
    for (;;) {
        while (XPending(display)) {
            XNextEvent(display, &event);
            if (event.type == KeyPress && event.xkey.keycode == pause)
                tell("pause");
            if (event.type != ButtonPress)
                continue;
            shown = 1 - shown;
            XSetWindowBackground(display, window, colours[shown]);
            XClearWindow(display, window);
            XSync(display, False);
            tell("pressed");
        }
        pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        char c;
        if (poll(fds, 2, 1000) < 0 || (fds[1].revents && read(STDIN_FILENO, &c, 1) <= 0))
            break;
    }
    XCloseDisplay(display);
    return 0;
}
