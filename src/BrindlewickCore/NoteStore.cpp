#include "NoteStore.h"

#include "MissingFile.h"
#include "NoteCoding.h"
#include "OwnFolder.h"
#include "RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::optional<QString> createFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    const int folder = ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return RegularFile::errorText(errno);
    const std::optional<QString> error = RegularFile::create(folder, target.fileName(), bytes);
    ::close(folder);
    return error;
}

std::optional<QString> copyFile(const QString &from, const QString &to)
{
    bool missing = false;
    const std::variant<QByteArray, QString> read = RegularFile::read(from, missing);
    if (const auto *error = std::get_if<QString>(&read))
        return *error;
    return createFile(to, std::get<QByteArray>(read));
}

const QString unwritableTime = QStringLiteral("A note holds a time that cannot be written.");

} // namespace

NoteStore::NoteStore(const QString &folder) : m_url(QDir(folder).filePath(QStringLiteral("notes.json")))
{
}

NoteStore::Loaded NoteStore::load(Date now, bool mayBeUnfinished) const
{
    bool missing = false;
    const auto read = RegularFile::read(m_url, missing);
    if (missing) {
        if (const std::optional<QString> why = MissingFile::whyWait(m_url))
            return Unreadable{*why};
        return Fresh{};
    }
    if (const auto *error = std::get_if<QString>(&read))
        return Unreadable{*error};

    if (auto book = NoteCoding::decode(std::get<QByteArray>(read), now))
        return *book;
    if (mayBeUnfinished)
        return Unfinished{stamp()};

    const QString target = setAsideName(now, QStringLiteral("damaged"));
    if (const auto error = setAside(target))
        return Stuck{target, *error};
    return Damaged{target};
}

QString NoteStore::target() const
{
    return RegularFile::linkTarget(m_url);
}

// "notes.<kind>-<unix seconds>.json"; a name already taken moves on to the next number,
// so one set-aside file never replaces another.
QString NoteStore::setAsideName(Date now, const QString &kind) const
{
    const QDir folder = QFileInfo(target()).absoluteDir();
    auto seconds = static_cast<qint64>(std::trunc(now.unixSeconds()));
    QString name;
    do {
        name = folder.filePath(QStringLiteral("notes.%1-%2.json").arg(kind).arg(seconds++));
    } while (QFileInfo::exists(name) || QFileInfo(name).isSymLink());
    return name;
}

// A plain rename, never a copy that could leave half a file behind. Through a link the file is kept
// under both names instead: moved away, it would leave the link pointing at nothing.
std::optional<QString> NoteStore::setAside(const QString &target) const
{
    if (QFileInfo(m_url).isSymLink())
        return keepCopy(target);
    if (::rename(QFile::encodeName(m_url).constData(), QFile::encodeName(target).constData()) != 0)
        return RegularFile::errorText(errno);
    syncFolder(QFileInfo(m_url).absolutePath());
    return std::nullopt;
}

std::optional<QString> NoteStore::keepCopy(const QString &target) const
{
    const QString file = this->target();
    if (::link(QFile::encodeName(file).constData(), QFile::encodeName(target).constData()) == 0) {
        syncFolder(QFileInfo(target).absolutePath());
        return std::nullopt;
    }
    // Where a second name for a file cannot be made, its bytes are copied.
    if (!RegularFile::noHardLinksHere(errno))
        return RegularFile::errorText(errno);
    return copyFile(file, target);
}

std::optional<QString> NoteStore::keep(const NoteBook &book, const QString &target) const
{
    const std::optional<QByteArray> bytes = NoteCoding::encode(book);
    if (!bytes)
        return unwritableTime;
    return createFile(target, *bytes);
}

std::optional<FileStamp> NoteStore::stamp() const
{
    return FileStamp::of(m_url);
}

QString NoteStore::disk() const
{
    return MissingFile::diskOf(target());
}

void NoteStore::removeLeftovers() const
{
    RegularFile::removeTemporaries(target());
}

std::optional<QString> NoteStore::save(const NoteBook &book) const
{
    const std::variant<RegularFile::Exchanged, QString> swapped = swapIn(book);
    if (const auto *error = std::get_if<QString>(&swapped))
        return *error;
    if (const std::optional<QString> &replaced = std::get<RegularFile::Exchanged>(swapped).replaced)
        QFile::remove(*replaced);
    return std::nullopt;
}

std::variant<RegularFile::Exchanged, QString> NoteStore::swapIn(const NoteBook &book,
                                                                const std::function<void()> &beforeSwap) const
{
    if (const std::optional<QString> error = OwnFolder::make(QFileInfo(m_url).absolutePath()))
        return *error;
    const auto bytes = NoteCoding::encode(book);
    if (!bytes)
        return unwritableTime;
    return RegularFile::exchange(m_url, *bytes, beforeSwap);
}
