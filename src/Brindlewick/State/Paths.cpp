#include "Paths.h"

#include <QDir>
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
