#include "OwnFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t othersMayWrite = S_IWGRP | S_IWOTH;
constexpr mode_t othersMayEnter = S_IRWXG | S_IRWXO;

bool ownedBy(const struct stat &info, mode_t closed)
{
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & closed) == 0;
}

int openOwned(const QString &path, int flags, mode_t closed)
{
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

int open(const QString &path)
{
    return openOwned(path, 0, othersMayWrite);
}

bool isPrivate(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && ownedBy(info, othersMayEnter);
}

int openPrivate(const QString &path)
{
    return openOwned(path, O_NOFOLLOW, othersMayEnter);
}

} // namespace OwnFolder
