#pragma once

#include "capture/capture_backend.h"

class QSettings;

namespace quib {

namespace captureText {
inline constexpr const char* NoHotKeyHelp =
    "Usare il pulsante \"Cattura\" della finestra di cattura o il menu dell'icona nell'area di "
    "notifica.";
}

// The application's backend choice: the desktop portal in a Wayland session (or when
// QUIB_CAPTURE_BACKEND is "portal"), X11 when Qt runs on X11; otherwise the screen is read through
// Qt. Without keys the user is told to capture with the dialog button or the tray menu.
CaptureBackendChoice applicationCaptureChoice();
// openCaptureBackends with the application's choice; the portal's restore token is kept in
// store (when given), so that the user picks the screen once.
CaptureBackends openApplicationCaptureBackends(QSettings* store,
                                               CaptureSource source = CaptureSource::Screen);

}  // namespace quib
