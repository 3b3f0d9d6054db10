#include "ArchiveUnpack.h"

#include <QFile>
#include <QStringList>
#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace ArchiveUnpack {

namespace {

constexpr int blockSize = 64 * 1024;
// Nothing unpacked is set-user-ID or writable by others, whatever the archive says.
constexpr mode_t permissionMask = 0755;

using Reader = std::unique_ptr<archive, decltype(&archive_read_free)>;
using Writer = std::unique_ptr<archive, decltype(&archive_write_free)>;

bool isAbsolute(const QString &path)
{
    return path.startsWith(QLatin1Char('/'));
}

bool hasParentStep(const QString &path)
{
    return path.split(QLatin1Char('/')).contains(QStringLiteral(".."));
}

// Follows `target` from the folder that holds `link`: false when it climbs above the top, or climbs
// after it has gone down (through what may be a link itself).
bool staysInside(const QString &link, const QString &target)
{
    qsizetype depth = relativePath(link).count(QLatin1Char('/'));
    bool wentDown = false;
    for (const QString &step : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("..")) {
            if (wentDown || depth == 0)
                return false;
            --depth;
        } else if (step != QLatin1String(".")) {
            wentDown = true;
        }
    }
    return true;
}

bool passesThrough(const QString &path, const QSet<QString> &symlinks)
{
    for (qsizetype slash = path.indexOf(QLatin1Char('/')); slash > 0; slash = path.indexOf(QLatin1Char('/'), slash + 1)) {
        if (symlinks.contains(path.left(slash)))
            return true;
    }
    return false;
}

Problem writeProblem(archive *out)
{
    const int error = archive_errno(out);
    return error == ENOSPC || error == EDQUOT ? Problem::diskFull : Problem::writeFailed;
}

Kind kindOf(archive_entry *entry)
{
    if (archive_entry_hardlink(entry))
        return Kind::hardlink;
    switch (archive_entry_filetype(entry)) {
    case AE_IFREG:
        return Kind::file;
    case AE_IFDIR:
        return Kind::directory;
    case AE_IFLNK:
        return Kind::symlink;
    default:
        return Kind::other;
    }
}

QString linkTarget(archive_entry *entry, Kind kind)
{
    if (kind == Kind::symlink)
        return QString::fromUtf8(archive_entry_symlink(entry));
    if (kind == Kind::hardlink)
        return QString::fromUtf8(archive_entry_hardlink(entry));
    return {};
}

std::optional<Problem> copyData(archive *in, archive *out, qint64 &written, qint64 maxBytes)
{
    const void *block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    for (;;) {
        const int status = archive_read_data_block(in, &block, &size, &offset);
        if (status == ARCHIVE_EOF)
            return std::nullopt;
        if (status != ARCHIVE_OK)
            return Problem::unreadable;
        written += qint64(size);
        if (written > maxBytes)
            return Problem::tooLarge;
        if (archive_write_data_block(out, block, size, offset) != ARCHIVE_OK)
            return writeProblem(out);
    }
}

// One entry that may be unpacked, with its path inside the folder.
struct Entry {
    archive_entry *header;
    Kind kind;
    QString relative;
    QString target;
};

using Take = std::function<std::optional<Problem>(archive *in, const Entry &entry)>;

// Reads the entries in order, judges each against those before it and hands every one that may be
// unpacked to `take`, which may refuse it too.
std::optional<Problem> walk(const QString &archivePath, int maxEntries, const Take &take)
{
    const Reader in(archive_read_new(), &archive_read_free);
    archive_read_support_filter_all(in.get());
    archive_read_support_format_all(in.get());
    if (archive_read_open_filename(in.get(), QFile::encodeName(archivePath).constData(), blockSize) != ARCHIVE_OK)
        return Problem::unreadable;
    Made made;
    archive_entry *header = nullptr;
    for (int count = 1;; ++count) {
        const int status = archive_read_next_header(in.get(), &header);
        if (status == ARCHIVE_EOF)
            return std::nullopt;
        if (status != ARCHIVE_OK)
            return Problem::unreadable;
        if (count > maxEntries)
            return Problem::tooManyEntries;
        const QString path = QString::fromUtf8(archive_entry_pathname_utf8(header) ? archive_entry_pathname_utf8(header)
                                                                                   : archive_entry_pathname(header));
        const Kind kind = kindOf(header);
        const QString target = linkTarget(header, kind);
        if (const std::optional<Problem> problem = entryProblem(path, kind, target, made))
            return problem;
        const QString relative = relativePath(path);
        if (relative.isEmpty())
            continue;
        if (kind == Kind::file)
            made.files.insert(relative);
        else if (kind == Kind::symlink)
            made.symlinks.insert(relative);
        if (const std::optional<Problem> problem = take(in.get(), Entry{header, kind, relative, target}))
            return problem;
    }
}

