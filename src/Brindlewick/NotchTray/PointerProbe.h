#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>
#include <xcb/xcb.h>

class QSocketNotifier;

// Where the pointer is on the screen (y down), asked by the tray's poll twenty times a second. On an
// X server it asks over a connection of its own (Qt's connection has a reader thread that every reply
// would wake too) and never waits: `ask` sends the question, and the answer, read the moment the
// server's reply arrives, goes to `answered`. So each answer is the pointer as it is now, not as it
// was a poll ago. A question still unanswered is not asked again. Elsewhere Qt answers at once.
class PointerProbe : public QObject {
    Q_OBJECT
public:
    explicit PointerProbe(std::function<void(QPoint)> answered, QObject *parent = nullptr);
    ~PointerProbe() override;

    void ask();

private:
    void read();

    std::function<void(QPoint)> m_answered;
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    std::unique_ptr<QSocketNotifier> m_replies;
    unsigned int m_question = 0;
    bool m_asking = false;
};
