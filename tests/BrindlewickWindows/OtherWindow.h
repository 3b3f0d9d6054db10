#pragma once

#include <QProcess>
#include <QRect>
#include <QWidget>

// An ordinary window of another program (xmessage), for stacking and focus to be measured against.
class OtherWindow {
public:
    // Shown at `geometry` (y down); `id()` is 0 when it never showed.
    explicit OtherWindow(const QRect &geometry);
    ~OtherWindow();
    OtherWindow(const OtherWindow &) = delete;
    OtherWindow &operator=(const OtherWindow &) = delete;

    WId id() const { return m_id; }
    // Gives it the focus and raises it, as a click on it would.
    bool activate() const;

private:
    QProcess m_process;
    WId m_id = 0;
};
