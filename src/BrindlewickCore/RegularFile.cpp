#include "RegularFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::variant<QByteArray, QString> RegularFile::read(const QString &path, bool &missing, std::optional<qint64> limit)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    missing = fd < 0 && errno == ENOENT;
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return QStringLiteral("It is not a regular file.");
    }
    if (limit && info.st_size > *limit) {
        ::close(fd);
        return QStringLiteral("It is larger than %1 bytes.").arg(*limit);
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    // A file that grew since it was measured is read no further than one byte past the limit.
    QByteArray bytes = limit ? file.read(*limit + 1) : file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    if (limit && bytes.size() > *limit)
        return QStringLiteral("It is larger than %1 bytes.").arg(*limit);
    return bytes;
}
