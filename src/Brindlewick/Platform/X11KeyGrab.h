#pragma once

#include <QAbstractNativeEventFilter>
#include <QList>
#include <functional>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

// A passive grab of one key combination on the root window, so the key reaches this application
// whichever window has the focus. It is grabbed in every Lock/NumLock variant, since X matches
// modifiers exactly. Presses arrive through Qt's native event filter and are swallowed there.
class X11KeyGrab : public QAbstractNativeEventFilter {
public:
    // `keysym` names the key ("n" is 0x6e); `modifiers` of Control, Alt, Shift and Meta. None when
    // another X client already holds the combination (the server answers BadAccess) or no key of the
    // keyboard map produces the keysym.
    static std::unique_ptr<X11KeyGrab> grab(xcb_connection_t *connection, uint32_t keysym,
                                            Qt::KeyboardModifiers modifiers, std::function<void()> onPress);
    // Releases the grab.
    ~X11KeyGrab() override;
    X11KeyGrab(const X11KeyGrab &) = delete;
    X11KeyGrab &operator=(const X11KeyGrab &) = delete;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    X11KeyGrab(xcb_connection_t *connection, std::function<void()> onPress);
    bool grabAll();
    void ungrabAll();
    bool matches(const xcb_key_press_event_t &event) const;

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    std::function<void()> m_onPress;
    QList<xcb_keycode_t> m_keycodes;
    uint16_t m_modifiers = 0;
    // Lock and NumLock: grabbed in every combination and ignored when a press arrives.
    uint16_t m_ignored = 0;
    bool m_held = false;
    std::optional<xcb_timestamp_t> m_lastRelease;
};
