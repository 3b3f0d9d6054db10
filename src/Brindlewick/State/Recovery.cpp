#include "Recovery.h"

#include "NoteCoding.h"
#include "OwnFolder.h"
#include "RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString prefix = QStringLiteral("notes.unsaved-");
// Names taken already (a file, or a link someone left) move the number on, this far at most.
constexpr int mostNames = 100;

bool taken(int folder, const QString &name)
{
    struct stat info {};
    return ::fstatat(folder, QFile::encodeName(name).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

// The file written, or why the folder could not take it.
Recovery::Written writeInto(const QString &path, qint64 seconds, const QByteArray &bytes)
{
    const int folder = OwnFolder::open(path);
    if (folder < 0)
        return {std::nullopt, QStringLiteral("“%1” is not a folder of yours alone").arg(path)};
    Recovery::Written written{std::nullopt, QStringLiteral("no free name in “%1”").arg(path)};
    for (int attempt = 0; attempt < mostNames; ++attempt) {
        const QString name = prefix + QString::number(seconds + attempt) + QStringLiteral(".json");
        if (taken(folder, name))
            continue;
        const QString file = QDir(path).filePath(name);
        if (const std::optional<QString> error = RegularFile::create(folder, name, bytes))
            written.error = QStringLiteral("%1: %2").arg(file, *error);
        else
            written = {file, {}};
        break;
    }
    ::close(folder);
    return written;
}

} // namespace

namespace Recovery {

Written write(const NoteBook &book, Date now, const QStringList &folders)
{
    const std::optional<QByteArray> bytes = NoteCoding::encode(book);
    if (!bytes)
        return {std::nullopt, QStringLiteral("A note holds a time that cannot be written.")};
    if (!folders.isEmpty())
        OwnFolder::makeOwn(folders.first());
    const auto seconds = static_cast<qint64>(std::trunc(now.unixSeconds()));
    QStringList problems;
    for (const QString &folder : folders) {
        const Written written = writeInto(folder, seconds, *bytes);
        if (written.file)
            return {written.file, problems.join(QStringLiteral("; "))};
        problems.append(written.error);
    }
    return {std::nullopt, problems.join(QStringLiteral("; "))};
}

QStringList pending(const QStringList &folders)
{
    QFileInfoList files;
    for (const QString &folder : folders)
        files += QDir(folder).entryInfoList({prefix + QStringLiteral("*.json")}, QDir::Files | QDir::NoSymLinks);
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        return a.lastModified() < b.lastModified();
    });
    QStringList paths;
    for (const QFileInfo &file : files) {
        if (!paths.contains(file.absoluteFilePath()))
            paths.append(file.absoluteFilePath());
    }
    return paths;
}

} // namespace Recovery
