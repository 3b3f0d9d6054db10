#include "RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
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
// Temporary names taken already move on to another, this often at most.
constexpr int mostNames = 100;

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

// Makes the new file `name` in the open folder `folder` and writes it: the errno value of the first
// failure, or 0. What was made of a file that failed is removed again.
int createIn(int folder, const QByteArray &name, const QByteArray &bytes, QString &error)
{
    const int fd = ::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            S_IRUSR | S_IWUSR);
    if (fd < 0) {
        const int code = errno;
        error = RegularFile::errorText(code);
        return code;
    }
    std::optional<QString> failed = writeAll(fd, bytes);
    const int closeError = ::close(fd) != 0 ? errno : 0;
    if (!failed && closeError != 0)
        failed = RegularFile::errorText(closeError);
    if (!failed)
        return 0;
    ::unlinkat(folder, name.constData(), 0);
    error = *failed;
    return EIO;
}

// Six letters or digits no one would pick, as mkstemp gives.
QByteArray randomSuffix()
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(6, '0');
    for (char &letter : suffix)
        letter = letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
    return suffix;
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
    QString error;
    if (createIn(folder, QFile::encodeName(name), bytes, error) != 0)
        return error;
    ::fsync(folder);
    return std::nullopt;
}

std::optional<QString> replaceIn(int folder, const QString &name, const QByteArray &bytes)
{
    const QByteArray encoded = QFile::encodeName(name);
    const QByteArray prefix = QFile::encodeName(temporaryPrefix(name));
    QString error;
    for (int attempt = 0; attempt < mostNames; ++attempt) {
        const QByteArray temporary = prefix + randomSuffix();
        const int failed = createIn(folder, temporary, bytes, error);
        if (failed == EEXIST)
            continue;
        if (failed != 0)
            return error;
        if (::renameat(folder, temporary.constData(), folder, encoded.constData()) != 0) {
            error = errorText(errno);
            ::unlinkat(folder, temporary.constData(), 0);
            return error;
        }
        ::fsync(folder);
        return std::nullopt;
    }
    return error;
}

void removeTemporaries(const QString &path)
{
    const QFileInfo file(path);
    for (const QFileInfo &entry : file.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (isTemporaryOf(entry.fileName(), file.fileName()) && !entry.isSymLink())
            QFile::remove(entry.filePath());
    }
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
