#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTcpServer>

// A maker's Ed25519 key pair, made fresh for each test.
class TestKey {
public:
    TestKey();
    ~TestKey();
    TestKey(const TestKey &) = delete;
    TestKey &operator=(const TestKey &) = delete;

    QByteArray publicKey() const;
    QByteArray sign(const QByteArray &message) const;

private:
    struct evp_pkey_st *m_key;
};

// One entry of a test archive.
struct TestEntry {
    enum class Kind { file, directory, symlink, hardlink, fifo };
    QString path;
    Kind kind = Kind::file;
    QByteArray content;
    QString target;
};

// A .tar.xz with exactly these entries, written with libarchive so that any path can be made.
QByteArray makeArchive(const QList<TestEntry> &entries);
// What the install layout gives: the program alone in bin/, a file under share/.
QList<TestEntry> installEntries(const QString &program, const QByteArray &marker);

// An HTTP server on 127.0.0.1 that answers each path with a fixed response; a path it does not
// know gets 404, and a path marked silent is read and never answered.
class TestServer : public QObject {
public:
    struct Response {
        int status = 200;
        QByteArray body;
    };

    TestServer();
    QString url(const QString &path) const;
    void serve(const QString &path, Response response) { m_routes.insert(path, std::move(response)); }
    void silence(const QString &path) { m_silent.append(path); }
    // Every request line seen, with its user agent ("GET /feed.json Brindlewick/0.1.0").
    const QStringList &requests() const { return m_requests; }
    int connections() const { return m_connections; }

private:
    void answer(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QString, Response> m_routes;
    QStringList m_silent;
    QStringList m_requests;
    int m_connections = 0;
};
