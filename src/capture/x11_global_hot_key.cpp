#include "x11_global_hot_key.h"

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdlib>

#include "capture_messages.h"

namespace quib {

namespace {

constexpr xcb_keysym_t kPauseKeysym = 0xFF13;
constexpr xcb_keysym_t kNumLockKeysym = 0xFF7F;
constexpr xcb_keysym_t kScrollLockKeysym = 0xFF14;

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
        if (std::find(result.begin(), result.end(), *code) == result.end()) result.push_back(*code);
    }
    return result;
}

}  // namespace

std::unique_ptr<X11GlobalHotKey> X11GlobalHotKey::open(const char* displayName, Status& status) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(displayName, &screenNumber);
    xcb_screen_t* screen = nullptr;
    if (!xcb_connection_has_error(connection)) {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
        for (int i = 0; it.rem; ++i, xcb_screen_next(&it)) {
            if (i == screenNumber) screen = it.data;
        }
    }
    if (!screen) {
        xcb_disconnect(connection);
        status = Status::failureText(captureText::NoX11Display);
        return nullptr;
    }
    status = Status::success();
    return std::unique_ptr<X11GlobalHotKey>(new X11GlobalHotKey(connection, screen->root));
}

X11GlobalHotKey::X11GlobalHotKey(xcb_connection_t* connection, uint32_t root)
    : m_connection(connection), m_root(root) {}

X11GlobalHotKey::~X11GlobalHotKey() {
    stop();
    xcb_disconnect(m_connection);
}

int X11GlobalHotKey::fileDescriptor() const {
    return xcb_connection_has_error(m_connection) ? -1 : xcb_get_file_descriptor(m_connection);
}

std::vector<uint8_t> X11GlobalHotKey::pauseKeycodes() const {
    KeySymbols symbols(xcb_key_symbols_alloc(m_connection));
    if (!symbols) return {};
    return keycodesOf(symbols.get(), kPauseKeysym);
}

std::vector<uint16_t> X11GlobalHotKey::lockModifierCombinations() const {
    // Num Lock and Scroll Lock sit on whichever of Mod1..Mod5 the keyboard map gives them.
    std::vector<uint16_t> locks{XCB_MOD_MASK_LOCK};
    KeySymbols symbols(xcb_key_symbols_alloc(m_connection));
    Reply<xcb_get_modifier_mapping_reply_t> mapping(xcb_get_modifier_mapping_reply(
        m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
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
                    if (std::find(locks.begin(), locks.end(), mask) == locks.end()) locks.push_back(mask);
                }
            }
        }
    }
    std::vector<uint16_t> combinations;
    for (unsigned subset = 0; subset < (1u << locks.size()); ++subset) {
        uint16_t mask = 0;
        for (size_t i = 0; i < locks.size(); ++i) {
            if (subset & (1u << i)) mask |= locks[i];
        }
        combinations.push_back(mask);
    }
    return combinations;
}

Status X11GlobalHotKey::start(Callback callback) {
    stop();
    if (xcb_connection_has_error(m_connection)) return Status::failureText(captureText::NoX11Display);
    const std::vector<uint8_t> keycodes = pauseKeycodes();
    if (keycodes.empty()) return Status::failureText(captureText::NoPauseKey);
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
        if (error) taken = true;
    }
    if (taken) {
        // Half a set of grabs would make the key work only in some lock states.
        ungrabAll();
        return Status::failureText(captureText::HotKeyTaken);
    }
    m_callback = std::move(callback);
    return Status::success();
}

void X11GlobalHotKey::ungrabAll() {
    for (const Grab& grab : m_grabs) xcb_ungrab_key(m_connection, grab.keycode, m_root, grab.modifiers);
    m_grabs.clear();
    xcb_flush(m_connection);
}

void X11GlobalHotKey::stop() {
    if (m_grabs.empty()) return;
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
        if (type == XCB_MAPPING_NOTIFY && isActive()) {
            // The Pause key or a lock key may sit elsewhere now: grab again from the new map.
            const auto* mapping = reinterpret_cast<const xcb_mapping_notify_event_t*>(raw);
            if (mapping->request != XCB_MAPPING_POINTER) {
                Callback callback = m_callback;
                (void)start(std::move(callback));
            }
            continue;
        }
        if (type != XCB_KEY_PRESS || !m_callback) continue;
        const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(raw);
        const bool ours = std::any_of(m_grabs.begin(), m_grabs.end(),
                                      [&](const Grab& grab) { return grab.keycode == press->detail; });
        if (!ours) continue;
        const HotKeyAction action =
            (press->state & XCB_MOD_MASK_SHIFT) ? HotKeyAction::ToggleTimedCapture : HotKeyAction::Capture;
        // The callback may stop the keys; keep it alive for the call.
        Callback callback = m_callback;
        callback(action);
    }
}

}  // namespace quib
