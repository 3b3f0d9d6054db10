#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

// One GET of the updater: into memory (the feed) or into a file (the archive), stopped as soon as it
// passes its size limit, after a time without data, when it takes too long in all, at a redirect to an
// address updates may not use, or when the file cannot be written; its outcome names what happened.
class Transfer : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        ok,
        tooLarge,
        tooShort,
        timedOut,
        tooSlow,
        httpError,
        networkError,
        badRedirect,
        redirectLoop,
        diskFull,
        writeFailed
    };

    struct Limits {
        qint64 maxBytes = 0;
        // The exact size expected, or 0 when any size up to maxBytes will do.
        qint64 exactBytes = 0;
        // Stopped as `timedOut` after this long without a byte.
        int idleTimeoutMs = 10000;
        // Stopped as `tooSlow` when not done within this long, however steadily it trickles.
        int timeLimitMs = 30000;
    };

    // Starts at once; `feed` is the feed the address came from, which decides where a redirect may
    // lead; `file`, when given, is written and closed by the transfer.
    Transfer(QNetworkAccessManager &network, const QUrl &url, const QUrl &feed, const QByteArray &userAgent,
             Limits limits, const QString &file = {}, QObject *parent = nullptr);
    ~Transfer() override;

    const QByteArray &body() const { return m_body; }
    // The SHA-256 of every byte received, worked out as they came.
    QByteArray sha256() const { return m_hash.result(); }
    int httpStatus() const { return m_httpStatus; }

signals:
    void progress(qint64 received, qint64 total);
    void finished(Transfer::Outcome outcome);

private:
    void read();
    std::optional<Outcome> write(const QByteArray &chunk);
    std::optional<Outcome> closeFile();
    void stop(Outcome outcome);
    void done();
    Outcome networkOutcome(int error) const;

    Limits m_limits;
    QPointer<QNetworkReply> m_reply;
    // The archive's file, written as the bytes come; -1 for the feed, which stays in memory.
    int m_file = -1;
    QTimer m_timeLimit;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    QByteArray m_body;
    qint64 m_received = 0;
    int m_httpStatus = 0;
    int m_redirects = 0;
    std::optional<Outcome> m_stopped;
};
