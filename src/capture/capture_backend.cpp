#include "capture_backend.h"

#include "capture_messages.h"
#include "null_backends.h"

#ifdef QUIB_HAVE_X11
#include "x11_global_hot_key.h"
#include "x11_screen_grabber.h"
#endif

namespace quib {

std::unique_ptr<ScreenGrabber> createScreenGrabber(Status& status, const char* displayName) {
#ifdef QUIB_HAVE_X11
    if (auto grabber = X11ScreenGrabber::open(displayName, status))
        return grabber;
#else
    (void)displayName;
    status = Status::failureText(captureText::NoX11Display);
#endif
    return std::make_unique<NullScreenGrabber>(status.message());
}

std::unique_ptr<GlobalHotKey> createGlobalHotKey(Status& status, const char* displayName) {
#ifdef QUIB_HAVE_X11
    if (auto hotKey = X11GlobalHotKey::open(displayName, status))
        return hotKey;
#else
    (void)displayName;
    status = Status::failureText(captureText::NoX11Display);
#endif
    return std::make_unique<NullGlobalHotKey>(status.message());
}

}  // namespace quib