// The sizes the headers give, added up: a bomb is refused before its first byte is written.
std::optional<Problem> survey(const QString &archivePath, Limits limits)
{
    qint64 announced = 0;
    return walk(archivePath, limits.maxEntries, [&](archive *, const Entry &entry) -> std::optional<Problem> {
        if (entry.kind == Kind::file)
            announced += qMax<qint64>(0, archive_entry_size(entry.header));
        return announced > limits.maxBytes ? std::optional(Problem::tooLarge) : std::nullopt;
    });
}

} // namespace

QString relativePath(const QString &path)
{
    QStringList steps = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    steps.removeAll(QStringLiteral("."));
    return steps.join(QLatin1Char('/'));
}

std::optional<Problem> entryProblem(const QString &path, Kind kind, const QString &target, const Made &before)
{
    if (isAbsolute(path))
        return Problem::absolutePath;
    if (hasParentStep(path))
        return Problem::parentPath;
    if (passesThrough(relativePath(path), before.symlinks))
        return Problem::linkOut;
    switch (kind) {
    case Kind::other:
        return Problem::specialFile;
    case Kind::symlink:
        if (isAbsolute(target) || !staysInside(path, target))
            return Problem::linkOut;
        return std::nullopt;
    case Kind::hardlink:
        if (!before.files.contains(relativePath(target)))
            return Problem::linkOut;
        return std::nullopt;
    case Kind::file:
    case Kind::directory:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Problem> unpack(const QString &archivePath, const QString &destination, Limits limits)
{
    if (const std::optional<Problem> problem = survey(archivePath, limits))
        return problem;
    const Writer out(archive_write_disk_new(), &archive_write_free);
    archive_write_disk_set_options(out.get(), ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_SECURE_SYMLINKS |
                                                  ARCHIVE_EXTRACT_SECURE_NODOTDOT | ARCHIVE_EXTRACT_NO_OVERWRITE);
    const QString root = destination.endsWith(QLatin1Char('/')) ? destination : destination + QLatin1Char('/');
    // The headers' sizes were checked; the bytes that come are what counts.
    qint64 written = 0;
    const std::optional<Problem> problem =
        walk(archivePath, limits.maxEntries, [&](archive *in, const Entry &entry) -> std::optional<Problem> {
            archive_entry_set_pathname(entry.header, QFile::encodeName(root + entry.relative).constData());
            if (entry.kind == Kind::hardlink)
                archive_entry_set_hardlink(entry.header,
                                           QFile::encodeName(root + relativePath(entry.target)).constData());
            archive_entry_set_perm(entry.header, archive_entry_perm(entry.header) & permissionMask);
            if (archive_write_header(out.get(), entry.header) != ARCHIVE_OK)
                return writeProblem(out.get());
            if (entry.kind == Kind::file)
                if (const std::optional<Problem> copied = copyData(in, out.get(), written, limits.maxBytes))
                    return copied;
            if (archive_write_finish_entry(out.get()) != ARCHIVE_OK)
                return writeProblem(out.get());
            return std::nullopt;
        });
    if (problem)
        return problem;
    return archive_write_close(out.get()) == ARCHIVE_OK ? std::nullopt : std::optional(writeProblem(out.get()));
}

} // namespace ArchiveUnpack
