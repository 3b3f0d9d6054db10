#pragma once

#include <QString>
#include <optional>

// Whether a file that is not there means there is nothing yet, or that the place it lives in has not
// come yet: a disk not mounted, a link into a sync folder that has not appeared.
namespace MissingFile {

// None when the missing file's folder is plainly the user's: there or to be made in a folder of the
// user's own, not an empty mount point waiting for its disk, and the file no link to nothing. Else why
// to wait for it. `mountTable` lists the mount points, as /etc/fstab does.
std::optional<QString> whyWait(const QString &file, const QString &mountTable = QStringLiteral("/etc/fstab"));

} // namespace MissingFile
