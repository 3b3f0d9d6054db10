#include "SettingsStore.h"

#include "FileWriter.h"

#include "FileStamp.h"
#include "OwnFolder.h"
#include "RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QStandardPaths>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <mutex>

namespace {

// Settings are a few hundred bytes; anything much larger is not a settings file.
constexpr qint64 largestFile = 1024 * 1024;

// How far the writer got with a file: how many of the writes asked for are done, and the file as
// the last of them left it. Set on the writer's thread.
struct Landed {
    std::mutex mutex;
    int done = 0;
    std::optional<FileStamp> stamp;
};

// The file as last read or written, per path, for the whole process (the main thread only). While
// writes are on their way the settings here are the truth, whatever the disk holds.
struct Cached {
    std::optional<FileStamp> seen;
    QJsonObject settings;
    std::optional<QString> setAside;
    // Writes asked for since the writer last caught up.
    int asked = 0;
    std::shared_ptr<Landed> landed = std::make_shared<Landed>();
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

// Empty bytes remove the file. A write that cannot be made leaves the previous file as it was.
void store(const QString &path, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        QFile::remove(path);
    else if (!OwnFolder::makeOwn(QFileInfo(path).absolutePath()))
        RegularFile::replace(path, bytes);
}

// Whether the writer has caught up with every write asked for; the file it left then counts as seen.
bool caughtUp(Cached &cached)
{
    const std::lock_guard lock(cached.landed->mutex);
    if (cached.landed->done != cached.asked)
        return false;
    cached.seen = cached.landed->stamp;
    cached.asked = cached.landed->done = 0;
    return true;
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
    Cached &cached = cache()[m_path];
    cached.setAside.reset();
    save({});
}

// Reads the file again only when it is not the one last seen, and not while writes are on their way;
// an empty file holds no settings yet.
QJsonObject SettingsStore::read() const
{
    Cached &cached = cache()[m_path];
    if (cached.asked > 0 && !caughtUp(cached))
        return cached.settings;
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

void SettingsStore::write(const QString &key, const QJsonValue &value)
{
    QJsonObject settings = read();
    settings.insert(key, value);
    save(settings);
}

// Settings never fail: the settings in memory hold for this run, whatever becomes of the write.
void SettingsStore::save(const QJsonObject &settings)
{
    Cached &cached = cache()[m_path];
    cached.settings = settings;
    const int asked = ++cached.asked;
    const QByteArray bytes = settings.isEmpty() ? QByteArray() : QJsonDocument(settings).toJson();
    FileWriter::shared().write(m_path, [path = m_path, bytes, landed = cached.landed, asked] {
        store(path, bytes);
        const std::optional<FileStamp> stamp = FileStamp::of(path);
        const std::lock_guard lock(landed->mutex);
        landed->done = asked;
        landed->stamp = stamp;
    });
}
