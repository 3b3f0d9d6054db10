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

// Where the temporary files of ours beside `target` lie, but for the six characters that end each name.
QByteArray temporaryStart(const QFileInfo &target)
{
    return QFile::encodeName(QDir(target.absolutePath()).filePath(temporaryPrefix(target.fileName())));
}

// Writes and syncs `bytes` to a new file of ours beside `target`, readable by the owner only (as
// mkostemp makes it): its path, or the error text.
std::variant<QByteArray, QString> writeTemporary(const QFileInfo &target, const QByteArray &bytes)
{
    QByteArray temporary = temporaryStart(target) + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return RegularFile::errorText(errno);
    std::optional<QString> error = writeAll(fd, bytes);
    if (::close(fd) != 0 && !error)
        error = RegularFile::errorText(errno);
    if (!error)
        return temporary;
    ::unlink(temporary.constData());
    return *error;
}

// The disk (or the kernel) knows no swapping of two files, nor renames that refuse to replace.
bool cannotSwapHere(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// Gives the file `from` the name `to` only while nothing bears it: 0, or the errno value. Where the
// disk knows neither such a rename nor second names, a plain rename is all there is.
int placeNew(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (!cannotSwapHere(errno))
        return errno;
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return 0;
    }
    if (!RegularFile::noHardLinksHere(errno))
        return errno;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

using Swapped = std::variant<std::optional<QByteArray>, int>;

// Where files cannot be swapped, the file at `to` gets a second name of ours just before `from` is
// renamed over it. Disks that know no second names either have only the rename.
Swapped renameKeeping(const QByteArray &from, const QByteArray &to, const QByteArray &aside)
{
    if (::link(to.constData(), aside.constData()) == 0) {
        if (::rename(from.constData(), to.constData()) == 0)
            return std::optional<QByteArray>(aside);
        const int code = errno;
        ::unlink(aside.constData());
        return code;
    }
    if (!RegularFile::noHardLinksHere(errno))
        return errno;
    return ::rename(from.constData(), to.constData()) == 0 ? Swapped() : errno;
}

// Puts the file `from` at `to`. The file that was there now bears a temporary name of ours beside it
// (`from`'s, where the two were swapped), returned; none when there was none or it could not be kept.
// Else the errno value.
Swapped swapInto(const QByteArray &from, const QByteArray &to, const QByteArray &prefix)
{
    for (int attempt = 0; attempt < mostNames; ++attempt) {
        Swapped swapped = std::optional<QByteArray>(from);
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) != 0)
            swapped = cannotSwapHere(errno) ? renameKeeping(from, to, prefix + randomSuffix()) : errno;
        const int *code = std::get_if<int>(&swapped);
        // Nothing there yet: a file another program puts there meanwhile is swapped with next round.
        if (code && *code == ENOENT) {
            const int placed = placeNew(from, to);
            swapped = placed == 0 ? Swapped() : placed;
            code = std::get_if<int>(&swapped);
        }
        // The second name was taken, or the file put there meanwhile must be kept: once more.
        if (!code || *code != EEXIST)
            return swapped;
    }
    return EEXIST;
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
    const std::variant<QByteArray, QString> written = writeTemporary(target, bytes);
    if (const auto *error = std::get_if<QString>(&written))
        return *error;
    const QByteArray &temporary = std::get<QByteArray>(written);
    if (::rename(temporary.constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return errorText(code);
    }
    syncFolder(target.absolutePath());
    return std::nullopt;
}

std::variant<Exchanged, QString> exchange(const QString &path, const QByteArray &bytes,
                                          const std::function<void()> &beforeSwap)
{
    const QFileInfo target(linkTarget(path));
    const std::variant<QByteArray, QString> written = writeTemporary(target, bytes);
    if (const auto *error = std::get_if<QString>(&written))
        return *error;
    const QByteArray &temporary = std::get<QByteArray>(written);
    Exchanged done{FileStamp::of(QFile::decodeName(temporary)), std::nullopt};
    if (beforeSwap)
        beforeSwap();
    const auto swapped = swapInto(temporary, QFile::encodeName(target.absoluteFilePath()), temporaryStart(target));
    if (const int *code = std::get_if<int>(&swapped)) {
        ::unlink(temporary.constData());
        return errorText(*code);
    }
    if (const std::optional<QByteArray> &aside = std::get<std::optional<QByteArray>>(swapped))
        done.replaced = QFile::decodeName(*aside);
    syncFolder(target.absolutePath());
    return done;
}

std::optional<QString> moveTo(const QString &from, const QString &to)
{
    if (const int code = placeNew(QFile::encodeName(from), QFile::encodeName(to)); code != 0)
        return errorText(code);
    syncFolder(QFileInfo(to).absolutePath());
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

bool noHardLinksHere(int error)
{
    return error == EPERM || error == EXDEV || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS;
}

QString errorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace RegularFile
