#pragma once

#include <QHash>
#include <QStringList>
#include <QString>
#include <optional>

// Where one installed copy keeps its updates until they are installed: a folder of the user's alone,
// named after the copy's install folder, with one folder per staged version. Every process that means
// to install a version holds that folder (a shared lock), the install script too, so a version is
// removed only once none does: two programs running from one install folder never drop each other's
// update. The install script also leaves here the reason an update could not be installed.
class UpdateStage {
public:
    // An update the install script could not put in place.
    struct Failure {
        QString version;
        QString reason;
        // Already said once, at an earlier start.
        bool told = false;
    };

    // The stage of the copy installed in `installFolder`, in the program's cache folder.
    UpdateStage(const QString &cacheFolder, const QString &installFolder);
    ~UpdateStage();
    UpdateStage(const UpdateStage &) = delete;
    UpdateStage &operator=(const UpdateStage &) = delete;

    const QString &folder() const { return m_folder; }
    QString versionFolder(const QString &version) const;
    // This process's own download and unpacking of `version`, before it becomes the staged one.
    QString archiveFile(const QString &version) const;
    QString unpackFolder(const QString &version) const;

    // Makes the folder, and the cache folder above it, for the user alone. False when it cannot be had,
    // also when another user could swap it for theirs (`whyNotOwn` then says how).
    bool make() const;
    // How another user could put a folder of theirs where the stage lies, if they could; nothing of a
    // stage they could is read or removed.
    std::optional<QString> whyNotOwn() const;
    // Holds the staged `version` when a complete one is there.
    bool hold(const QString &version, const QString &program);
    // Puts this process's unpacked `version` in place and holds it; when another process staged the
    // same version first, that one is held instead and this one dropped.
    bool keep(const QString &version, const QString &program);
    // This process's own download and unpacking of `version`.
    void dropOwn(const QString &version) const;
    // Every staged version no process holds, and what processes that ended left half-made.
    void removeUnused();
    // The lock this process holds on `version`, made to pass to the install script it starts, so the
    // staged version stays held once this process has ended; -1 when it holds none.
    int handOver(const QString &version) const;

    // Whether the process `pid` is still there: what it left half-made is still being made.
    static bool isRunning(qint64 pid);

    // The last update the install script could not put in place, if any.
    std::optional<Failure> failure() const;
    void markFailureTold() const;
    void forgetFailure() const;

private:
    // The cache folder, its updates folder and the stage, each the program's own.
    QStringList ownFolders() const;
    // A lock on the complete copy at `path`, or -1.
    static int holdFolder(const QString &path, const QString &program);

    QString m_cacheFolder;
    QString m_folder;
    // The lock held on each staged version, by version.
    QHash<QString, int> m_held;
};
