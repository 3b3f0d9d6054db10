#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Runs a library view's refresh only while the view is on screen; a hidden view catches up when it
// shows. The library's views outlive their closed window, and a notebook of any size must cost them
// nothing on the clock's ticks and the notes' edits while nobody sees them.
class ShownRefresh : public QObject {
public:
    ShownRefresh(QWidget *view, std::function<void()> refresh);

    // The model changed: refresh now if the view is shown, else when it next shows.
    void request();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_view;
    std::function<void()> m_refresh;
    bool m_stale = false;
};
