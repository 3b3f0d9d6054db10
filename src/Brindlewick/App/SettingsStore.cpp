#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>
#include <cmath>
#include <limits>

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
}

QJsonObject SettingsStore::read() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Settings never fail: a write that cannot be made leaves the previous file as it was.
void SettingsStore::write(const QString &key, const QJsonValue &value)
{
    QJsonObject settings = read();
    settings.insert(key, value);
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    const QByteArray bytes = QJsonDocument(settings).toJson();
    // A short write is not always an error of the file, so count the bytes.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return;
    }
    file.commit();
}
