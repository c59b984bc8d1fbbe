#include "x11_global_hot_key.h"

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#ifdef QUIB_HAVE_XCB_XKB
// The header names a field "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#endif
#ifdef QUIB_HAVE_XCB_XINPUT
#include <xcb/xinput.h>
#endif

#include <algorithm>
#include <cstdlib>

#include "capture_messages.h"

namespace quib {

namespace {

constexpr xcb_keysym_t kPauseKeysym = 0xFF13;
constexpr xcb_keysym_t kNumLockKeysym = 0xFF7F;
constexpr xcb_keysym_t kScrollLockKeysym = 0xFF14;
constexpr xcb_keysym_t kShiftLeftKeysym = 0xFFE1;
constexpr xcb_keysym_t kShiftRightKeysym = 0xFFE2;

template <typename T>
struct FreeDeleter {
    void operator()(T* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter<T>>;

struct KeySymbolsDeleter {
    void operator()(xcb_key_symbols_t* symbols) const { xcb_key_symbols_free(symbols); }
};
using KeySymbols = std::unique_ptr<xcb_key_symbols_t, KeySymbolsDeleter>;

std::vector<uint8_t> keycodesOf(xcb_key_symbols_t* symbols, xcb_keysym_t keysym) {
    std::vector<uint8_t> result;
    Reply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(symbols, keysym));
    for (const xcb_keycode_t* code = codes.get(); code && *code != XCB_NO_SYMBOL; ++code) {
        if (std::find(result.begin(), result.end(), *code) == result.end())
            result.push_back(*code);
    }
    return result;
}

// Asks the server not to send a release before each repeated press of a held key, so that a
// held key can be told from one pressed again. A client that uses XKB hears of keyboard map
// changes through XKB's own events instead of the core ones, so those are asked for too.
// Returns the code of XKB's first event, or -1 when the server has no XKB.
int requestDetectableAutoRepeat(xcb_connection_t* connection, bool& granted) {
    granted = false;
#ifdef QUIB_HAVE_XCB_XKB
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (!xkb || !xkb->present)
        return -1;
    Reply<xcb_xkb_use_extension_reply_t> use(xcb_xkb_use_extension_reply(
        connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
        nullptr));
    if (!use || !use->supported)
        return -1;
    const uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    Reply<xcb_xkb_per_client_flags_reply_t> flags(xcb_xkb_per_client_flags_reply(
        connection, xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0),
        nullptr));
    granted = flags && (flags->value & flag) != 0;
    const uint16_t events = XCB_XKB_EVENT_TYPE_MAP_NOTIFY | XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY;
    xcb_xkb_select_events(connection, XCB_XKB_ID_USE_CORE_KBD, events, 0, events, 0xFFFF, 0xFFFF, nullptr);
    return xkb->first_event;
#else
    (void)connection;
    return -1;
#endif
}

// XInput's opcode when the server sends raw key events during other programs' grabs, which
// needs version 2.1; -1 otherwise.
int rawKeyEventsOpcode(xcb_connection_t* connection) {
#ifdef QUIB_HAVE_XCB_XINPUT
    const xcb_query_extension_reply_t* xi = xcb_get_extension_data(connection, &xcb_input_id);
    if (!xi || !xi->present)
        return -1;
    Reply<xcb_input_xi_query_version_reply_t> version(
        xcb_input_xi_query_version_reply(connection, xcb_input_xi_query_version(connection, 2, 2), nullptr));
    if (!version || version->major_version < 2 || (version->major_version == 2 && version->minor_version < 1))
        return -1;
    return xi->major_opcode;
#else
    (void)connection;
    return -1;
#endif
}

bool isKeyboardMapChange(const xcb_generic_event_t& event, int xkbFirstEvent) {
    const uint8_t type = event.response_type & 0x7F;
    if (type == XCB_MAPPING_NOTIFY)
        return reinterpret_cast<const xcb_mapping_notify_event_t&>(event).request != XCB_MAPPING_POINTER;
#ifdef QUIB_HAVE_XCB_XKB
    // XKB's events carry their kind in the byte after the event code.
    if (xkbFirstEvent >= 0 && type == xkbFirstEvent) {
        const uint8_t kind = event.pad0;
        return kind == XCB_XKB_MAP_NOTIFY || kind == XCB_XKB_NEW_KEYBOARD_NOTIFY;
    }
#else
    (void)xkbFirstEvent;
#endif
    return false;
}

}  // namespace

std::unique_ptr<X11GlobalHotKey> X11GlobalHotKey::open(const char* displayName, Status& status) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(displayName, &screenNumber);
    xcb_screen_t* screen = nullptr;
    if (!xcb_connection_has_error(connection)) {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int i = 0; it.rem; ++i, xcb_screen_next(&it)) {
            if (i == screenNumber)
                screen = it.data;
        }
    }
    if (!screen) {
        xcb_disconnect(connection);
        status = Status::failureText(captureText::NoX11Display);
        return nullptr;
    }
    bool detectableAutoRepeat = false;
    const int xkbFirstEvent = requestDetectableAutoRepeat(connection, detectableAutoRepeat);
    status = Status::success();
    std::unique_ptr<X11GlobalHotKey> hotKey(new X11GlobalHotKey(connection, screen->root, xkbFirstEvent));
    hotKey->m_heldKeyRepeatsIgnored = detectableAutoRepeat;
    hotKey->m_rawOpcode = rawKeyEventsOpcode(connection);
    return hotKey;
}

