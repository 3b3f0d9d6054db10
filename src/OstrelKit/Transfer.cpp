#include "Transfer.h"

#include "UpdateLogic.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// More than any real server sends in a row; a loop of redirects stops here.
constexpr int maxRedirects = 10;

// Told from the error as it happened: a file closed or flushed later no longer knows it.
Transfer::Outcome writeOutcome(int error)
{
    return error == ENOSPC || error == EDQUOT ? Transfer::Outcome::diskFull : Transfer::Outcome::writeFailed;
}

} // namespace

Transfer::Transfer(QNetworkAccessManager &network, const QUrl &url, const QUrl &feed, const QByteArray &userAgent,
                   Limits limits, const QString &file, QObject *parent)
    : QObject(parent), m_limits(limits)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);
    request.setTransferTimeout(limits.idleTimeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    if (!file.isEmpty()) {
        m_file = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (m_file < 0) {
            const Outcome outcome = writeOutcome(errno);
            QMetaObject::invokeMethod(this, [this, outcome] { emit finished(outcome); }, Qt::QueuedConnection);
            return;
        }
    }
    m_reply = network.get(request);
    m_timeLimit.setSingleShot(true);
    connect(&m_timeLimit, &QTimer::timeout, this, [this] { stop(Outcome::tooSlow); });
    m_timeLimit.start(limits.timeLimitMs);
    connect(m_reply, &QNetworkReply::redirected, this, [this, feed](const QUrl &to) {
        if (!UpdateLogic::isAllowedAddress(to, feed))
            stop(Outcome::badRedirect);
        else if (++m_redirects > maxRedirects)
            stop(Outcome::redirectLoop);
        else
            emit m_reply->redirectAllowed();
    });
    connect(m_reply, &QNetworkReply::readyRead, this, &Transfer::read);
    connect(m_reply, &QNetworkReply::finished, this, &Transfer::done);
}

Transfer::~Transfer()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    closeFile();
}

// The announced length is not trusted: the count of bytes that really came is what stops a transfer.
void Transfer::read()
{
    const QByteArray chunk = m_reply->readAll();
    m_received += chunk.size();
    if (m_received > m_limits.maxBytes)
        return stop(Outcome::tooLarge);
    m_hash.addData(chunk);
    if (m_file < 0)
        m_body += chunk;
    else if (const std::optional<Outcome> problem = write(chunk))
        return stop(*problem);
    emit progress(m_received, m_limits.exactBytes);
}

std::optional<Transfer::Outcome> Transfer::write(const QByteArray &chunk)
{
    for (qsizetype written = 0; written < chunk.size();) {
        const ssize_t step = ::write(m_file, chunk.constData() + written, size_t(chunk.size() - written));
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            return writeOutcome(step < 0 ? errno : ENOSPC);
        written += step;
    }
    return std::nullopt;
}

std::optional<Transfer::Outcome> Transfer::closeFile()
{
    if (m_file < 0)
        return std::nullopt;
    const int status = ::close(m_file);
    m_file = -1;
    return status == 0 ? std::nullopt : std::optional(writeOutcome(errno));
}

void Transfer::stop(Outcome outcome)
{
    m_stopped = outcome;
    m_reply->abort();
}

void Transfer::done()
{
    if (!m_stopped && m_reply->bytesAvailable() > 0)
        read();
    m_httpStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = m_reply->error();
    m_reply->deleteLater();
    m_timeLimit.stop();
    // Some file systems meet a full disk only as the file is closed.
    const std::optional<Outcome> closed = closeFile();
    Outcome outcome = Outcome::ok;
    if (m_stopped)
        outcome = *m_stopped;
    else if (closed)
        outcome = *closed;
    else if (error != QNetworkReply::NoError)
        outcome = networkOutcome(error);
    else if (m_httpStatus >= 400)
        outcome = Outcome::httpError;
    // Only an answer with the content counts; after redirects in a loop Qt may end with none.
    else if (m_httpStatus < 200 || m_httpStatus >= 300)
        outcome = m_redirects > 0 ? Outcome::redirectLoop : Outcome::networkError;
    else if (m_limits.exactBytes > 0 && m_received != m_limits.exactBytes)
        outcome = m_received > m_limits.exactBytes ? Outcome::tooLarge : Outcome::tooShort;
    emit finished(outcome);
}

// A redirect Qt will not follow at all (file:, data:) fails before it is offered to be checked.
Transfer::Outcome Transfer::networkOutcome(int error) const
{
    switch (QNetworkReply::NetworkError(error)) {
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        return Outcome::timedOut;
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::InsecureRedirectError:
        return Outcome::badRedirect;
    case QNetworkReply::TooManyRedirectsError:
        return Outcome::redirectLoop;
    default:
        break;
    }
    if (m_httpStatus >= 400)
        return Outcome::httpError;
    // The server answered and then hung up before the end.
    return m_httpStatus >= 200 && m_httpStatus < 300 ? Outcome::tooShort : Outcome::networkError;
}
