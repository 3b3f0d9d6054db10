#pragma once

#include "PointerProbe.h"
#include "TrayRules.h"
#include "TrayState.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class AppModel;
class StickyNote;
class TrayPanel;
class X11KeyGrab;

// Owns the tray: its state, its panel across the top of the tray screen, and the pointer poll that
// opens it on hover, closes it on leave, retires banners and lets clicks through wherever the tray is
// not. It follows the "trayEnabled" setting (on: shown and polling twenty times a second; off:
// hidden, not polling, at rest) and the screens. Ringing tucked notes and the menu's toggle reach it.
class TrayController : public QObject {
    Q_OBJECT
public:
    static constexpr int pollMilliseconds = 50;

    explicit TrayController(AppModel &model, QObject *parent = nullptr);
    ~TrayController() override;

    // Opens the tray, or returns an open tray to rest; also while the tray is off. Opened so, it stays
    // open until toggled again, Escape is pressed (in the tray, or in any other application) or the
    // pointer has been on it and left. The open tray takes the keyboard and, when it closes with it,
    // gives it back to the window that had it.
    void toggle();
    // Drops a banner for a ringing tucked note for at least 10 seconds; nothing while the tray is off
    // or open.
    void ring(const StickyNote &note);
    // The open tray's rectangle (y up) while the tray is on, whatever the mode; none while it is off.
    std::optional<QRectF> openRect() const;
    // Whether a tucked note is shown under the tray; an open tray then stays open. Answers false
    // until the start-up wiring sets it.
    std::function<bool()> isPeeking;

    TrayState &state() { return m_state; }
    // None until the tray is first turned on.
    TrayPanel *panel() const { return m_panel.get(); }
    bool isPolling() const { return m_poll.isActive(); }
    // A toggle holds the tray open: the pointer has not been on it since.
    bool isHeldOpen() const { return m_rules.isHeldOpen(m_state.mode()); }

signals:
    // The open tray's "All Notes" was clicked.
    void libraryAsked();

private:
    void place();
    void makePanel();
    void setEnabled(bool on);
    void track(QPoint pointer);
    void followHold();
    // Whether the keyboard is in the tray or the note shown under it, which take Escape themselves.
    bool keyboardInTray() const;
    void takeKeyboard();
    void followKeyboard();
    void countTucked();
    void remeasure();
    double seconds() const;
    QPointF yUp(QPoint qt) const;
    QRect inPanel(const QRectF &yUp) const;

    AppModel &m_model;
    TrayState m_state;
    TrayRules m_rules;
    std::unique_ptr<TrayPanel> m_panel;
    QTimer m_poll;
    QElapsedTimer m_clock;
    PointerProbe m_pointer;
    // Escape, taken from every application while a toggle holds the tray open.
    std::unique_ptr<X11KeyGrab> m_escape;
    bool m_holding = false;
    // The window that had the keyboard when the tray took it.
    QPointer<QWidget> m_keyboardFrom;
    // The panel's frame in both coordinates, kept from the last placing, so that a tick converts the
    // pointer and the active area without asking for the screens.
    QRectF m_frame;
    QRect m_placed;
    bool m_hasTucked = false;
};