X11GlobalHotKey::X11GlobalHotKey(xcb_connection_t* connection, uint32_t root, int xkbFirstEvent)
    : m_connection(connection), m_root(root), m_xkbFirstEvent(xkbFirstEvent) {}

X11GlobalHotKey::~X11GlobalHotKey() {
    stop();
    xcb_disconnect(m_connection);
}

int X11GlobalHotKey::fileDescriptor() const {
    return xcb_connection_has_error(m_connection) ? -1 : xcb_get_file_descriptor(m_connection);
}

std::vector<uint8_t> X11GlobalHotKey::pauseKeycodes() const {
    KeySymbols symbols(xcb_key_symbols_alloc(m_connection));
    if (!symbols)
        return {};
    return keycodesOf(symbols.get(), kPauseKeysym);
}

std::vector<uint16_t> X11GlobalHotKey::lockModifierCombinations() const {
    // Num Lock and Scroll Lock sit on whichever of Mod1..Mod5 the keyboard map gives them.
    std::vector<uint16_t> locks{XCB_MOD_MASK_LOCK};
    KeySymbols symbols(xcb_key_symbols_alloc(m_connection));
    Reply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
    if (symbols && mapping) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping.get());
        const int perModifier = mapping->keycodes_per_modifier;
        for (xcb_keysym_t lockKey : {kNumLockKeysym, kScrollLockKeysym}) {
            const std::vector<uint8_t> lockCodes = keycodesOf(symbols.get(), lockKey);
            for (int modifier = 3; modifier < 8; ++modifier) {  // Mod1..Mod5
                for (int k = 0; k < perModifier; ++k) {
                    const xcb_keycode_t code = codes[modifier * perModifier + k];
                    if (code == 0 || std::find(lockCodes.begin(), lockCodes.end(), code) == lockCodes.end())
                        continue;
                    const uint16_t mask = uint16_t(1u << modifier);
                    if (std::find(locks.begin(), locks.end(), mask) == locks.end())
                        locks.push_back(mask);
                }
            }
        }
    }
    std::vector<uint16_t> combinations;
    for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
        uint16_t mask = 0;
        for (size_t i = 0; i < locks.size(); ++i) {
            if (subset & (1u << i))
                mask |= locks[i];
        }
        combinations.push_back(mask);
    }
    return combinations;
}

