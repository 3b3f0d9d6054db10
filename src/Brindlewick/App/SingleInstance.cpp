#include "SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {

const QByteArray reopenMessage = QByteArrayLiteral("reopen\n");

// The running process may hold the lock a moment before it listens.
constexpr int connectAttempts = 20;
constexpr int connectWaitMs = 100;

} // namespace

QString SingleInstance::defaultPath()
{
    const QDir runtime(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    return runtime.filePath(QStringLiteral("brindlewick.socket"));
}

SingleInstance::SingleInstance(QString socketPath, QObject *parent)
    : QObject(parent), m_path(std::move(socketPath)), m_lock(m_path + QStringLiteral(".lock"))
{
    // Only a dead owner makes a lock stale, never its age: the app may run for weeks.
    m_lock.setStaleLockTime(0);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

// A lock that cannot be made at all (no runtime folder) says nothing about another process, and
// running twice is better than not running: only a lock held by a live process means "not us".
bool SingleInstance::claim()
{
    if (m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError) {
        listen();
        return true;
    }
    tellRunningInstance();
    return false;
}

// Holding the lock, any socket file left at the path belongs to a run that is gone.
void SingleInstance::listen()
{
    QLocalServer::removeServer(m_path);
    m_server.listen(m_path);
}

void SingleInstance::accept()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Nothing we understand is longer than the message: a peer that sends a longer line is
            // cut off rather than buffered without end.
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine(reopenMessage.size() + 1);
                if (!line.endsWith('\n'))
                    return socket->abort();
                if (line == reopenMessage)
                    emit reopen();
            }
            if (socket->bytesAvailable() > reopenMessage.size())
                socket->abort();
        });
    }
}

void SingleInstance::tellRunningInstance()
{
    QLocalSocket socket;
    for (int attempt = 0; attempt < connectAttempts; ++attempt) {
        socket.connectToServer(m_path);
        if (socket.waitForConnected(connectWaitMs))
            break;
        QThread::msleep(connectWaitMs);
    }
    if (socket.state() != QLocalSocket::ConnectedState)
        return;
    socket.write(reopenMessage);
    socket.waitForBytesWritten(connectAttempts * connectWaitMs);
    socket.disconnectFromServer();
}
