#include "NotificationRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

const QString serverKey = QStringLiteral("server");
const QString idsKey = QStringLiteral("ids");
const QString owedKey = QStringLiteral("owed");
const QString postedKey = QStringLiteral("posted");

QJsonObject encode(const PlannedAlert &alert)
{
    QJsonObject object{{QStringLiteral("note"), alert.noteID.toString(QUuid::WithoutBraces)},
                       {QStringLiteral("kind"), toString(alert.kind)},
                       {QStringLiteral("fireAt"), alert.fireAt.seconds},
                       {QStringLiteral("title"), alert.title},
                       {QStringLiteral("body"), alert.body},
                       {QStringLiteral("subject"), alert.subject}};
    if (alert.deadline)
        object.insert(QStringLiteral("deadline"), alert.deadline->seconds);
    return object;
}

// Anything not written by `encode` is passed over.
std::optional<PlannedAlert> decode(const QJsonValue &value)
{
    const QJsonObject object = value.toObject();
    const QUuid note(object.value(QStringLiteral("note")).toString());
    const std::optional<PlannedAlert::Kind> kind = plannedAlertKindFromString(object.value(QStringLiteral("kind")).toString());
    const QJsonValue fireAt = object.value(QStringLiteral("fireAt"));
    if (note.isNull() || !kind || !fireAt.isDouble() || !std::isfinite(fireAt.toDouble()))
        return std::nullopt;
    PlannedAlert alert{note, *kind, Date{fireAt.toDouble()}, object.value(QStringLiteral("title")).toString(),
                       object.value(QStringLiteral("body")).toString(), object.value(QStringLiteral("subject")).toString(),
                       std::nullopt};
    if (const QJsonValue deadline = object.value(QStringLiteral("deadline")); deadline.isDouble())
        alert.deadline = Date{deadline.toDouble()};
    return alert;
}

} // namespace

NotificationRecord::NotificationRecord(QString file) : m_file(std::move(file)), m_saved(m_file.content())
{
    const QJsonObject left = QJsonDocument::fromJson(m_file.content()).object();
    m_leftServer = left.value(serverKey).toString();
    for (const QJsonValue &id : left.value(idsKey).toArray()) {
        if (id.toDouble() > 0)
            m_leftIds.append(uint(id.toDouble()));
    }
    for (const QJsonValue &owed : left.value(owedKey).toArray()) {
        if (const std::optional<PlannedAlert> alert = decode(owed))
            m_owed.append(*alert);
    }
    const QJsonObject posted = left.value(postedKey).toObject();
    for (auto it = posted.constBegin(); it != posted.constEnd(); ++it) {
        if (it->isDouble() && std::isfinite(it->toDouble()))
            m_posted.insert(it.key(), Date{it->toDouble()});
    }
}

QList<uint> NotificationRecord::serveOn(const QString &server)
{
    // Notifications posted before the server's name was known are its own.
    if (!m_server.isEmpty() && server != m_server)
        m_shown.clear();
    m_server = server;
    save();
    QList<uint> left;
    if (!m_leftServer.isEmpty() && m_leftServer == server)
        left = m_leftIds;
    m_leftServer.clear();
    m_leftIds.clear();
    return left;
}

void NotificationRecord::add(uint id, const Shown &shown)
{
    m_shown.insert(id, shown);
    save();
}

std::optional<NotificationRecord::Shown> NotificationRecord::find(uint id) const
{
    const auto found = m_shown.constFind(id);
    return found == m_shown.constEnd() ? std::nullopt : std::optional(*found);
}

std::optional<uint> NotificationRecord::idOf(const QString &identifier) const
{
    for (auto it = m_shown.cbegin(); it != m_shown.cend(); ++it) {
        if (it->identifier == identifier)
            return it.key();
    }
    return std::nullopt;
}

void NotificationRecord::remove(uint id)
{
    if (m_shown.remove(id))
        save();
}

QList<uint> NotificationRecord::takeNote(const QUuid &note)
{
    QList<uint> ids;
    for (auto it = m_shown.cbegin(); it != m_shown.cend(); ++it) {
        if (it->note == note)
            ids.append(it.key());
    }
    for (uint id : ids)
        m_shown.remove(id);
    if (!ids.isEmpty())
        save();
    return ids;
}

QList<uint> NotificationRecord::takeAll()
{
    const QList<uint> ids = m_shown.keys();
    m_shown.clear();
    save();
    return ids;
}

void NotificationRecord::setOwed(const QList<PlannedAlert> &owed)
{
    if (owed == m_owed)
        return;
    m_owed = owed;
    save();
}

void NotificationRecord::markPosted(const QString &identifier, Date fireSecond)
{
    m_posted.insert(identifier, fireSecond);
    save();
}

void NotificationRecord::forgetPosted()
{
    m_posted.clear();
    save();
}

// Nothing to keep, no file: an empty record is written as none.
void NotificationRecord::save()
{
    QByteArray bytes;
    if (!m_shown.isEmpty() || !m_owed.isEmpty() || !m_posted.isEmpty()) {
        QJsonArray ids;
        for (uint id : m_shown.keys())
            ids.append(double(id));
        QJsonArray owed;
        for (const PlannedAlert &alert : std::as_const(m_owed))
            owed.append(encode(alert));
        QJsonObject posted;
        for (auto it = m_posted.cbegin(); it != m_posted.cend(); ++it)
            posted.insert(it.key(), it->seconds);
        bytes = QJsonDocument(QJsonObject{{serverKey, m_server}, {idsKey, ids}, {owedKey, owed}, {postedKey, posted}})
                    .toJson(QJsonDocument::Compact);
    }
    if (bytes == m_saved)
        return;
    m_saved = bytes;
    m_file.write(bytes);
}
