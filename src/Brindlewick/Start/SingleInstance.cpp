#include "SingleInstance.h"

#include "OwnFolder.h"
#include "State/Paths.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QByteArray reopenMessage = QByteArrayLiteral("reopen\n");
// The running process's answer once it has taken the message.
const QByteArray answer = QByteArrayLiteral("ok\n");

// How long a launch waits for another launch to look in the list, and keeps trying to reach the running
// process: it may still be starting, or be busy with other peers for up to `peerTimeoutMs`.
constexpr int launchPatienceMs = 5000;
constexpr int retryWaitMs = 100;

// A launch says its one line at once; a peer that holds on longer or crowds in is cut off.
constexpr int mostPeers = 8;
constexpr int peerTimeoutMs = 2000;

// Only this user's programs talk to each other: anyone may reach a meeting name, or hold one first.
bool isThisUser(qintptr socket)
{
    ucred peer {};
    socklen_t size = sizeof(peer);
    return ::getsockopt(int(socket), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

} // namespace

SingleInstance::Places SingleInstance::places()
{
    const QString list = QDir(Paths::stateFolder()).filePath(QStringLiteral("run"));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && OwnFolder::isPrivate(runtime))
        return {list, runtime};
    return {list, list};
}

SingleInstance::SingleInstance(const QString &dataFolder, Places places, QObject *parent)
    : QObject(parent), m_dataFolder(QDir::current().absoluteFilePath(dataFolder)), m_places(std::move(places))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_meeting.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    for (QLocalServer *server : {&m_server, &m_meeting})
        connect(server, &QLocalServer::newConnection, this, [this, server] { accept(*server); });
}

// Peers still served go with the server; they must not ask it to listen again as they go.
SingleInstance::~SingleInstance()
{
    for (const QLocalServer *server : {&m_server, &m_meeting}) {
        for (QLocalSocket *peer : server->findChildren<QLocalSocket *>())
            peer->disconnect(this);
    }
}

// A list that cannot be had at all says nothing about another process, and running twice is better
// than not running: only a program entered on the same folder means "not us". One that cannot listen
// does not enter itself, for a launch could never reach it.
bool SingleInstance::claim(bool reopenRunning)
{
    m_list = std::make_unique<InstanceList>(m_places.list);
    m_list->takeTurn(QDeadlineTimer(launchPatienceMs));
    std::optional<Address> running;
    if (const std::optional<QString> listed = m_list->socketFor(m_dataFolder))
        running = Address{*listed};
    else
        running = meet();
    if (running) {
        m_list->endTurn();
        if (reopenRunning)
            tellRunningInstance(*running);
        return false;
    }
    if (m_list->isOpen()) {
        m_socket.emplace(m_places.sockets);
        listen();
        if (!m_server.isListening() || !m_list->enter(m_dataFolder, m_socket->path())) {
            m_server.close();
            m_socket.reset();
        }
    }
    m_list->endTurn();
    return true;
}

// Holds the folder's meeting name, or finds who does: a program of this user's, which may not answer
// yet, or a stranger, who is let be.
std::optional<SingleInstance::Address> SingleInstance::meet()
{
    const std::optional<QString> name = InstanceList::meetingName(m_dataFolder);
    if (!name)
        return std::nullopt;
    if (m_meeting.listen(*name)) {
        m_meetingName = *name;
        return std::nullopt;
    }
    if (m_meeting.serverError() != QAbstractSocket::AddressInUseError)
        return std::nullopt;
    QLocalSocket holder;
    holder.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    holder.connectToServer(*name);
    if (holder.waitForConnected(launchPatienceMs) && !isThisUser(holder.socketDescriptor()))
        return std::nullopt;
    return Address{*name, true};
}

// Any socket file left at our path belongs to a run that is gone. Qt's server stops listening for good
// when an accept fails (out of descriptors), so this runs again whenever a peer goes.
void SingleInstance::listen()
{
    if (!m_meetingName.isEmpty() && !m_meeting.isListening())
        m_meeting.listen(m_meetingName);
    if (m_server.isListening() || !m_socket || m_socket->path().isEmpty())
        return;
    QLocalServer::removeServer(m_socket->path());
    m_server.listen(m_socket->path());
}

void SingleInstance::accept(QLocalServer &server)
{
    while (QLocalSocket *socket = server.nextPendingConnection()) {
        if (m_peers >= mostPeers || !isThisUser(socket->socketDescriptor())) {
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
void SingleInstance::tellRunningInstance(const Address &running)
{
    const QDeadlineTimer deadline(launchPatienceMs);
    while (!m_handedOver && !deadline.hasExpired()) {
        m_handedOver = askToReopen(running, deadline);
        if (!m_handedOver)
            QThread::msleep(retryWaitMs);
    }
}

bool SingleInstance::askToReopen(const Address &running, const QDeadlineTimer &deadline)
{
    QLocalSocket socket;
    if (running.meeting)
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(running.name);
    if (!socket.waitForConnected(int(deadline.remainingTime())) || !isThisUser(socket.socketDescriptor()))
        return false;
    socket.write(reopenMessage);
    while (!socket.canReadLine() && socket.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    return socket.readLine(answer.size() + 1) == answer;
}
