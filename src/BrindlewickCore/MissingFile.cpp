#include "MissingFile.h"

#include "RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <mntent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool listedIn(const QString &mountTable, const QString &folder)
{
    FILE *table = ::setmntent(QFile::encodeName(mountTable).constData(), "r");
    if (!table)
        return false;
    bool listed = false;
    while (const mntent *entry = ::getmntent(table)) {
        if (QDir::cleanPath(QFile::decodeName(entry->mnt_dir)) == folder) {
            listed = true;
            break;
        }
    }
    ::endmntent(table);
    return listed;
}

bool waitsForItsDisk(const QString &folder, const QString &mountTable)
{
    return listedIn(mountTable, folder) && !listedIn(QStringLiteral("/proc/self/mounts"), folder);
}

bool isLink(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// The folder itself, or the nearest folder above it that is there.
QString nearestThere(QString folder)
{
    while (!QFileInfo::exists(folder) && !isLink(folder) && folder != QDir::rootPath())
        folder = QFileInfo(folder).absolutePath();
    return folder;
}

QString danglingLink(const QString &path)
{
    return QStringLiteral("“%1” is a link to “%2”, which isn’t there.").arg(path, RegularFile::linkTarget(path));
}

} // namespace

namespace MissingFile {

std::optional<QString> whyWait(const QString &file, const QString &mountTable)
{
    const QFileInfo info(file);
    if (info.isSymLink())
        return danglingLink(info.absoluteFilePath());
    const QString folder = QDir::cleanPath(info.absolutePath());
    const QString there = nearestThere(folder);
    const QFileInfo thereInfo(there);
    if (!thereInfo.exists())
        return danglingLink(there);
    const bool empty = QDir(there).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const bool own = thereInfo.ownerId() == ::geteuid();
    if ((empty && waitsForItsDisk(there, mountTable)) || (!own && (empty || there != folder)))
        return QStringLiteral("“%1” looks like a disk that isn’t mounted yet.").arg(there);
    return std::nullopt;
}

} // namespace MissingFile
