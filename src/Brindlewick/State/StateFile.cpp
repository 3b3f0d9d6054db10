#include "StateFile.h"

#include "OwnFolder.h"
#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

// A state file holds a few lists; anything much larger is not ours to read.
constexpr qint64 largestFile = 1 << 20;

QByteArray readOwn(const QString &path)
{
    const int folder = OwnFolder::open(QFileInfo(path).absolutePath());
    if (folder < 0)
        return {};
    ::close(folder);
    RegularFile::removeTemporaries(path);
    bool missing = false;
    const std::variant<QByteArray, QString> read = RegularFile::read(path, missing, largestFile);
    const QByteArray *bytes = std::get_if<QByteArray>(&read);
    return bytes ? *bytes : QByteArray();
}

// The folder is made only for something to keep in it.
void store(const QString &path, const QByteArray &bytes)
{
    const QFileInfo file(path);
    if (!bytes.isEmpty())
        OwnFolder::make(file.absolutePath());
    const int folder = OwnFolder::open(file.absolutePath());
    if (folder < 0)
        return;
    if (bytes.isEmpty())
        ::unlinkat(folder, QFile::encodeName(file.fileName()).constData(), 0);
    else
        RegularFile::replaceIn(folder, file.fileName(), bytes);
    ::close(folder);
}

} // namespace

StateFile::StateFile(QString path) : m_path(std::move(path)), m_content(readOwn(m_path)) {}

StateFile::~StateFile()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void StateFile::write(QByteArray bytes)
{
    {
        const std::lock_guard lock(m_mutex);
        m_next = std::move(bytes);
    }
    if (!m_thread.joinable())
        m_thread = std::thread([this] { run(); });
    m_wake.notify_one();
}

bool StateFile::finish(QDeadlineTimer deadline)
{
    std::unique_lock lock(m_mutex);
    const auto done = [this] { return !m_next && !m_writing; };
    if (deadline.isForever()) {
        m_idle.wait(lock, done);
        return true;
    }
    return m_idle.wait_for(lock, std::chrono::milliseconds(deadline.remainingTime()), done);
}

// What waits is written before the thread stops.
void StateFile::run()
{
    ::pthread_setname_np(::pthread_self(), "StateFile");
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_next || m_stopping; });
        if (!m_next)
            return;
        const QByteArray bytes = *std::exchange(m_next, std::nullopt);
        m_writing = true;
        lock.unlock();
        store(m_path, bytes);
        lock.lock();
        m_writing = false;
        m_idle.notify_all();
    }
}
