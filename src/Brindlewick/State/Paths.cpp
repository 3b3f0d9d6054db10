#include "Paths.h"

#include "OwnFolder.h"

#include <QDir>
#include <QObject>
#include <QStandardPaths>

Paths Paths::live()
{
    if (!qEnvironmentVariableIsEmpty("BRINDLEWICK_DATA_DIR"))
        return Paths{qEnvironmentVariable("BRINDLEWICK_DATA_DIR")};
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return Paths{QDir(dataHome).filePath(QStringLiteral("Brindlewick"))};
}

QString Paths::stateFolder()
{
    QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    // XDG base directories: a relative XDG_STATE_HOME is invalid and is ignored.
    if (!QDir::isAbsolutePath(stateHome))
        stateHome = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(stateHome).filePath(QStringLiteral("Brindlewick"));
}

QStringList Paths::notices(const QStringList &own) const
{
    QStringList notices;
    for (const QString &folder : QStringList{stateFolder()} + own) {
        if (const std::optional<QString> why = OwnFolder::whyNotOwn(folder))
            notices.append(QObject::tr("Brindlewick keeps none of its own files in %1, as %2.").arg(folder, *why));
    }
    if (const std::optional<QString> why = OwnFolder::whyNotOwn(data))
        notices.append(
            QObject::tr("Your notes are kept in %1 as you chose, though %2, so others may change or remove them.")
                .arg(data, *why));
    return notices;
}
