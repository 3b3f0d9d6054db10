#pragma once

#include <QString>
#include <optional>

// Unpacks a downloaded update into its staging folder, entry by entry, and refuses an archive as a
// whole at its first entry that could write outside that folder.
namespace ArchiveUnpack {

enum class Problem { unreadable, absolutePath, parentPath, linkOut, specialFile, tooLarge, writeFailed };

enum class Kind { file, directory, symlink, hardlink, other };

// The most an update may take once unpacked.
inline constexpr qint64 maxUnpackedBytes = 2LL * 1024 * 1024 * 1024;

// Why one entry may not be unpacked, if it may not: an absolute path, a ".." step, a device, pipe or
// socket, or a link whose target lies outside the folder (judged from where the link stands).
std::optional<Problem> entryProblem(const QString &path, Kind kind, const QString &linkTarget = {});

// The entry's path inside the folder: "./bin/x" is "bin/x"; empty for the folder itself.
QString relativePath(const QString &path);

// Unpacks `archive` (any format and compression libarchive reads) into the existing, empty folder
// `destination`. On a problem the caller removes the folder: some entries may already be there.
std::optional<Problem> unpack(const QString &archive, const QString &destination,
                              qint64 maxBytes = maxUnpackedBytes);

} // namespace ArchiveUnpack
