#include "MountWatch.h"

#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

MountWatch::MountWatch(QObject *parent) : QObject(parent)
{
    m_fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return;
    // The poll that reports a change also takes note of it: nothing needs to be read.
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &MountWatch::changed);
}

MountWatch::~MountWatch()
{
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}
