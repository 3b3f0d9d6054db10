#pragma once

#include "Date.h"

#include <QObject>

class QSocketNotifier;

// Rings at a moment of the wall clock rather than after a span of time: a QTimer stops counting
// while the machine sleeps, this does not. It also rings whenever the clock is set or the system
// wakes, so its owner can look at the time again. Rings at once when armed for a moment passed.
class WallClockAlarm : public QObject {
    Q_OBJECT
public:
    explicit WallClockAlarm(QObject *parent = nullptr);
    ~WallClockAlarm() override;

    void arm(Date at);
    void disarm();

signals:
    void rang();

private:
    void settle();

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
};
