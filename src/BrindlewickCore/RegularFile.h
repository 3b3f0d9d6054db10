#pragma once

#include "FileStamp.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <variant>

namespace RegularFile {

// The bytes of the regular file at `path`, or why they could not be read; `missing` says there is no
// file. Never waits: a FIFO or a device in the file's place must not hold the program up. A file
// larger than `limit` bytes is not read.
std::variant<QByteArray, QString> read(const QString &path, bool &missing, std::optional<qint64> limit = std::nullopt);

// Where `path` leads once the links it is are followed, a link to a link too: the file a write through
// it replaces. `path` itself when it is no link; a relative link counts from its own folder.
QString linkTarget(const QString &path);

// Puts `bytes` in place of the file at `path` in one step: written and synced to a new file beside it
// (beside the link's target when `path` is a link, so the link stays a link), then renamed over it, so
// a reader sees the old file or the new one, never a part. Readable by the owner only. The error text,
// or none when written.
std::optional<QString> replace(const QString &path, const QByteArray &bytes);

// What `exchange` did: `written` is the new file, and `replaced` the temporary name of ours the file it
// took the place of now bears; none when there was none, or the disk can neither swap files nor give
// one a second name (FAT, some network shares: there the file is replaced as `replace` does).
struct Exchanged {
    std::optional<FileStamp> written;
    std::optional<QString> replaced;
};

// Puts `bytes` in place of the file at `path` as `replace` does, but keeps what it replaced, whatever
// another program put there up to the last moment: the two are swapped in one step where the disk can,
// else the file there gets a second name just before the rename. `beforeSwap` runs once the new file is
// written. The error text when nothing was replaced.
std::variant<Exchanged, QString> exchange(const QString &path, const QByteArray &bytes,
                                          const std::function<void()> &beforeSwap = {});

// Gives the file `from` the name `to`, never over anything there. The error text, or none when moved.
std::optional<QString> moveTo(const QString &from, const QString &to);

// Writes and syncs the new file `name` in the open folder `folder`, readable by the owner only; never
// over anything already there, never through a link. The error text, or none when written.
std::optional<QString> create(int folder, const QString &name, const QByteArray &bytes);

// Puts `bytes` in place of the file `name` in the open folder `folder` in one step, as `replace` does,
// but never through a link: a link of that name is replaced, not followed. Readable by the owner only.
// The error text, or none when written.
std::optional<QString> replaceIn(int folder, const QString &name, const QByteArray &bytes);

// Removes the temporary files a cut-short `replace` or `replaceIn` of `path` left beside it.
void removeTemporaries(const QString &path);

// Whether `name` is a file `replace` made beside the file `fileName` (left behind when a write was cut
// short). No person names a file so.
bool isTemporaryOf(const QString &name, const QString &fileName);

// Whether an errno value of `link` says the disk cannot give a file a second name (FAT disks, some
// network shares).
bool noHardLinksHere(int error);

// The system's text for an errno value.
QString errorText(int code);

} // namespace RegularFile
