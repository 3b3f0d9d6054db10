#include "InstanceList.h"

#include "OwnFolder.h"
#include "SocketPlace.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString entryPattern = QStringLiteral("brindlewick-*.instance");
constexpr int turnRetryMs = 20;
// Host, socket and data folder, each ended by a zero byte, which no path holds.
constexpr qsizetype longestEntry = 3 * PATH_MAX;

// Where a path leads now: the deepest folder along it that opens (links and mounts followed), and the
// names after it, which are not made yet. Two paths to one folder lead to one place. One step per name.
struct Place {
    dev_t device = 0;
    ino_t inode = 0;
    QByteArrayList missing;

    bool operator==(const Place &) const = default;
};

std::optional<Place> placeOf(const QString &path)
{
    int folder = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    Place place;
    for (const QByteArray &name : QFile::encodeName(path).split('/')) {
        if (name.isEmpty() || name == ".")
            continue;
        // Above a name not made yet, as a folder would be made.
        if (name == ".." && !place.missing.isEmpty()) {
            place.missing.removeLast();
            continue;
        }
        const int next = place.missing.isEmpty()
                             ? ::openat(folder, name.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC)
                             : -1;
        if (next < 0) {
            place.missing.append(name);
            continue;
        }
        ::close(folder);
        folder = next;
    }
    struct stat info {};
    const bool known = folder >= 0 && ::fstat(folder, &info) == 0;
    if (folder >= 0)
        ::close(folder);
    if (!known)
        return std::nullopt;
    place.device = info.st_dev;
    place.inode = info.st_ino;
    return place;
}

bool sameFolder(const QString &one, const std::optional<Place> &place, const QString &other)
{
    return one == other || (place && placeOf(other) == place);
}

QByteArray host()
{
    return QSysInfo::machineHostName().toUtf8();
}

QByteArray readAll(int fd)
{
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle);
    return file.read(longestEntry);
}

bool writeAll(int fd, const QByteArray &bytes)
{
    QFile file;
    return file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) && file.write(bytes) == bytes.size() &&
           file.flush();
}

} // namespace

InstanceList::InstanceList(const QString &folder) : m_path(folder)
{
    if (!OwnFolder::makeOwn(folder))
        m_folder = OwnFolder::openPrivate(folder);
}

InstanceList::~InstanceList()
{
    if (m_entry >= 0) {
        ::unlinkat(m_folder, QFile::encodeName(m_entryName).constData(), 0);
        ::close(m_entry);
    }
    endTurn();
    if (m_folder >= 0)
        ::close(m_folder);
}

void InstanceList::takeTurn(const QDeadlineTimer &deadline)
{
    if (!isOpen())
        return;
    while (!m_hasTurn) {
        m_hasTurn = ::flock(m_folder, LOCK_EX | LOCK_NB) == 0;
        if (m_hasTurn || errno != EWOULDBLOCK || deadline.hasExpired())
            return;
        QThread::msleep(turnRetryMs);
    }
}

void InstanceList::endTurn()
{
    if (m_hasTurn)
        ::flock(m_folder, LOCK_UN);
    m_hasTurn = false;
}

std::optional<QString> InstanceList::socketFor(const QString &dataFolder) const
{
    if (!isOpen())
        return std::nullopt;
    const std::optional<Place> place = placeOf(dataFolder);
    const QStringList names = QDir(m_path).entryList({entryPattern}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name == m_entryName)
            continue;
        const std::optional<Entry> entry = liveEntry(name);
        if (entry && entry->host == host() && sameFolder(dataFolder, place, entry->dataFolder))
            return entry->socket;
    }
    return std::nullopt;
}

std::optional<InstanceList::Entry> InstanceList::liveEntry(const QString &name) const
{
    const QByteArray file = QFile::encodeName(name);
    const int fd = ::openat(m_folder, file.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const QByteArrayList fields = readAll(fd).split('\0');
    const bool complete = fields.size() == 4;
    // Its program holds the lock while it runs; where locks cannot be had, nobody entered.
    const bool ended = ::flock(fd, LOCK_SH | LOCK_NB) == 0;
    const bool running = !ended && errno == EWOULDBLOCK;
    if (ended) {
        if (complete)
            SocketPlace::removeLeftover(QFile::decodeName(fields[1]));
        ::unlinkat(m_folder, file.constData(), 0);
    }
    ::close(fd);
    if (!running || !complete)
        return std::nullopt;
    return Entry{fields[0], QFile::decodeName(fields[1]), QFile::decodeName(fields[2])};
}

std::optional<QString> InstanceList::meetingName(const QString &dataFolder)
{
    const std::optional<Place> place = placeOf(dataFolder);
    if (!place)
        return std::nullopt;
    QCryptographicHash where(QCryptographicHash::Sha256);
    where.addData(QByteArray::number(quint64(place->device)) + ':' + QByteArray::number(quint64(place->inode)));
    for (const QByteArray &name : place->missing)
        where.addData('/' + name);
    // Begun with a slash, so Qt takes it as it is rather than under the temporary folder.
    return QStringLiteral("/brindlewick-%1-%2")
        .arg(::geteuid())
        .arg(QString::fromLatin1(where.result().toHex().left(32)));
}

bool InstanceList::enter(const QString &dataFolder, const QString &socket)
{
    if (!isOpen())
        return false;
    m_entryName = QStringLiteral("brindlewick-%1.instance")
                      .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    const QByteArray file = QFile::encodeName(m_entryName);
    m_entry = ::openat(m_folder, file.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
    const QByteArray text = host() + '\0' + QFile::encodeName(socket) + '\0' + QFile::encodeName(dataFolder) + '\0';
    if (m_entry >= 0 && ::flock(m_entry, LOCK_EX | LOCK_NB) == 0 && writeAll(m_entry, text))
        return true;
    if (m_entry >= 0) {
        ::unlinkat(m_folder, file.constData(), 0);
        ::close(m_entry);
    }
    m_entry = -1;
    m_entryName.clear();
    return false;
}
