#include "ShownNotifications.h"

#include "OwnFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString serverKey = QStringLiteral("server");
const QString idsKey = QStringLiteral("ids");
// A list of ids is a few hundred bytes; anything much larger is not ours to read.
constexpr qint64 largestFile = 1 << 20;

QJsonObject readObject(const QString &path)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || info.size() > largestFile || !file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

ShownNotifications::ShownNotifications(QString file) : m_file(std::move(file))
{
    const QJsonObject left = readObject(m_file);
    m_leftServer = left.value(serverKey).toString();
    for (const QJsonValue &id : left.value(idsKey).toArray()) {
        if (id.toDouble() > 0)
            m_leftIds.append(uint(id.toDouble()));
    }
}

QList<uint> ShownNotifications::serveOn(const QString &server)
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

void ShownNotifications::add(uint id, const Shown &shown)
{
    m_shown.insert(id, shown);
    save();
}

std::optional<ShownNotifications::Shown> ShownNotifications::find(uint id) const
{
    const auto found = m_shown.constFind(id);
    return found == m_shown.constEnd() ? std::nullopt : std::optional(*found);
}

std::optional<uint> ShownNotifications::idOf(const QString &identifier) const
{
    for (auto it = m_shown.cbegin(); it != m_shown.cend(); ++it) {
        if (it->identifier == identifier)
            return it.key();
    }
    return std::nullopt;
}

void ShownNotifications::remove(uint id)
{
    if (m_shown.remove(id))
        save();
}

QList<uint> ShownNotifications::takeNote(const QUuid &note)
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

QList<uint> ShownNotifications::takeAll()
{
    const QList<uint> ids = m_shown.keys();
    m_shown.clear();
    save();
    return ids;
}

// Written as it changes, without waiting for the disk: a crash a moment after a change costs at most
// a notification left on screen.
void ShownNotifications::save() const
{
    if (m_shown.isEmpty()) {
        QFile::remove(m_file);
        return;
    }
    QJsonArray ids;
    for (uint id : m_shown.keys())
        ids.append(double(id));
    OwnFolder::make(QFileInfo(m_file).absolutePath());
    QFile file(m_file);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QJsonDocument(QJsonObject{{serverKey, m_server}, {idsKey, ids}}).toJson(QJsonDocument::Compact));
}
