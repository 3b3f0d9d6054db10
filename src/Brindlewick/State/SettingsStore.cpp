#include "SettingsStore.h"

#include "FileStamp.h"
#include "OwnFolder.h"
#include "RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// Settings are a few hundred bytes; anything much larger is not a settings file.
constexpr qint64 largestFile = 1024 * 1024;

// The file as last read or written, per path, for the whole process (the main thread only).
struct Cached {
    std::optional<FileStamp> seen;
    QJsonObject settings;
    std::optional<QString> setAside;
};

QHash<QString, Cached> &cache()
{
    static QHash<QString, Cached> files;
    return files;
}

// "settings.damaged-<unix seconds>.json" beside the file, never replacing another.
std::optional<QString> moveAside(const QString &path)
{
    const QFileInfo info(path);
    qint64 seconds = QDateTime::currentSecsSinceEpoch();
    QString target;
    do {
        target = info.dir().filePath(QStringLiteral("%1.damaged-%2.json").arg(info.completeBaseName()).arg(seconds++));
    } while (QFileInfo::exists(target) || QFileInfo(target).isSymLink());
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) != 0)
        return std::nullopt;
    return target;
}

} // namespace

QString SettingsKeys::announced(const QString &version)
{
    return QStringLiteral("OstrelAnnounced-") + version;
}

SettingsStore::SettingsStore(QString path) : m_path(std::move(path))
{
}

SettingsStore SettingsStore::standard()
{
    return inConfigFolder(QStringLiteral("settings.json"));
}

SettingsStore SettingsStore::demo()
{
    return inConfigFolder(QStringLiteral("demo-settings.json"));
}

SettingsStore SettingsStore::inConfigFolder(const QString &name)
{
    const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    return SettingsStore(config.filePath(QStringLiteral("Brindlewick/") + name));
}

std::optional<bool> SettingsStore::boolValue(const QString &key) const
{
    const QJsonValue value = read().value(key);
    if (!value.isBool())
        return std::nullopt;
    return value.toBool();
}

// Whole numbers only: 15.5 or a number beyond an int is not an Int.
std::optional<int> SettingsStore::intValue(const QString &key) const
{
    const QJsonValue value = read().value(key);
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()
        || number != std::trunc(number))
        return std::nullopt;
    return static_cast<int>(number);
}

std::optional<QString> SettingsStore::stringValue(const QString &key) const
{
    const QJsonValue value = read().value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

QStringList SettingsStore::keys() const
{
    return read().keys();
}

void SettingsStore::setBool(const QString &key, bool value)
{
    write(key, value);
}

void SettingsStore::setInt(const QString &key, int value)
{
    write(key, value);
}

void SettingsStore::setString(const QString &key, const QString &value)
{
    write(key, value);
}

void SettingsStore::clear()
{
    QFile::remove(m_path);
    cache().remove(m_path);
}

// Reads the file again only when it is not the one last seen; an empty file holds no settings yet.
QJsonObject SettingsStore::read() const
{
    Cached &cached = cache()[m_path];
    const std::optional<FileStamp> seen = FileStamp::of(m_path);
    if (seen == cached.seen)
        return cached.settings;
    cached.seen = seen;
    cached.settings = {};
    if (!seen)
        return {};
    bool missing = false;
    const std::variant<QByteArray, QString> read = RegularFile::read(m_path, missing, largestFile);
    const QByteArray *bytes = std::get_if<QByteArray>(&read);
    if (bytes && bytes->trimmed().isEmpty())
        return {};
    const QJsonDocument document = bytes ? QJsonDocument::fromJson(*bytes) : QJsonDocument();
    if (document.isObject()) {
        cached.settings = document.object();
        return cached.settings;
    }
    if (const std::optional<QString> target = moveAside(m_path)) {
        cached.setAside = target;
        cached.seen.reset();
    }
    return {};
}

std::optional<QString> SettingsStore::setAside() const
{
    return cache().value(m_path).setAside;
}

// Settings never fail: a write that cannot be made leaves the previous file as it was.
void SettingsStore::write(const QString &key, const QJsonValue &value)
{
    QJsonObject settings = read();
    settings.insert(key, value);
    if (OwnFolder::make(QFileInfo(m_path).absolutePath()))
        return;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = QJsonDocument(settings).toJson();
    // A short write is not always an error of the file, so count the bytes.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return;
    }
    if (!file.commit())
        return;
    Cached &cached = cache()[m_path];
    cached.seen = FileStamp::of(m_path);
    cached.settings = settings;
}
