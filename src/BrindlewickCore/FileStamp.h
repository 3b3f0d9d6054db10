#pragma once

#include <QString>
#include <optional>

// Which file is on disk: another program that replaces or rewrites the file changes at least one.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    bool operator==(const FileStamp &) const = default;

    // The file at `path` as it is now; none when there is none.
    static std::optional<FileStamp> of(const QString &path);
};
