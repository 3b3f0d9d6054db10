#include "NoteStore.h"

#include "NoteCoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cmath>
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

} // namespace

NoteStore::NoteStore(const QString &folder) : m_url(QDir(folder).filePath(QStringLiteral("notes.json")))
{
}

NoteStore::Loaded NoteStore::load(Date now) const
{
    QFile file(m_url);
    if (!QFileInfo(m_url).isFile() || !file.open(QIODevice::ReadOnly))
        return Fresh{};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fresh{};
    file.close();

    if (auto book = NoteCoding::decode(bytes, now))
        return *book;

    const QString target = setAsideName(now);
    QFile::rename(m_url, target);
    return Damaged{target};
}

// "notes.damaged-<unix seconds>.json"; a name already taken moves on to the next number,
// so one damaged file never replaces another.
QString NoteStore::setAsideName(Date now) const
{
    const QDir folder = QFileInfo(m_url).absoluteDir();
    auto seconds = static_cast<qint64>(std::trunc(now.unixSeconds()));
    QString name;
    do {
        name = folder.filePath(QStringLiteral("notes.damaged-%1.json").arg(seconds++));
    } while (QFileInfo::exists(name));
    return name;
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
