#include "Recovery.h"

#include "NoteCoding.h"

#include <QDir>
#include <QSaveFile>
#include <cmath>

namespace {

const QString prefix = QStringLiteral("notes.unsaved-");

std::optional<QString> writeInto(const QString &folder, const QString &name, const QByteArray &bytes)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("The folder “%1” could not be created.").arg(folder);
    QSaveFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    return std::nullopt;
}

} // namespace

namespace Recovery {

Written write(const NoteBook &book, Date now, const QString &folder)
{
    const std::optional<QByteArray> bytes = NoteCoding::encode(book);
    if (!bytes)
        return {std::nullopt, QStringLiteral("A note holds a time that cannot be written.")};
    const QString name = prefix + QString::number(static_cast<qint64>(std::trunc(now.unixSeconds()))) +
                         QStringLiteral(".json");
    const std::optional<QString> error = writeInto(folder, name, *bytes);
    if (!error)
        return {QDir(folder).filePath(name), {}};
    const QString spare = QDir(QDir::tempPath()).filePath(QStringLiteral("Brindlewick"));
    if (!writeInto(spare, name, *bytes))
        return {QDir(spare).filePath(name), *error};
    return {std::nullopt, *error};
}

QStringList pending(const QString &folder)
{
    QStringList files;
    for (const QFileInfo &entry :
         QDir(folder).entryInfoList({prefix + QStringLiteral("*.json")}, QDir::Files, QDir::Time | QDir::Reversed))
        files.append(entry.filePath());
    return files;
}

} // namespace Recovery