Status X11GlobalHotKey::start(Callback callback) {
    stop();
    if (xcb_connection_has_error(m_connection))
        return Status::failureText(captureText::NoX11Display);
    const std::vector<uint8_t> keycodes = pauseKeycodes();
    if (keycodes.empty())
        return Status::failureText(captureText::NoPauseKey);
    const std::vector<uint16_t> locks = lockModifierCombinations();

    std::vector<xcb_void_cookie_t> cookies;
    for (uint8_t keycode : keycodes) {
        for (uint16_t shift : {uint16_t(0), uint16_t(XCB_MOD_MASK_SHIFT)}) {
            for (uint16_t lock : locks) {
                const uint16_t modifiers = uint16_t(shift | lock);
                cookies.push_back(xcb_grab_key_checked(m_connection, 1, m_root, modifiers, keycode,
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
                m_grabs.push_back(Grab{keycode, modifiers});
            }
        }
    }
    bool taken = false;
    for (xcb_void_cookie_t cookie : cookies) {
        Reply<xcb_generic_error_t> error(xcb_request_check(m_connection, cookie));
        if (error)
            taken = true;
    }
    if (taken) {
        // Half a set of grabs would make the key work only in some lock states.
        ungrabAll();
        return Status::failureText(captureText::HotKeyTaken);
    }
    m_callback = std::move(callback);
    readShiftKeys();
    selectRawKeys(true);
    return Status::success();
}

void X11GlobalHotKey::selectRawKeys(bool on) {
#ifdef QUIB_HAVE_XCB_XINPUT
    if (m_rawOpcode < 0)
        return;
    struct {
        xcb_input_event_mask_t head;
        uint32_t mask;
    } select{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, 0u};
    if (on)
        select.mask = XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE;
    if (on && m_clickCallback)
        select.mask |= XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS;
    Reply<xcb_generic_error_t> error(xcb_request_check(
        m_connection, xcb_input_xi_select_events_checked(m_connection, m_root, 1, &select.head)));
    // Without the raw events the passive grab alone hears the keys.
    if (error && on)
        m_rawOpcode = -1;
#else
    (void)on;
#endif
}

void X11GlobalHotKey::readShiftKeys() {
    // Raw events carry no modifier state: Shift is followed from its own presses, starting from
    // the keys held now.
    m_shiftKeycodes.clear();
    m_shiftsDown.clear();
    if (m_rawOpcode < 0)
        return;
    if (KeySymbols symbols{xcb_key_symbols_alloc(m_connection)}) {
        for (xcb_keysym_t keysym : {kShiftLeftKeysym, kShiftRightKeysym}) {
            for (uint8_t code : keycodesOf(symbols.get(), keysym))
                m_shiftKeycodes.push_back(code);
        }
    }
    Reply<xcb_query_keymap_reply_t> keymap(
        xcb_query_keymap_reply(m_connection, xcb_query_keymap(m_connection), nullptr));
    if (!keymap)
        return;
    for (uint8_t code : m_shiftKeycodes) {
        if (keymap->keys[code / 8] & (1u << (code % 8)))
            m_shiftsDown.push_back(code);
    }
}

bool X11GlobalHotKey::isPauseKey(uint32_t keycode) const {
    return std::any_of(m_grabs.begin(), m_grabs.end(),
                       [&](const Grab& grab) { return grab.keycode == keycode; });
}

bool X11GlobalHotKey::isShiftKey(uint32_t keycode) const {
    return std::find(m_shiftKeycodes.begin(), m_shiftKeycodes.end(), keycode) != m_shiftKeycodes.end();
}

void X11GlobalHotKey::keyPressed(uint32_t keycode, bool shift) {
    // A held key repeats its press: only the first counts.
    if (std::find(m_keysDown.begin(), m_keysDown.end(), keycode) != m_keysDown.end() || !m_callback)
        return;
    m_keysDown.push_back(keycode);
    const HotKeyAction action = shift ? HotKeyAction::ToggleTimedCapture : HotKeyAction::Capture;
    // The callback may stop the keys; keep it alive for the call.
    Callback callback = m_callback;
    callback(action);
}

bool X11GlobalHotKey::watchClicks(ClickCallback callback) {
    if (m_rawOpcode < 0)
        return false;
    m_clickCallback = std::move(callback);
    if (isActive())
        selectRawKeys(true);
    return m_rawOpcode >= 0;
}

void X11GlobalHotKey::buttonPressed(uint32_t button) {
    // 1 to 3 are the buttons; 4 to 7 are the wheel's steps.
    if (!m_clickCallback || button < 1 || button > 3)
        return;
    // Raw events carry no position: the pointer is asked for at once, before it moves far.
    Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    if (!pointer)
        return;
    ClickCallback callback = m_clickCallback;
    callback(Point{pointer->root_x, pointer->root_y});
}

void X11GlobalHotKey::keyReleased(uint32_t keycode) {
    const auto down = std::find(m_keysDown.begin(), m_keysDown.end(), keycode);
    if (down != m_keysDown.end())
        m_keysDown.erase(down);
}

void X11GlobalHotKey::ungrabAll() {
    for (const Grab& grab : m_grabs)
        xcb_ungrab_key(m_connection, grab.keycode, m_root, grab.modifiers);
    m_grabs.clear();
    m_keysDown.clear();
    selectRawKeys(false);
    xcb_flush(m_connection);
}

void X11GlobalHotKey::stop() {
    if (m_grabs.empty())
        return;
    ungrabAll();
    // Wait for the server so that another program can take the key as soon as we return.
    Reply<xcb_get_input_focus_reply_t> sync(
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    m_callback = nullptr;
}

void X11GlobalHotKey::processEvents() {
    while (xcb_generic_event_t* raw = xcb_poll_for_event(m_connection)) {
        Reply<xcb_generic_event_t> event(raw);
        const uint8_t type = event->response_type & 0x7F;
        if (isKeyboardMapChange(*event, m_xkbFirstEvent)) {
            // The Pause key or a lock key may sit elsewhere now: grab again from the new map.
            if (isActive()) {
                Callback callback = m_callback;
                (void)start(std::move(callback));
            }
            continue;
        }
#ifdef QUIB_HAVE_XCB_XINPUT
        if (type == XCB_GE_GENERIC && m_rawOpcode >= 0) {
            const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(raw);
            if (generic->extension != m_rawOpcode)
                continue;
            const auto* key = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(raw);
            if (generic->event_type == XCB_INPUT_RAW_BUTTON_PRESS) {
                // The button sits where a key's code does.
                buttonPressed(key->detail);
                continue;
            }
            const bool press = generic->event_type == XCB_INPUT_RAW_KEY_PRESS;
            if (!press && generic->event_type != XCB_INPUT_RAW_KEY_RELEASE)
                continue;
            if (isShiftKey(key->detail)) {
                const auto down = std::find(m_shiftsDown.begin(), m_shiftsDown.end(), key->detail);
                if (press && down == m_shiftsDown.end())
                    m_shiftsDown.push_back(key->detail);
                else if (!press && down != m_shiftsDown.end())
                    m_shiftsDown.erase(down);
            } else if (isPauseKey(key->detail)) {
                if (press)
                    keyPressed(key->detail, !m_shiftsDown.empty());
                else
                    keyReleased(key->detail);
            }
            continue;
        }
#endif
        // Every press that reaches the passive grab has come as a raw event before it on this
        // connection; counting only those makes a press heard both ways count once.
        if ((type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) || m_rawOpcode >= 0)
            continue;
        // Press and release events share one layout.
        const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(raw);
        if (!isPauseKey(key->detail))
            continue;
        if (type == XCB_KEY_RELEASE)
            keyReleased(key->detail);
        else
            keyPressed(key->detail, (key->state & XCB_MOD_MASK_SHIFT) != 0);
    }
    if (xcb_connection_has_error(m_connection)) {
        // The display is gone: nothing is grabbed any more, and the descriptor would stay
        // readable for ever.
        m_grabs.clear();
        m_keysDown.clear();
        m_callback = nullptr;
    }
}

std::unique_ptr<X11LockKeyReader> X11LockKeyReader::open(const char* displayName, Status& status) {
    xcb_connection_t* connection = xcb_connect(displayName, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        status = Status::failureText(captureText::NoX11Display);
        return nullptr;
    }
    bool xkb = false;
#ifdef QUIB_HAVE_XCB_XKB
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (extension && extension->present) {
        Reply<xcb_xkb_use_extension_reply_t> use(xcb_xkb_use_extension_reply(
            connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
            nullptr));
        xkb = use && use->supported;
    }
#endif
    status = Status::success();
    return std::unique_ptr<X11LockKeyReader>(new X11LockKeyReader(connection, xkb));
}

X11LockKeyReader::~X11LockKeyReader() {
    xcb_disconnect(m_connection);
}

LockKeys X11LockKeyReader::read() {
    LockKeys keys;
    if (xcb_connection_has_error(m_connection))
        return keys;
    uint32_t state = 0;
#ifdef QUIB_HAVE_XCB_XKB
    if (m_xkb) {
        Reply<xcb_xkb_get_indicator_state_reply_t> reply(xcb_xkb_get_indicator_state_reply(
            m_connection, xcb_xkb_get_indicator_state(m_connection, XCB_XKB_ID_USE_CORE_KBD), nullptr));
        if (!reply)
            return keys;
        state = reply->state;
    }
#endif
    if (!m_xkb) {
        // Without XKB the core keyboard's lit LEDs say the same.
        Reply<xcb_get_keyboard_control_reply_t> reply(
            xcb_get_keyboard_control_reply(m_connection, xcb_get_keyboard_control(m_connection), nullptr));
        if (!reply)
            return keys;
        state = reply->led_mask;
    }
    // Caps Lock is indicator 0 and Num Lock indicator 1 in the core keyboard's usual layout.
    keys.capsLock = state & 0x1;
    keys.numLock = state & 0x2;
    keys.known = true;
    return keys;
}

}  // namespace quib
