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

std::unique_ptr<LockKeyReader> createLockKeyReader(Status& status, const char* displayName) {
#ifdef QUIB_HAVE_X11
    if (auto reader = X11LockKeyReader::open(displayName, status))
        return reader;
#else
    (void)displayName;
    status = Status::failureText(captureText::NoX11Display);
#endif
    return std::make_unique<NullLockKeyReader>();
}

CaptureBackends openCaptureBackends(const CaptureBackendChoice& choice) {
    CaptureBackends backends;
    auto withHelp = [&](const std::string& reason) {
        return choice.noKeysHelp.empty() ? reason : reason + ' ' + choice.noKeysHelp;
    };
    if (choice.x11)
        backends.grabber = createScreenGrabber(backends.screen, choice.displayName);
    else
        backends.screen = Status::failureText(captureText::NoX11Display);
    if (!backends.screen) {
        // Without the X11 screen there is no X11 keyboard to grab either.
        if (choice.fallbackGrabber)
            backends.grabber = choice.fallbackGrabber();
        if (!backends.grabber)
            backends.grabber = std::make_unique<NullScreenGrabber>(backends.screen.message());
        backends.hotKey = std::make_unique<NullGlobalHotKey>(captureText::NoX11Display);
        backends.problem = withHelp(backends.screen.message());
        return backends;
    }
    Status keys;
    backends.hotKey = createGlobalHotKey(keys, choice.displayName);
    if (!keys)
        backends.problem = withHelp(keys.message());
    return backends;
}

std::unique_ptr<LockKeyReader> openLockKeyReader(const CaptureBackendChoice& choice) {
    if (!choice.x11)
        return std::make_unique<NullLockKeyReader>();
    Status status;
    return createLockKeyReader(status, choice.displayName);
}

}  // namespace quib
