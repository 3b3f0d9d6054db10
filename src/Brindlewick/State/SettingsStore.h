#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

// The names the settings are stored under.
namespace SettingsKeys {
inline const QString sort = QStringLiteral("sort");
inline const QString defaultColor = QStringLiteral("defaultColor");
inline const QString newNotesFloat = QStringLiteral("newNotesFloat");
inline const QString warnMinutes = QStringLiteral("warnMinutes");
inline const QString playSound = QStringLiteral("playSound");
inline const QString trayEnabled = QStringLiteral("trayEnabled");
inline const QString trayOpensOn = QStringLiteral("trayOpensOn");
inline const QString showMenuBarItem = QStringLiteral("showMenuBarItem");
inline const QString hotkeyEnabled = QStringLiteral("hotkeyEnabled");
inline const QString welcomeDone = QStringLiteral("welcomeDone");
inline const QString autoUpdate = QStringLiteral("OstrelAutoUpdate");
// Set once the user has allowed desktop notifications in the app.
inline const QString notificationsAllowed = QStringLiteral("notificationsAllowed");
// Set once the news of a version has been shown.
QString announced(const QString &version);
} // namespace SettingsKeys

// A typed settings file: one JSON object, so a Bool stays a Bool and an Int an Int. A value of
// another type than asked for reads as absent, and so does everything in a missing file. The file is
// read once and kept in memory, shared by every store on that path in the process; it is read again
// only when it changed on disk, so several stores (or another process) never lose each other's keys.
// A value set reads back at once; the file follows on the `FileWriter`'s thread, and the disk is not
// looked at again until the writer has caught up. Each write replaces the file atomically, readable by
// the user alone, in a folder made for the user alone. Only a regular file of a sane size is ever
// opened, without waiting; anything else in its place, or a file that is not a JSON object, is set
// aside as "settings.damaged-<unix seconds>.json" beside it and reads as empty.
class SettingsStore {
public:
    explicit SettingsStore(QString path);
    // "Brindlewick/settings.json" in the user's configuration folder ($XDG_CONFIG_HOME, ~/.config).
    static SettingsStore standard();
    // The demo world's own settings, kept apart from the user's.
    static SettingsStore demo();

    const QString &path() const { return m_path; }

    std::optional<bool> boolValue(const QString &key) const;
    std::optional<int> intValue(const QString &key) const;
    std::optional<QString> stringValue(const QString &key) const;
    QStringList keys() const;

    void setBool(const QString &key, bool value);
    void setInt(const QString &key, int value);
    void setString(const QString &key, const QString &value);
    // Forgets every setting.
    void clear();
    // Where an unusable file at this path was set aside during this run; none when none was.
    std::optional<QString> setAside() const;

    bool operator==(const SettingsStore &) const = default;

private:
    static SettingsStore inConfigFolder(const QString &name);
    QJsonObject read() const;
    void write(const QString &key, const QJsonValue &value);
    void save(const QJsonObject &settings);

    QString m_path;
};
