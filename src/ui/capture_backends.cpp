#include "capture_backends.h"

#include <QGuiApplication>
#include <QSettings>
#include <cstdlib>

#include "qt_screen_grabber.h"

namespace quib {

namespace {

const QString kSettingsGroup = QStringLiteral("Settings");
const QString kRestoreToken = QStringLiteral("Portal Restore Token");

QSettings& captureSettings() {
    static QSettings settings(QStringLiteral("Corvander"), QStringLiteral("Quib"));
    return settings;
}

}  // namespace

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

CaptureBackends openApplicationCaptureBackends() {
    CaptureBackendChoice choice = applicationCaptureChoice();
    if (!choice.portal)
        return openCaptureBackends(choice);
    QSettings& settings = captureSettings();
    settings.beginGroup(kSettingsGroup);
    choice.portalRestoreToken = settings.value(kRestoreToken).toString().toStdString();
    CaptureBackends backends = openCaptureBackends(choice);
    // The portal gives a new token each session; the user chooses the screen only once.
    if (!backends.portalRestoreToken.empty())
        settings.setValue(kRestoreToken, QString::fromStdString(backends.portalRestoreToken));
    settings.endGroup();
    return backends;
}

}  // namespace quib
