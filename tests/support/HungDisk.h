#pragma once

#include "Patience.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

// A disk that stops answering: writes wait in `write` until the test lets it answer. It answers by
// itself once the test's patience is spent, so a write waited for on the wrong thread fails the test
// instead of hanging it.
class HungDisk {
public:
    void write()
    {
        ++m_writes;
        std::unique_lock lock(m_mutex);
        m_answered.wait_for(lock, std::chrono::milliseconds(patienceMs), [this] { return m_answering; });
    }
    void answer()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_answering = true;
        }
        m_answered.notify_all();
    }
    int writes() const { return m_writes; }

private:
    std::mutex m_mutex;
    std::condition_variable m_answered;
    bool m_answering = false;
    std::atomic<int> m_writes = 0;
};

// The same for another process: a disk of its own, the folder `backing` mounted at `at` with FUSE
// (support/hung-disk), whose every request from `hang` on waits until `answer`. Where no FUSE disk can
// be mounted (no /dev/fuse, no right to mount, no python3-fusepy), `unavailable` says why. It answers
// and unmounts when it goes.
class HungMount {
public:
    HungMount(const QString &backing, const QString &at) : m_at(at)
    {
        if (!QFile::exists(QStringLiteral("/dev/fuse"))) {
            m_unavailable = QStringLiteral("there is no /dev/fuse");
            return;
        }
        m_daemon.start(QStringLiteral(BRINDLEWICK_TEST_SUPPORT "/hung-disk"), {backing, at});
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(patienceMs))
            continue;
        if (m_daemon.readLine().trimmed() == "mounted")
            return;
        const QString error = QString::fromLocal8Bit(m_daemon.readAllStandardError()).trimmed();
        m_unavailable = error.isEmpty() ? QStringLiteral("the FUSE disk did not mount") : error;
    }
    ~HungMount()
    {
        // The end of its input answers and unmounts.
        m_daemon.closeWriteChannel();
        if (m_daemon.waitForFinished(patienceMs) || m_unavailable)
            return;
        m_daemon.kill();
        m_daemon.waitForFinished(patienceMs);
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_at});
    }
    HungMount(const HungMount &) = delete;
    HungMount &operator=(const HungMount &) = delete;

    const std::optional<QString> &unavailable() const { return m_unavailable; }
    void hang() { tell("hang\n"); }
    void answer() { tell("answer\n"); }

private:
    void tell(const char *line)
    {
        m_daemon.write(line);
        m_daemon.waitForBytesWritten(patienceMs);
    }

    QString m_at;
    QProcess m_daemon;
    std::optional<QString> m_unavailable;
};
