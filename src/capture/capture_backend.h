#pragma once

#include <functional>
#include <memory>
#include <string>

#include "global_hot_key.h"
#include "screen_grabber.h"

namespace quib {

// The platform backends, chosen once at start-up. Both always return an object: when the
// platform's one cannot be used, a do-nothing stand-in, and status says why (Italian, for the
// user). displayName nullptr means the session's own display.
std::unique_ptr<ScreenGrabber> createScreenGrabber(Status& status, const char* displayName = nullptr);
std::unique_ptr<GlobalHotKey> createGlobalHotKey(Status& status, const char* displayName = nullptr);
std::unique_ptr<LockKeyReader> createLockKeyReader(Status& status, const char* displayName = nullptr);

// Where the screen is read: the X server, or the desktop portal of a Wayland session.
enum class CaptureBackendKind { X11, Portal };

// X11 unless the session is Wayland's (waylandDisplay set and not empty); override, when it is
// "x11" or "portal", decides instead (odd desktops, tests).
CaptureBackendKind chooseCaptureBackend(const char* override, const char* waylandDisplay);

// What the desktop portal is asked to share: a whole monitor, or one window, which the user picks
// in the desktop's own dialog.
enum class CaptureSource { Screen, Window };

// What a program tells the backend choice about where it runs.
struct CaptureBackendChoice {
    // Reads the screen through the desktop portal instead of X11.
    bool portal = false;
    // The portal's session bus; nullptr: the session's own.
    const char* busAddress = nullptr;
    // The user's earlier choice of screen, as the portal handed it back.
    std::string portalRestoreToken;
    CaptureSource source = CaptureSource::Screen;
    // The program's windows are on an X11 display; a toolkit on another windowing system says no.
    bool x11 = true;
    const char* displayName = nullptr;  // nullptr: the session's own display
    // Reads the screen where X11 cannot (through the toolkit); unset: grabs fail.
    std::function<std::unique_ptr<ScreenGrabber>()> fallbackGrabber;
    // Appended to the problem when the capture keys cannot work: what to use instead.
    std::string noKeysHelp;
};

// The screen reader and the capture keys of one capture session.
struct CaptureBackends {
    std::unique_ptr<ScreenGrabber> grabber;  // never null from openCaptureBackends
    std::unique_ptr<GlobalHotKey> hotKey;    // never null from openCaptureBackends
    Status screen;        // failed: the X11 screen reader could not be opened (the fallback reads)
    std::string problem;  // what the user should know when the keys cannot work; empty when they can
    std::string notice;   // what the user should know before capturing (the screen's own, not the keys')
    std::string portalRestoreToken;  // to keep for the next session; empty when there is none
    bool hotKeyUsable() const { return problem.empty(); }
    // The problem and the notice, as the capture setup shows them.
    std::string shownText() const {
        return problem.empty() || notice.empty() ? problem + notice : problem + ' ' + notice;
    }
};

// The X11 backends when the program runs on X11 and the display opens. Otherwise the fallback
// grabber and keys that do nothing, with problem saying why (Italian) followed by noKeysHelp.
CaptureBackends openCaptureBackends(const CaptureBackendChoice& choice);
// Through the portal: why its capture keys will not work (Italian, followed by noKeysHelp), learnt
// without sharing anything; empty when the desktop offers global shortcuts. Empty for X11.
std::string portalKeysProblem(const CaptureBackendChoice& choice);
// The lock-key reader for the same choice: X11's, or one that never knows.
std::unique_ptr<LockKeyReader> openLockKeyReader(const CaptureBackendChoice& choice);

}  // namespace quib
