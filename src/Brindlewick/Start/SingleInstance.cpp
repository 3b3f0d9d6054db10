#include "SingleInstance.h"

#include "OwnFolder.h"
#include "State/Paths.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

namespace {

const QByteArray reopenMessage = QByteArrayLiteral("reopen\n");
// The running process's answer once it has taken the message.
const QByteArray answer = QByteArrayLiteral("ok\n");

// How long a launch keeps trying to reach the running process: it may hold the lock a moment before
// it listens, or be busy with other peers for up to `peerTimeoutMs`.
constexpr int launchPatienceMs = 5000;
constexpr int retryWaitMs = 100;

// A launch says its one line at once; a peer that holds on longer or crowds in is cut off.
constexpr int mostPeers = 8;
constexpr int peerTimeoutMs = 2000;

// The folder with every link on the way resolved; a part not made yet is kept as written.
QString realPath(const QString &folder)
{
    QString there = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QStringList rest;
    while (!QFileInfo::exists(there) && there != QDir::rootPath()) {
        rest.prepend(QFileInfo(there).fileName());
        there = QFileInfo(there).absolutePath();
    }
    rest.prepend(QFileInfo(there).canonicalFilePath());
    return QDir::cleanPath(rest.join(QLatin1Char('/')));
}

// Where another user cannot have put a socket or a lock of their own: $XDG_RUNTIME_DIR when it is
// this user's alone, else a folder of that kind made in the state folder.
std::optional<QString> privateFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && OwnFolder::isPrivate(runtime))
        return runtime;
    const QString own = QDir(Paths::stateFolder()).filePath(QStringLiteral("run"));
    if (!OwnFolder::make(own) && OwnFolder::isPrivate(own))
        return own;
    return std::nullopt;
}

} // namespace

std::optional<QString> SingleInstance::pathFor(const QString &dataFolder)
{
    const std::optional<QString> folder = privateFolder();
    if (!folder)
        return std::nullopt;
    const QByteArray real = QFile::encodeName(realPath(dataFolder));
    const QByteArray digest = QCryptographicHash::hash(real, QCryptographicHash::Sha256).toHex().left(16);
    return QDir(*folder).filePath(QStringLiteral("brindlewick-%1.socket").arg(QString::fromLatin1(digest)));
}

SingleInstance::SingleInstance(QString socketPath, QObject *parent)
    : QObject(parent), m_path(std::move(socketPath)), m_lock(m_path + QStringLiteral(".lock"))
{
    // Only a dead owner makes a lock stale, never its age: the app may run for weeks.
    m_lock.setStaleLockTime(0);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

// Peers still served go with the server; they must not ask it to listen again as they go.
SingleInstance::~SingleInstance()
{
    for (QLocalSocket *peer : m_server.findChildren<QLocalSocket *>())
        peer->disconnect(this);
}

// A lock that cannot be made at all (no runtime folder) says nothing about another process, and
// running twice is better than not running: only a lock held by a live process means "not us".
bool SingleInstance::claim(bool reopenRunning)
{
    if (m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError) {
        listen();
        return true;
    }
    if (reopenRunning)
        tellRunningInstance();
    return false;
}

// Holding the lock, any socket file left at the path belongs to a run that is gone. Qt's server stops
// listening for good when an accept fails (out of descriptors), so this runs again whenever a peer
// goes.
void SingleInstance::listen()
{
    if (m_server.isListening())
        return;
    QLocalServer::removeServer(m_path);
    m_server.listen(m_path);
}

void SingleInstance::accept()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        if (m_peers >= mostPeers) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        serve(socket);
    }
    listen();
}

void SingleInstance::serve(QLocalSocket *socket)
{
    ++m_peers;
    connect(socket, &QObject::destroyed, this, [this] {
        --m_peers;
        listen();
    });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(peerTimeoutMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        // Nothing we understand is longer than the message: a peer that sends a longer line is
        // cut off rather than buffered without end.
        while (socket->canReadLine()) {
            const QByteArray line = socket->readLine(reopenMessage.size() + 1);
            if (!line.endsWith('\n'))
                return socket->abort();
            if (line == reopenMessage) {
                socket->write(answer);
                socket->disconnectFromServer();
                emit reopen();
                return;
            }
        }
        if (socket->bytesAvailable() > reopenMessage.size())
            socket->abort();
    });
}

// Tries until the running process answers or time is up: it may still be starting, or busy with
// peers that crowd it, each of which it lets go within `peerTimeoutMs`.
void SingleInstance::tellRunningInstance()
{
    const QDeadlineTimer deadline(launchPatienceMs);
    while (!m_handedOver && !deadline.hasExpired()) {
        m_handedOver = askToReopen(deadline);
        if (!m_handedOver)
            QThread::msleep(retryWaitMs);
    }
}

bool SingleInstance::askToReopen(const QDeadlineTimer &deadline) const
{
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    socket.write(reopenMessage);
    while (!socket.canReadLine() && socket.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    return socket.readLine(answer.size() + 1) == answer;
}
