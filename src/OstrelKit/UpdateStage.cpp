#include "UpdateStage.h"

#include "InstallLayout.h"
#include "UpdateLogic.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString failedName = QStringLiteral("install-failed");
const QString toldName = QStringLiteral("install-failed.told");
constexpr qint64 maxFailureBytes = 4096;
constexpr int keyDigits = 16;

QString updatesFolder(const QString &cacheFolder)
{
    return cacheFolder + QStringLiteral("/updates");
}

// Short and fixed in length, whatever the install folder's path.
QString copyKey(const QString &installFolder)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(QFile::encodeName(installFolder), QCryptographicHash::Sha256).toHex().left(keyDigits));
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

int openFolder(const QString &path)
{
    return ::open(encoded(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool sameFolder(int fd, const QString &path)
{
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(encoded(path).constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Root could change anything anyway; any other owner could swap what is theirs.
bool trusted(uid_t owner)
{
    return owner == ::geteuid() || owner == 0;
}

// Why another user could put a folder of theirs where `path` leads: a link on the way that they made,
// a folder on the way that they own or may write in (unless its sticky bit keeps them to their own
// names), or the folder itself not this user's alone. The way is walked as written and as it leads, as
// far as it is there.
std::optional<QString> whyNotOwnFolder(const QString &path)
{
    const QString written = QDir::cleanPath(path);
    const QString reached = QFileInfo(written).canonicalFilePath();
    for (const QString &way : reached.isEmpty() ? QStringList{written} : QStringList{written, reached}) {
        QString walked;
        for (const QString &step : way.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            walked += QLatin1Char('/') + step;
            struct stat link {};
            struct stat folder {};
            if (::lstat(encoded(walked).constData(), &link) != 0)
                break;
            if (S_ISLNK(link.st_mode) && !trusted(link.st_uid))
                return QCoreApplication::translate("UpdateStage", "“%1” is a link that another user made").arg(walked);
            if (::stat(encoded(walked).constData(), &folder) != 0)
                break;
            const bool itself = walked == way;
            if (itself ? folder.st_uid != ::geteuid() : !trusted(folder.st_uid))
                return QCoreApplication::translate("UpdateStage", "“%1” belongs to another user").arg(walked);
            if ((folder.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (itself || (folder.st_mode & S_ISVTX) == 0))
                return QCoreApplication::translate("UpdateStage", "other users may write in “%1”").arg(walked);
        }
    }
    return std::nullopt;
}

// Each missing folder of `path` is made for the user alone.
bool makePrivate(const QString &path)
{
    QString made;
    for (const QString &step : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        made += QLatin1Char('/') + step;
        if (::mkdir(encoded(made).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return QFileInfo(path).isDir();
}

} // namespace

bool UpdateStage::isRunning(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
}

UpdateStage::UpdateStage(const QString &cacheFolder, const QString &installFolder)
    : m_cacheFolder(cacheFolder), m_folder(updatesFolder(cacheFolder) + QLatin1Char('/') + copyKey(installFolder))
{
}

UpdateStage::~UpdateStage()
{
    for (const int fd : std::as_const(m_held))
        ::close(fd);
}

QString UpdateStage::versionFolder(const QString &version) const
{
    return m_folder + QLatin1Char('/') + version;
}

QString UpdateStage::archiveFile(const QString &version) const
{
    return m_folder + QStringLiteral("/.%1-%2.archive").arg(version).arg(QCoreApplication::applicationPid());
}

QString UpdateStage::unpackFolder(const QString &version) const
{
    return m_folder + QStringLiteral("/.%1-%2.unpack").arg(version).arg(QCoreApplication::applicationPid());
}

// Each is looked at before anything is made in it. Folders made by an earlier version for everyone to
// read are closed too, once they are known to be this user's.
bool UpdateStage::make() const
{
    for (const QString &folder : ownFolders()) {
        if (!makePrivate(folder) || whyNotOwnFolder(folder))
            return false;
        ::chmod(encoded(folder).constData(), 0700);
    }
    return true;
}

QStringList UpdateStage::ownFolders() const
{
    return {m_cacheFolder, updatesFolder(m_cacheFolder), m_folder};
}

std::optional<QString> UpdateStage::whyNotOwn() const
{
    for (const QString &folder : ownFolders()) {
        if (const std::optional<QString> why = whyNotOwnFolder(folder))
            return why;
    }
    return std::nullopt;
}

int UpdateStage::holdFolder(const QString &path, const QString &program)
{
    const int fd = openFolder(path);
    if (fd < 0)
        return -1;
    // Another process may have removed it between the open and the lock.
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0 || !sameFolder(fd, path) || !InstallLayout::isOwnLayout(path, program)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool UpdateStage::hold(const QString &version, const QString &program)
{
    if (m_held.contains(version))
        return true;
    const int fd = holdFolder(versionFolder(version), program);
    if (fd < 0)
        return false;
    m_held.insert(version, fd);
    return true;
}

// Held before it is renamed, so it is never there unheld for another process to remove.
bool UpdateStage::keep(const QString &version, const QString &program)
{
    const QString unpacked = unpackFolder(version);
    const int fd = holdFolder(unpacked, program);
    if (fd < 0)
        return false;
    if (::rename(encoded(unpacked).constData(), encoded(versionFolder(version)).constData()) != 0) {
        ::close(fd);
        dropOwn(version);
        return hold(version, program);
    }
    m_held.insert(version, fd);
    return true;
}

void UpdateStage::dropOwn(const QString &version) const
{
    QFile::remove(archiveFile(version));
    QDir(unpackFolder(version)).removeRecursively();
}

void UpdateStage::removeUnused()
{
    if (whyNotOwn())
        return;
    static const QRegularExpression ownedByProcess(QStringLiteral("^\\.[0-9.]+-(\\d+)\\.(archive|unpack)$"));
    const QDir stage(m_folder);
    for (const QString &name : stage.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString path = stage.filePath(name);
        if (const QRegularExpressionMatch match = ownedByProcess.match(name); match.hasMatch()) {
            if (!isRunning(match.captured(1).toLongLong()))
                QFileInfo(path).isDir() ? void(QDir(path).removeRecursively()) : void(QFile::remove(path));
            continue;
        }
        if (!UpdateLogic::parseVersion(name) || m_held.contains(name))
            continue;
        const int fd = openFolder(path);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && sameFolder(fd, path))
            QDir(path).removeRecursively();
        if (fd >= 0)
            ::close(fd);
    }
}

int UpdateStage::handOver(const QString &version) const
{
    const int fd = m_held.value(version, -1);
    if (fd >= 0)
        ::fcntl(fd, F_SETFD, 0);
    return fd;
}

std::optional<UpdateStage::Failure> UpdateStage::failure() const
{
    if (whyNotOwn())
        return std::nullopt;
    for (const QString &name : {failedName, toldName}) {
        QFile file(m_folder + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QStringList lines = QString::fromUtf8(file.read(maxFailureBytes)).split(QLatin1Char('\n'));
        const QString version = lines.value(0).trimmed();
        if (!UpdateLogic::parseVersion(version))
            return std::nullopt;
        return Failure{version, lines.value(1).trimmed(), name == toldName};
    }
    return std::nullopt;
}

void UpdateStage::markFailureTold() const
{
    QFile::remove(m_folder + QLatin1Char('/') + toldName);
    QFile::rename(m_folder + QLatin1Char('/') + failedName, m_folder + QLatin1Char('/') + toldName);
}

void UpdateStage::forgetFailure() const
{
    QFile::remove(m_folder + QLatin1Char('/') + failedName);
    QFile::remove(m_folder + QLatin1Char('/') + toldName);
}
