#pragma once

namespace quib {

struct LockKeys {
    bool capsLock = false;
    bool numLock = false;
    bool known = false;  // false where the display cannot tell
};

// The keyboard's lock-key state from the display server.
LockKeys currentLockKeys();

}  // namespace quib
