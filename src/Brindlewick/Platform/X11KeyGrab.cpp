#include "X11KeyGrab.h"

#include "X11.h"

#include <QCoreApplication>
#include <X11/keysym.h>
#include <cstdlib>
#include <xcb/xcb_keysyms.h>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

using KeySymbols = std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)>;

constexpr uint16_t allModifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_LOCK | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1
                                  | XCB_MOD_MASK_2 | XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

QList<xcb_keycode_t> keycodesOf(xcb_key_symbols_t *symbols, xcb_keysym_t keysym)
{
    QList<xcb_keycode_t> found;
    const Reply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(symbols, keysym), &std::free);
    for (const xcb_keycode_t *code = codes.get(); code && *code != XCB_NO_SYMBOL; ++code)
        found.append(*code);
    return found;
}

// The modifier bit a key such as Num_Lock or Alt_L is mapped to, else `fallback` (the usual mapping).
uint16_t modifierOf(xcb_connection_t *connection, xcb_key_symbols_t *symbols, xcb_keysym_t keysym,
                    uint16_t fallback)
{
    const QList<xcb_keycode_t> keys = keycodesOf(symbols, keysym);
    const Reply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr), &std::free);
    if (!mapping || keys.isEmpty())
        return fallback;
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            if (keys.contains(codes[modifier * perModifier + i]))
                return static_cast<uint16_t>(1u << modifier);
        }
    }
    return fallback;
}

uint16_t modifierMask(xcb_connection_t *connection, xcb_key_symbols_t *symbols, Qt::KeyboardModifiers modifiers)
{
    uint16_t mask = 0;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::AltModifier)
        mask |= modifierOf(connection, symbols, XK_Alt_L, XCB_MOD_MASK_1);
    if (modifiers & Qt::MetaModifier)
        mask |= modifierOf(connection, symbols, XK_Super_L, XCB_MOD_MASK_4);
    return mask;
}

// Every combination of the ignored bits, none included.
QList<uint16_t> variantsOf(uint16_t ignored)
{
    QList<uint16_t> variants{0};
    for (uint16_t bit = 1; bit != 0 && bit <= ignored; bit = static_cast<uint16_t>(bit << 1)) {
        if (!(ignored & bit))
            continue;
        for (qsizetype i = 0, n = variants.size(); i < n; ++i)
            variants.append(static_cast<uint16_t>(variants[i] | bit));
    }
    return variants;
}

} // namespace

std::unique_ptr<X11KeyGrab> X11KeyGrab::grab(xcb_connection_t *connection, uint32_t keysym,
                                             Qt::KeyboardModifiers modifiers, std::function<void()> onPress)
{
    const KeySymbols symbols(xcb_key_symbols_alloc(connection), &xcb_key_symbols_free);
    if (!symbols)
        return nullptr;
    std::unique_ptr<X11KeyGrab> made(new X11KeyGrab(connection, std::move(onPress)));
    made->m_keycodes = keycodesOf(symbols.get(), keysym);
    made->m_modifiers = modifierMask(connection, symbols.get(), modifiers);
    made->m_ignored = static_cast<uint16_t>(XCB_MOD_MASK_LOCK
                                            | modifierOf(connection, symbols.get(), XK_Num_Lock, XCB_MOD_MASK_2));
    if (made->m_keycodes.isEmpty() || !made->grabAll())
        return nullptr;
    QCoreApplication::instance()->installNativeEventFilter(made.get());
    return made;
}

X11KeyGrab::X11KeyGrab(xcb_connection_t *connection, std::function<void()> onPress)
    : m_connection(connection), m_root(X11::rootWindow(connection)), m_onPress(std::move(onPress))
{
}

X11KeyGrab::~X11KeyGrab()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
    ungrabAll();
}

// All or nothing: when any variant is refused, the destructor gives back the ones taken.
bool X11KeyGrab::grabAll()
{
    QList<xcb_void_cookie_t> cookies;
    for (const xcb_keycode_t keycode : std::as_const(m_keycodes)) {
        for (const uint16_t variant : variantsOf(m_ignored)) {
            cookies.append(xcb_grab_key_checked(m_connection, 0, m_root, m_modifiers | variant, keycode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    bool refused = false;
    for (const xcb_void_cookie_t cookie : std::as_const(cookies)) {
        const Reply<xcb_generic_error_t> error(xcb_request_check(m_connection, cookie), &std::free);
        refused = refused || error != nullptr;
    }
    return !refused;
}

void X11KeyGrab::ungrabAll()
{
    for (const xcb_keycode_t keycode : std::as_const(m_keycodes)) {
        for (const uint16_t variant : variantsOf(m_ignored))
            xcb_ungrab_key(m_connection, keycode, m_root, m_modifiers | variant);
    }
    xcb_flush(m_connection);
}

bool X11KeyGrab::matches(const xcb_key_press_event_t &event) const
{
    const uint16_t held = event.state & allModifiers & ~m_ignored;
    return event.event == m_root && held == m_modifiers && m_keycodes.contains(event.detail);
}

bool X11KeyGrab::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *generic = static_cast<const xcb_generic_event_t *>(message);
    const uint8_t type = generic->response_type & ~0x80;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // Press and release share one layout.
    const auto *key = static_cast<const xcb_key_press_event_t *>(message);
    if (type == XCB_KEY_RELEASE) {
        // Modifiers may already be up when the key itself is let go, so any release of the key counts.
        if (key->event == m_root && m_keycodes.contains(key->detail)) {
            m_held = false;
            m_lastRelease = key->time;
        }
        return matches(*key);
    }
    if (!matches(*key))
        return false;
    // A key held down repeats, as presses without releases or, without detectable auto-repeat, as
    // release and press pairs stamped with one time. Only the first press acts.
    const bool repeat = m_held || m_lastRelease == key->time;
    m_held = true;
    if (!repeat && m_onPress)
        m_onPress();
    return true;
}
