#pragma once

#include "capture/capture_backend.h"

namespace quib {

namespace captureText {
inline constexpr const char* NoHotKeyHelp =
    "Usare il pulsante \"Cattura\" della finestra di cattura o il menu dell'icona nell'area di "
    "notifica.";
}

// The application's backend choice: X11 when Qt runs on X11; otherwise the screen is read through
// Qt, and the user is told to capture with the dialog button or the tray menu.
CaptureBackendChoice applicationCaptureChoice();
// openCaptureBackends with the application's choice.
CaptureBackends openApplicationCaptureBackends();

}  // namespace quib
