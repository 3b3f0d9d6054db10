#include "LoopbackServer.h"

#include <QTcpSocket>
#include <QTimer>

LoopbackServer::LoopbackServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            ++m_connections;
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        }
    });
}

QString LoopbackServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void LoopbackServer::answer(QTcpSocket *socket)
{
    const QByteArray request = socket->peek(64 * 1024);
    if (!request.contains("\r\n\r\n"))
        return;
    socket->readAll();
    const QString path = QString::fromLatin1(request.split(' ').value(1));
    QByteArray agent;
    for (const QByteArray &line : request.split('\n'))
        if (line.toLower().startsWith("user-agent:"))
            agent = line.mid(11).trimmed();
    m_requests.append(QStringLiteral("GET %1 %2").arg(path, QString::fromUtf8(agent)));
    if (m_silent.contains(path))
        return;
    const Response response = m_routes.value(path, Response{404, "not here"});
    const qsizetype length = response.announcedLength >= 0 ? response.announcedLength : response.body.size();
    socket->write("HTTP/1.1 " + QByteArray::number(response.status) + " X\r\nContent-Length: " +
                  QByteArray::number(length) + "\r\n");
    if (!response.location.isEmpty())
        socket->write("Location: " + response.location + "\r\n");
    socket->write("Connection: close\r\n\r\n");
    if (m_drips.contains(path))
        return dripBody(socket, response.body, m_drips.value(path));
    socket->write(response.body);
    socket->disconnectFromHost();
}

void LoopbackServer::dripBody(QTcpSocket *socket, const QByteArray &body, int msPerByte)
{
    auto *timer = new QTimer(socket);
    connect(timer, &QTimer::timeout, socket, [socket, timer, body, sent = qsizetype(0)]() mutable {
        socket->write(body.mid(sent++, 1));
        if (sent == body.size()) {
            timer->stop();
            socket->disconnectFromHost();
        }
    });
    timer->start(msPerByte);
}
