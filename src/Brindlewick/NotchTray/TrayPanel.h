#pragma once

#include <QRect>
#include <QWidget>
#include <optional>

class AppModel;
class TrayState;
class TrayView;

// The window that carries the tray: frameless, transparent, above normal windows, not taking the
// keyboard focus unless handed it, on every workspace and out of the taskbar and pager. The window manager leaves it
// alone (it would frame it, and its frame would take the clicks meant to pass through). It spans the
// top of the tray screen; the pointer and clicks reach it only inside its active area and pass to the
// windows beneath everywhere else. Without a compositing manager only the tray shape shows, so
// translucent pixels never darken the top of the screen.
class TrayPanel : public QWidget {
    Q_OBJECT
public:
    TrayPanel(TrayState &state, AppModel &model);

    TrayView *view() const { return m_view; }
    // Where the pointer and clicks are taken, in the panel's coordinates; none passes everything on.
    void setActiveArea(const std::optional<QRect> &area);
    // Looks again whether a compositing manager runs, and shapes the window for the answer.
    void followCompositing();
    // The open tray takes the keyboard, its focus shown, until handed back; meanwhile the window
    // accepts the focus.
    void takeKeyboard();
    // The window no longer accepts the focus; the keyboard goes back to `window` when the tray has it,
    // or to no window of this program when `window` cannot take it.
    void giveBackKeyboard(QWidget *window);
    bool acceptsFocus() const { return !windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void clipToShape();
    // Changes the flag on the shown window itself: setting the widget's flags would make it anew.
    void setAcceptsFocus(bool accepts);

    TrayView *m_view;
    std::optional<QRect> m_activeArea;
    bool m_compositing = false;
};
