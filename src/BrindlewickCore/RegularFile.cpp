#include "RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A leading dot keeps it out of sight, and the marker out of any name a person would give a file.
QString temporaryPrefix(const QString &fileName)
{
    return QLatin1Char('.') + fileName + QStringLiteral(".brindlewick-saving-");
}

// Links may lead to links; the system gives up after 40, and so do we.
constexpr int mostLinks = 40;

std::optional<QString> writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return RegularFile::errorText(errno);
        done += written;
    }
    if (::fsync(fd) != 0)
        return RegularFile::errorText(errno);
    return std::nullopt;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

namespace RegularFile {

std::variant<QByteArray, QString> read(const QString &path, bool &missing, std::optional<qint64> limit)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    missing = fd < 0 && errno == ENOENT;
    if (fd < 0)
        return errorText(errno);
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

QString linkTarget(const QString &path)
{
    QString current = path;
    for (int hop = 0; hop < mostLinks; ++hop) {
        const QString next = QFileInfo(current).symLinkTarget();
        if (next.isEmpty())
            return current;
        current = next;
    }
    return current;
}

std::optional<QString> replace(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(linkTarget(path));
    const QString folder = target.absolutePath();
    QByteArray temporary = QFile::encodeName(QDir(folder).filePath(temporaryPrefix(target.fileName()))) + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errorText(errno);
    // mkostemp makes it readable by the owner only.
    std::optional<QString> error = writeAll(fd, bytes);
    if (::close(fd) != 0 && !error)
        error = errorText(errno);
    if (!error && ::rename(temporary.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        error = errorText(errno);
    if (error) {
        ::unlink(temporary.constData());
        return error;
    }
    syncFolder(folder);
    return std::nullopt;
}

std::optional<QString> create(int folder, const QString &name, const QByteArray &bytes)
{
    const QByteArray encoded = QFile::encodeName(name);
    const int fd = ::openat(folder, encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            S_IRUSR | S_IWUSR);
    if (fd < 0)
        return errorText(errno);
    std::optional<QString> error = writeAll(fd, bytes);
    if (::close(fd) != 0 && !error)
        error = errorText(errno);
    if (error) {
        ::unlinkat(folder, encoded.constData(), 0);
        return error;
    }
    ::fsync(folder);
    return std::nullopt;
}

bool isTemporaryOf(const QString &name, const QString &fileName)
{
    const QString prefix = temporaryPrefix(fileName);
    static const QRegularExpression suffix(QStringLiteral("^[A-Za-z0-9]{6}$"));
    return name.startsWith(prefix) && suffix.match(QStringView(name).mid(prefix.size())).hasMatch();
}

QString errorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace RegularFile
