#pragma once

#include <functional>

#include "base/geometry.h"
#include "base/status.h"

namespace quib {

enum class HotKeyAction {
    Capture,             // Pause
    ToggleTimedCapture,  // Shift+Pause
};

// The system-wide capture keys. The owner polls it from its event loop: wait for the file
// descriptor to become readable, then call processEvents(), which runs the callback per press.
// The callback may stop the keys but must not destroy the object it is called from.
class GlobalHotKey {
public:
    using Callback = std::function<void(HotKeyAction)>;

    virtual ~GlobalHotKey() = default;

    // Arms the keys; fails (keys left unarmed) when another program holds them.
    virtual Status start(Callback callback) = 0;
    // Releases the keys; harmless when not armed.
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    // -1 when there is nothing to wait on.
    virtual int fileDescriptor() const = 0;
    // Also reports every press of a mouse button (left, middle, right) with the pointer's position
    // on the screen, until called with an empty callback. False where presses cannot be heard.
    using ClickCallback = std::function<void(Point screenPos)>;
    virtual bool watchClicks(ClickCallback callback) {
        (void)callback;
        return false;
    }

    // Handles whatever has arrived, without blocking. When the display has gone away the keys
    // become inactive (isActive() false) and the owner should stop watching the descriptor.
    virtual void processEvents() = 0;
};

struct LockKeys {
    bool capsLock = false;
    bool numLock = false;
    bool known = false;  // false where the display cannot tell
};

// The keyboard's lock-key state as the display server has it.
class LockKeyReader {
public:
    virtual ~LockKeyReader() = default;
    virtual LockKeys read() = 0;
};

}  // namespace quib
