#include "lock_keys.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace quib {

LockKeys currentLockKeys() {
    LockKeys keys;
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return keys;
    unsigned int state = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success)
        return keys;
    // Caps Lock is indicator 0 and Num Lock indicator 1 in the core keyboard's usual layout.
    keys.capsLock = state & 0x1;
    keys.numLock = state & 0x2;
    keys.known = true;
    return keys;
}

}  // namespace quib
