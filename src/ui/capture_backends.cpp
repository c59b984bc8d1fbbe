#include "capture_backends.h"

#include <QGuiApplication>

#include "capture/capture_backend.h"
#include "capture/capture_messages.h"
#include "capture/null_backends.h"
#include "qt_screen_grabber.h"

namespace quib {

CaptureBackends openCaptureBackends() {
    CaptureBackends backends;
    const QString help = QString::fromUtf8(captureText::NoHotKeyHelp);
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        backends.grabber = std::make_unique<QtScreenGrabber>();
        backends.hotKey = std::make_unique<NullGlobalHotKey>(captureText::NoX11Display);
        backends.problem = QString::fromUtf8(captureText::NoX11Display) + QLatin1Char(' ') + help;
        return backends;
    }
    Status grabberStatus;
    backends.grabber = createScreenGrabber(grabberStatus);
    if (!grabberStatus.ok()) {
        backends.grabber = std::make_unique<QtScreenGrabber>();
        backends.hotKey = std::make_unique<NullGlobalHotKey>(captureText::NoX11Display);
        backends.problem = QString::fromStdString(grabberStatus.message()) + QLatin1Char(' ') + help;
        return backends;
    }
    Status keyStatus;
    backends.hotKey = createGlobalHotKey(keyStatus);
    if (!keyStatus.ok())
        backends.problem = QString::fromStdString(keyStatus.message()) + QLatin1Char(' ') + help;
    return backends;
}

}  // namespace quib
