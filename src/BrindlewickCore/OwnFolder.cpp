#include "OwnFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

namespace {

constexpr mode_t othersMayWrite = S_IWGRP | S_IWOTH;
constexpr mode_t othersMayEnter = S_IRWXG | S_IRWXO;

bool ownedBy(const struct stat &info, mode_t closed)
{
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & closed) == 0;
}

// Root could change anything anyway; any other owner but this user could change what is theirs.
bool trusted(uid_t owner)
{
    return owner == ::geteuid() || owner == 0;
}

// Others could take a name in it away or put their own in its place: the sticky bit keeps them to
// their own names.
bool openToOthers(const struct stat &info)
{
    return (info.st_mode & othersMayWrite) != 0 && (info.st_mode & S_ISVTX) == 0;
}

// How far `absolute` is there (the deepest path along it that is), or why a link on the way is not to
// be followed.
std::variant<QByteArray, QString> walkLinks(const QByteArray &absolute)
{
    QByteArray there = "/";
    QByteArray walked;
    for (const QByteArray &name : absolute.split('/')) {
        if (name.isEmpty())
            continue;
        walked += '/' + name;
        struct stat info {};
        if (::lstat(walked.constData(), &info) != 0)
            break;
        if (S_ISLNK(info.st_mode) && !trusted(info.st_uid))
            return QStringLiteral("“%1” is a link that another user made").arg(QFile::decodeName(walked));
        there = walked;
    }
    return there;
}

int openOwned(const QString &path, int flags, mode_t closed)
{
    if (OwnFolder::whyNotOwn(path))
        return -1;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && ownedBy(info, closed))
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

} // namespace

namespace OwnFolder {

std::optional<QString> make(const QString &path)
{
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    QString made;
    for (const QString &part : absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        made += QLatin1Char('/') + part;
        if (::mkdir(QFile::encodeName(made).constData(), S_IRWXU) != 0 && errno != EEXIST)
            return QStringLiteral("The folder “%1” could not be created (%2).")
                .arg(made, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!QFileInfo(absolute).isDir())
        return QStringLiteral("“%1” is not a folder.").arg(absolute);
    return std::nullopt;
}

std::optional<QString> makeOwn(const QString &path)
{
    if (const std::optional<QString> why = whyNotOwn(path))
        return why;
    return make(path);
}

int open(const QString &path)
{
    return openOwned(path, 0, othersMayWrite);
}

bool isPrivate(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && ownedBy(info, othersMayEnter) &&
           !whyNotOwn(path);
}

int openPrivate(const QString &path)
{
    return openOwned(path, O_NOFOLLOW, othersMayEnter);
}

std::optional<QString> whyNotOwn(const QString &path)
{
    const QByteArray absolute = QFile::encodeName(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
    const std::variant<QByteArray, QString> walked = walkLinks(absolute);
    if (const auto *why = std::get_if<QString>(&walked))
        return *why;
    const QByteArray &there = std::get<QByteArray>(walked);
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(there.constData(), nullptr), &std::free);
    if (!real)
        return std::nullopt;
    // The folders it leads to, from the root down; the folder itself takes no one else's names at all.
    const QByteArray reached(real.get());
    QByteArray step;
    for (const QByteArray &name : reached.split('/')) {
        if (name.isEmpty())
            continue;
        step += '/' + name;
        struct stat info {};
        if (::stat(step.constData(), &info) != 0)
            return std::nullopt;
        const bool itself = there == absolute && step == reached;
        if (itself ? info.st_uid != ::geteuid() : !trusted(info.st_uid))
            return QStringLiteral("“%1” belongs to another user").arg(QFile::decodeName(step));
        if (itself ? (info.st_mode & othersMayWrite) != 0 : openToOthers(info))
            return QStringLiteral("other users may write in “%1”").arg(QFile::decodeName(step));
    }
    return std::nullopt;
}

} // namespace OwnFolder
