#include "LoopbackServer.h"

#include <QTcpSocket>

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
    socket->write("HTTP/1.1 " + QByteArray::number(response.status) + " X\r\nContent-Length: " +
                  QByteArray::number(response.body.size()) + "\r\nConnection: close\r\n\r\n" + response.body);
    socket->disconnectFromHost();
}
