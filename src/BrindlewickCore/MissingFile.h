#pragma once

#include <QString>
#include <optional>

// Whether a file that is not there means there is nothing yet, or that the place it lives in has not
// come yet: a disk not mounted, a link into a sync folder that has not appeared.
namespace MissingFile {

// None when nothing plainly says a disk belongs where the missing file would be, so that it and any
// missing folder are to be made. Else why to wait for it: the file, or a folder on its way, is a link
// to nothing; the nearest folder there is an empty mount point of `mountTable` (as /etc/fstab) that is
// not mounted, or lies on a disk mounted on demand (autofs) that has not come. `mounted` lists the
// mounts there are now, as /proc/self/mounts does.
std::optional<QString> whyWait(const QString &file, const QString &mountTable = QStringLiteral("/etc/fstab"),
                               const QString &mounted = QStringLiteral("/proc/self/mounts"));

// Where the disk that `path` lives on is mounted, links followed as far as they lead.
QString diskOf(const QString &path, const QString &mounted = QStringLiteral("/proc/self/mounts"));

// Why to wait when `path` lived on the disk mounted at `disk` and now lives on one mounted above it:
// its disk went away. None when it did not.
std::optional<QString> diskGone(const QString &disk, const QString &path,
                                const QString &mounted = QStringLiteral("/proc/self/mounts"));

} // namespace MissingFile
