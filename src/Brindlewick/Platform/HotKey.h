#pragma once

#include <QObject>
#include <functional>
#include <memory>

class GlobalShortcutsPortal;
class X11KeyGrab;

// The global Quick Note key, Ctrl+Alt+N, pressed in any application. Under X11 (XWayland included)
// it is a key grab on the root window; in a Wayland session whose desktop offers the GlobalShortcuts
// portal, the portal binds it instead. Anywhere else it cannot be registered.
class HotKey : public QObject {
    Q_OBJECT

public:
    explicit HotKey(QObject *parent = nullptr);
    ~HotKey() override;

    // The one the application registers; made on first use.
    static HotKey &shared();

    // Drops any earlier registration, then registers anew. Under X11 `registered()` is known on
    // return (false when another client holds the key); through the portal it turns true once the
    // desktop has bound the key, announced by `registeredChanged`.
    void registerKey();
    // Gives the key back; does nothing else when nothing is registered.
    void release();
    bool registered() const { return m_registered; }

    // What a press does: run on the main thread from the event loop, after the press was handled.
    // Nothing happens while it is unset.
    std::function<void()> action;

signals:
    void registeredChanged();

private:
    void grabOnX11();
    void setRegistered(bool registered);
    void pressed();

    std::unique_ptr<X11KeyGrab> m_grab;
    std::unique_ptr<GlobalShortcutsPortal> m_portal;
    bool m_registered = false;
};
