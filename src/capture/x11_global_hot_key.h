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
//
// A passive grab does not fire while another program holds the keyboard (an open menu, a drag),
// so where the server has XInput 2.1 the keys are also heard as raw key events on the root
// window, which the server sends whatever grab is active. The passive grab is still taken, so
// that the key does not reach the focused program, but a press is then counted from its raw
// event alone, so one heard both ways counts once.
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
    bool watchClicks(ClickCallback callback) override;
    void processEvents() override;

    // Whether a held key counts as one press (the server can mark its repeats).
    bool heldKeyRepeatsIgnored() const { return m_heldKeyRepeatsIgnored; }
    // Whether presses are heard while another program grabs the keyboard.
    bool hearsKeysDuringGrabs() const { return m_rawOpcode >= 0; }

private:
    struct Grab {
        uint8_t keycode;
        uint16_t modifiers;
    };

    X11GlobalHotKey(xcb_connection_t* connection, uint32_t root, int xkbFirstEvent);
    std::vector<uint8_t> pauseKeycodes() const;
    std::vector<uint16_t> lockModifierCombinations() const;
    void ungrabAll();
    void selectRawKeys(bool on);
    void readShiftKeys();
    bool isPauseKey(uint32_t keycode) const;
    bool isShiftKey(uint32_t keycode) const;
    void keyPressed(uint32_t keycode, bool shift);
    void keyReleased(uint32_t keycode);
    void buttonPressed(uint32_t button);

    xcb_connection_t* m_connection = nullptr;
    uint32_t m_root = 0;
    int m_xkbFirstEvent = -1;
    int m_rawOpcode = -1;  // XInput's major opcode; -1 without raw key events
    bool m_heldKeyRepeatsIgnored = false;
    Callback m_callback;
    ClickCallback m_clickCallback;
    std::vector<Grab> m_grabs;
    std::vector<uint32_t> m_keysDown;
    std::vector<uint8_t> m_shiftKeycodes;
    std::vector<uint32_t> m_shiftsDown;
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
