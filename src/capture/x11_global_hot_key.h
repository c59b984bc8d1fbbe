#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "global_hot_key.h"

struct xcb_connection_t;

namespace quib {

// Pause and Shift+Pause grabbed on the root window of an X connection of its own, once for
// every combination of the lock keys (Caps Lock, Num Lock, Scroll Lock), which X counts as
// modifiers: without them a press with Num Lock on would not match.
class X11GlobalHotKey final : public GlobalHotKey {
public:
    // nullptr opens $DISPLAY. Fails with an Italian message when no X display can be reached.
    static std::unique_ptr<X11GlobalHotKey> open(const char* displayName, Status& status);
    ~X11GlobalHotKey() override;

    X11GlobalHotKey(const X11GlobalHotKey&) = delete;
    X11GlobalHotKey& operator=(const X11GlobalHotKey&) = delete;

    Status start(Callback callback) override;
    void stop() override;
    bool isActive() const override { return !m_grabs.empty(); }
    int fileDescriptor() const override;
    void processEvents() override;

    // Whether a held key counts as one press (the server can mark its repeats).
    bool heldKeyRepeatsIgnored() const { return m_heldKeyRepeatsIgnored; }

private:
    struct Grab {
        uint8_t keycode;
        uint16_t modifiers;
    };

    X11GlobalHotKey(xcb_connection_t* connection, uint32_t root, int xkbFirstEvent);
    std::vector<uint8_t> pauseKeycodes() const;
    std::vector<uint16_t> lockModifierCombinations() const;
    void ungrabAll();

    xcb_connection_t* m_connection = nullptr;
    uint32_t m_root = 0;
    int m_xkbFirstEvent = -1;
    bool m_heldKeyRepeatsIgnored = false;
    Callback m_callback;
    std::vector<Grab> m_grabs;
    std::vector<uint8_t> m_keysDown;
};

// The lock keys as the X server's keyboard indicators show them, read on a connection of its own.
class X11LockKeyReader final : public LockKeyReader {
public:
    // nullptr opens $DISPLAY. Fails with an Italian message when no X display can be reached.
    static std::unique_ptr<X11LockKeyReader> open(const char* displayName, Status& status);
    ~X11LockKeyReader() override;

    X11LockKeyReader(const X11LockKeyReader&) = delete;
    X11LockKeyReader& operator=(const X11LockKeyReader&) = delete;

    LockKeys read() override;

private:
    X11LockKeyReader(xcb_connection_t* connection, bool xkb) : m_connection(connection), m_xkb(xkb) {}

    xcb_connection_t* m_connection = nullptr;
    bool m_xkb = false;
};

}  // namespace quib
