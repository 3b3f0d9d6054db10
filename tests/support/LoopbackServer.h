#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTcpServer>

// An HTTP server on 127.0.0.1 that answers each path with a fixed response; a path it does not
// know gets 404, a path marked silent is read and never answered, and a dripping path sends its
// body one byte at a time.
class LoopbackServer : public QObject {
public:
    struct Response {
        int status = 200;
        QByteArray body;
        // Sent as the Location header, for a redirect.
        QByteArray location = {};
        // The length announced, when it is not the body's: the server hangs up after the body.
        qsizetype announcedLength = -1;
    };

    LoopbackServer();
    QString url(const QString &path) const;
    void serve(const QString &path, Response response) { m_routes.insert(path, std::move(response)); }
    void silence(const QString &path) { m_silent.append(path); }
    void drip(const QString &path, int msPerByte) { m_drips.insert(path, msPerByte); }
    // Every request line seen, with its user agent ("GET /feed.json Brindlewick/0.1.0").
    const QStringList &requests() const { return m_requests; }
    int connections() const { return m_connections; }

private:
    void answer(QTcpSocket *socket);
    static void dripBody(QTcpSocket *socket, const QByteArray &body, int msPerByte);

    QTcpServer m_server;
    QHash<QString, Response> m_routes;
    QStringList m_silent;
    QHash<QString, int> m_drips;
    QStringList m_requests;
    int m_connections = 0;
};
