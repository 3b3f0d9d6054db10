#include "MissingFile.h"

#include "RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <mntent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Mount {
    QString folder;
    QString type;
};

QList<Mount> mountsIn(const QString &table)
{
    QList<Mount> mounts;
    FILE *file = ::setmntent(QFile::encodeName(table).constData(), "r");
    if (!file)
        return mounts;
    while (const mntent *entry = ::getmntent(file))
        mounts.append({QDir::cleanPath(QFile::decodeName(entry->mnt_dir)), QString::fromLatin1(entry->mnt_type)});
    ::endmntent(file);
    return mounts;
}

bool listedIn(const QList<Mount> &mounts, const QString &folder)
{
    return std::any_of(mounts.cbegin(), mounts.cend(), [&](const Mount &mount) { return mount.folder == folder; });
}

bool contains(const QString &folder, const QString &path)
{
    return path == folder || folder == QDir::rootPath() || path.startsWith(folder + QLatin1Char('/'));
}

// The mount `path` (a real path, without links) lives on: the deepest that holds it.
std::optional<Mount> holding(const QList<Mount> &mounts, const QString &path)
{
    std::optional<Mount> found;
    for (const Mount &mount : mounts) {
        if (contains(mount.folder, path) && (!found || mount.folder.size() >= found->folder.size()))
            found = mount;
    }
    return found;
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

// `path` with the links of the part that is there followed.
QString realPath(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    const QString there = nearestThere(clean);
    const QString real = QFileInfo(there).canonicalFilePath();
    if (real.isEmpty())
        return clean;
    return QDir::cleanPath(real + clean.mid(there.size()));
}

QString danglingLink(const QString &path)
{
    return QStringLiteral("“%1” is a link to “%2”, which isn’t there.").arg(path, RegularFile::linkTarget(path));
}

} // namespace

namespace MissingFile {

std::optional<QString> whyWait(const QString &file, const QString &mountTable, const QString &mounted)
{
    const QFileInfo info(file);
    if (info.isSymLink())
        return danglingLink(info.absoluteFilePath());
    const QString there = nearestThere(QDir::cleanPath(info.absolutePath()));
    if (!QFileInfo::exists(there))
        return danglingLink(there);
    const QList<Mount> mounts = mountsIn(mounted);
    const QString real = QFileInfo(there).canonicalFilePath();
    const bool empty = QDir(there).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (empty && listedIn(mountsIn(mountTable), there) && !listedIn(mounts, real))
        return QStringLiteral("“%1” looks like a disk that isn’t mounted yet.").arg(there);
    const std::optional<Mount> disk = holding(mounts, real);
    if (disk && disk->type == QLatin1String("autofs"))
        return QStringLiteral("“%1” is a disk mounted when needed, and it isn’t there yet.").arg(there);
    return std::nullopt;
}

QString diskOf(const QString &path, const QString &mounted)
{
    const std::optional<Mount> disk = holding(mountsIn(mounted), realPath(path));
    return disk ? disk->folder : QDir::rootPath();
}

std::optional<QString> diskGone(const QString &disk, const QString &path, const QString &mounted)
{
    const QString now = diskOf(path, mounted);
    if (now == disk || !contains(now, disk))
        return std::nullopt;
    return QStringLiteral("the disk mounted at “%1” went away").arg(disk);
}

} // namespace MissingFile
