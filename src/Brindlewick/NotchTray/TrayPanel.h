#pragma once

#include <QRect>
#include <QWidget>
#include <optional>

class AppModel;
class TrayState;
class TrayView;

// The window that carries the tray: frameless, transparent, above normal windows, never taking the
// keyboard focus, on every workspace and out of the taskbar and pager. The window manager leaves it
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

protected:
    void showEvent(QShowEvent *event) override;

private:
    void clipToShape();

    TrayView *m_view;
    std::optional<QRect> m_activeArea;
    bool m_compositing = false;
};
