#include "capture_backend.h"

#include "capture_messages.h"
#include "null_backends.h"

#ifdef QUIB_HAVE_PORTAL
#include "portal_global_shortcuts.h"
#include "portal_screen_grabber.h"
#endif
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

CaptureBackendKind chooseCaptureBackend(const char* override, const char* waylandDisplay) {
    const std::string forced = override ? override : "";
    if (forced == "x11")
        return CaptureBackendKind::X11;
    if (forced == "portal")
        return CaptureBackendKind::Portal;
    return waylandDisplay && *waylandDisplay ? CaptureBackendKind::Portal : CaptureBackendKind::X11;
}

namespace {

std::string withKeysHelp(const CaptureBackendChoice& choice, const std::string& reason) {
    return choice.noKeysHelp.empty() ? reason : reason + ' ' + choice.noKeysHelp;
}

#ifdef QUIB_HAVE_PORTAL
QDBusConnection portalBus(const CaptureBackendChoice& choice) {
    if (!choice.busAddress)
        return QDBusConnection::sessionBus();
    const QString name = QStringLiteral("quib-capture-portal");
    // Backends still open keep their own reference to an earlier connection.
    QDBusConnection::disconnectFromBus(name);
    return QDBusConnection::connectToBus(QString::fromUtf8(choice.busAddress), name);
}
#endif

// The portal's screen, and its global shortcuts as the capture keys.
void openPortalBackends(const CaptureBackendChoice& choice, CaptureBackends& backends, Status& keys) {
#ifdef QUIB_HAVE_PORTAL
    PortalScreenCastOptions options;
    options.restoreToken = choice.portalRestoreToken;
    options.source =
        choice.source == CaptureSource::Window ? PortalSourceType::Window : PortalSourceType::Monitor;
    const QDBusConnection bus = portalBus(choice);
    if (auto grabber = PortalScreenGrabber::open(bus, options, backends.screen)) {
        backends.portalRestoreToken = grabber->restoreToken();
        backends.grabber = std::move(grabber);
    }
    if (!backends.screen)
        return;
    if (auto shortcuts = PortalGlobalShortcuts::open(bus, {}, keys))
        backends.hotKey = std::move(shortcuts);
    else
        backends.hotKey = std::make_unique<NullGlobalHotKey>(keys.message());
#else
    (void)choice;
    (void)keys;
    backends.screen = Status::failureText(captureText::PortalUnavailable);
#endif
}

}  // namespace

std::string portalKeysProblem(const CaptureBackendChoice& choice) {
    if (!choice.portal)
        return {};
#ifdef QUIB_HAVE_PORTAL
    if (PortalGlobalShortcuts::offered(portalBus(choice), PortalShortcutsOptions{}.callTimeoutMs))
        return {};
#endif
    return withKeysHelp(choice, captureText::PortalNoKeys);
}

CaptureBackends openCaptureBackends(const CaptureBackendChoice& choice) {
    CaptureBackends backends;
    auto withHelp = [&](const std::string& reason) { return withKeysHelp(choice, reason); };
    if (choice.portal) {
        Status keys = Status::failureText(captureText::PortalNoKeys);
        openPortalBackends(choice, backends, keys);
        if (!backends.grabber)
            backends.grabber = choice.fallbackGrabber ? choice.fallbackGrabber() : nullptr;
        if (!backends.grabber)
            backends.grabber = std::make_unique<NullScreenGrabber>(backends.screen.message());
        if (!backends.hotKey)
            backends.hotKey = std::make_unique<NullGlobalHotKey>(backends.screen.message());
        if (!backends.screen)
            backends.problem = withHelp(backends.screen.message());
        else if (!keys)
            backends.problem = withHelp(keys.message());
        backends.notice = backends.grabber->takeNotice();
        return backends;
    }
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
