#pragma once

#include <QString>
#include <memory>

#include "capture/global_hot_key.h"
#include "capture/screen_grabber.h"

namespace quib {

namespace captureText {
inline constexpr const char* NoHotKeyHelp =
    "Usare il pulsante \"Cattura\" della finestra di cattura o il menu dell'icona nell'area di "
    "notifica.";
}

// The screen reader and the capture keys of one capture session, with what the user should know
// when they are not the X11 ones (empty when everything works).
struct CaptureBackends {
    std::unique_ptr<ScreenGrabber> grabber;
    std::unique_ptr<GlobalHotKey> hotKey;
    QString problem;
    bool hotKeyUsable() const { return problem.isEmpty(); }
};

// The X11 backends when Qt runs on X11 and the display opens; otherwise the screen is read
// through Qt and the keys stand in doing nothing, and problem says so in Italian.
CaptureBackends openCaptureBackends();

}  // namespace quib
