#include "capture_backends.h"

#include <QGuiApplication>
#include <cstdlib>

#include "app_settings.h"
#include "qt_screen_grabber.h"

namespace quib {

CaptureBackendChoice applicationCaptureChoice() {
    CaptureBackendChoice choice;
    const bool xcb = QGuiApplication::platformName() == QStringLiteral("xcb");
    choice.portal = chooseCaptureBackend(std::getenv("QUIB_CAPTURE_BACKEND"),
                                         std::getenv("WAYLAND_DISPLAY")) == CaptureBackendKind::Portal;
    // Under XWayland, X11 sees only the programs that use it: the portal shows the whole desktop.
    choice.x11 = xcb && !choice.portal;
    choice.fallbackGrabber = [] { return std::make_unique<QtScreenGrabber>(); };
    choice.noKeysHelp = captureText::NoHotKeyHelp;
    return choice;
}

CaptureBackends openApplicationCaptureBackends(QSettings* store, CaptureSource source) {
    CaptureBackendChoice choice = applicationCaptureChoice();
    choice.source = source;
    if (!choice.portal || !store)
        return openCaptureBackends(choice);
    choice.portalRestoreToken = AppSettings::readPortalRestoreToken(*store).toStdString();
    CaptureBackends backends = openCaptureBackends(choice);
    // The portal gives a new token each session.
    if (!backends.portalRestoreToken.empty())
        AppSettings::writePortalRestoreToken(*store, QString::fromStdString(backends.portalRestoreToken));
    return backends;
}

}  // namespace quib
