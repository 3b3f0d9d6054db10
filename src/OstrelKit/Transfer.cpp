#include "Transfer.h"

#include "UpdateLogic.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

Transfer::Transfer(QNetworkAccessManager &network, const QUrl &url, const QByteArray &userAgent, Limits limits,
                   const QString &file, QObject *parent)
    : QObject(parent), m_limits(limits), m_file(file)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);
    request.setTransferTimeout(limits.idleTimeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    if (!file.isEmpty() && !m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QMetaObject::invokeMethod(this, [this] { emit finished(writeProblem()); }, Qt::QueuedConnection);
        return;
    }
    m_reply = network.get(request);
    m_timeLimit.setSingleShot(true);
    connect(&m_timeLimit, &QTimer::timeout, this, [this] { stop(Outcome::tooSlow); });
    m_timeLimit.start(limits.timeLimitMs);
    connect(m_reply, &QNetworkReply::redirected, this, [this](const QUrl &to) {
        if (UpdateLogic::isAllowedAddress(to))
            emit m_reply->redirectAllowed();
        else
            stop(Outcome::badRedirect);
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
}

// The announced length is not trusted: the count of bytes that really came is what stops a transfer.
void Transfer::read()
{
    const QByteArray chunk = m_reply->readAll();
    m_received += chunk.size();
    if (m_received > m_limits.maxBytes)
        return stop(Outcome::tooLarge);
    m_hash.addData(chunk);
    if (m_file.isOpen()) {
        if (m_file.write(chunk) != chunk.size())
            return stop(writeProblem());
    } else {
        m_body += chunk;
    }
    emit progress(m_received, m_limits.exactBytes);
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
    // Buffered bytes meet a full disk only here.
    const bool flushed = !m_file.isOpen() || m_file.flush();
    m_file.close();
    Outcome outcome = Outcome::ok;
    if (m_stopped)
        outcome = *m_stopped;
    else if (!flushed)
        outcome = writeProblem();
    else if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
        outcome = Outcome::timedOut;
    else if (m_httpStatus >= 400)
        outcome = Outcome::httpError;
    else if (error != QNetworkReply::NoError)
        outcome = Outcome::networkError;
    else if (m_limits.exactBytes > 0 && m_received != m_limits.exactBytes)
        outcome = m_received > m_limits.exactBytes ? Outcome::tooLarge : Outcome::tooShort;
    emit finished(outcome);
}

Transfer::Outcome Transfer::writeProblem() const
{
    return m_file.error() == QFileDevice::ResourceError ? Outcome::diskFull : Outcome::writeFailed;
}
