#include "capture_backends.h"

#include <QGuiApplication>

#include "qt_screen_grabber.h"

namespace quib {

CaptureBackendChoice applicationCaptureChoice() {
    CaptureBackendChoice choice;
    choice.x11 = QGuiApplication::platformName() == QStringLiteral("xcb");
    choice.fallbackGrabber = [] { return std::make_unique<QtScreenGrabber>(); };
    choice.noKeysHelp = captureText::NoHotKeyHelp;
    return choice;
}

CaptureBackends openApplicationCaptureBackends() {
    return openCaptureBackends(applicationCaptureChoice());
}

}  // namespace quib
