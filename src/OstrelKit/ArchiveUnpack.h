#pragma once

#include <QSet>
#include <QString>
#include <optional>

// Unpacks a downloaded update into its staging folder, entry by entry. An archive is read through once
// before anything is written and refused as a whole at its first entry that could write outside that
// folder, or when it holds too many entries or more bytes than it may.
namespace ArchiveUnpack {

enum class Problem {
    unreadable,
    absolutePath,
    parentPath,
    linkOut,
    specialFile,
    tooLarge,
    tooManyEntries,
    diskFull,
    writeFailed
};

enum class Kind { file, directory, symlink, hardlink, other };

// What an update may hold once unpacked.
struct Limits {
    qint64 maxBytes = 0;
    int maxEntries = 0;
};

// What the entries before one made, by their paths inside the folder.
struct Made {
    QSet<QString> files;
    QSet<QString> symlinks;
};

// Why one entry may not be unpacked, if it may not: an absolute path, a ".." step, a device, pipe or
// socket, a path through a symbolic link made before, a hard link to anything but a file made before,
// or a symbolic link that could lead outside the folder. A symbolic link's ".." steps must all come
// first and stay inside the folder, judged from where the link stands; the folders it climbs are real
// ones, so where it leads does not depend on other links.
std::optional<Problem> entryProblem(const QString &path, Kind kind, const QString &linkTarget = {},
                                    const Made &before = {});

// The entry's path inside the folder, without "." steps or doubled slashes: "./bin//x" is "bin/x";
// empty for the folder itself.
QString relativePath(const QString &path);

// Unpacks `archive` (any format and compression libarchive reads) into the existing, empty folder
// `destination`. On a problem the caller removes the folder: a problem met only while writing (a full
// disk, an entry larger than its header said) may leave some entries there.
std::optional<Problem> unpack(const QString &archive, const QString &destination, Limits limits);

} // namespace ArchiveUnpack
