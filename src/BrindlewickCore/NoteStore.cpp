#include "NoteStore.h"

#include "NoteCoding.h"
#include "RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
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

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// The name QSaveFile gives its temporary copy: the file's name, a dot and six letters or digits.
bool isLeftover(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^notes\\.json\\.[A-Za-z0-9]{6}$"));
    return pattern.match(name).hasMatch();
}

} // namespace

NoteStore::NoteStore(const QString &folder) : m_url(QDir(folder).filePath(QStringLiteral("notes.json")))
{
}

NoteStore::Loaded NoteStore::load(Date now) const
{
    bool missing = false;
    const auto read = RegularFile::read(m_url, missing);
    if (missing)
        return Fresh{};
    if (const auto *error = std::get_if<QString>(&read))
        return Unreadable{*error};

    if (auto book = NoteCoding::decode(std::get<QByteArray>(read), now))
        return *book;

    const QString target = setAsideName(now);
    if (const auto error = moveAside(target))
        return Stuck{target, *error};
    return Damaged{target};
}

// "notes.<kind>-<unix seconds>.json"; a name already taken moves on to the next number,
// so one set-aside file never replaces another.
QString NoteStore::setAsideName(Date now, const QString &kind) const
{
    const QDir folder = QFileInfo(m_url).absoluteDir();
    auto seconds = static_cast<qint64>(std::trunc(now.unixSeconds()));
    QString name;
    do {
        name = folder.filePath(QStringLiteral("notes.%1-%2.json").arg(kind).arg(seconds++));
    } while (QFileInfo::exists(name) || QFileInfo(name).isSymLink());
    return name;
}

// A plain rename: never a copy, which could leave half a file behind.
std::optional<QString> NoteStore::moveAside(const QString &target) const
{
    if (::rename(QFile::encodeName(m_url).constData(), QFile::encodeName(target).constData()) != 0)
        return systemError(errno);
    syncFolder(QFileInfo(m_url).absolutePath());
    return std::nullopt;
}

std::optional<FileStamp> NoteStore::stamp() const
{
    return FileStamp::of(m_url);
}

void NoteStore::removeLeftovers() const
{
    const QDir folder = QFileInfo(m_url).absoluteDir();
    for (const QFileInfo &entry : folder.entryInfoList({QStringLiteral("notes.json.*")}, QDir::Files | QDir::Hidden)) {
        if (isLeftover(entry.fileName()) && !entry.isSymLink())
            QFile::remove(entry.filePath());
    }
}

std::optional<QString> NoteStore::save(const NoteBook &book) const
{
    const QString folder = QFileInfo(m_url).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("The folder “%1” could not be created.").arg(folder);

    const auto bytes = NoteCoding::encode(book);
    if (!bytes)
        return QStringLiteral("A note holds a time that cannot be written.");

    QSaveFile file(m_url);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(*bytes) != bytes->size() || !file.flush() || ::fsync(file.handle()) != 0) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    syncFolder(folder);
    return std::nullopt;
}
