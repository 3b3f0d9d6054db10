#pragma once

#include <QObject>

class QSocketNotifier;

// Says when a disk is mounted or unmounted anywhere, without waking on a timer: the kernel marks the
// process's mount table at every change, which a poll sees as an exception.
class MountWatch final : public QObject {
    Q_OBJECT
public:
    explicit MountWatch(QObject *parent = nullptr);
    ~MountWatch() override;

signals:
    void changed();

private:
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
};
