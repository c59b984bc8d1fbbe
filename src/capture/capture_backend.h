#pragma once

#include <memory>

#include "global_hot_key.h"
#include "screen_grabber.h"

namespace quib {

// The platform backends, chosen once at start-up. Both always return an object: when the
// platform's one cannot be used, a do-nothing stand-in, and status says why (Italian, for the
// user). displayName nullptr means the session's own display.
std::unique_ptr<ScreenGrabber> createScreenGrabber(Status& status, const char* displayName = nullptr);
std::unique_ptr<GlobalHotKey> createGlobalHotKey(Status& status, const char* displayName = nullptr);

}  // namespace quib
