#include "Paths.h"

#include <QDir>
#include <QStandardPaths>

Paths Paths::live()
{
    if (qEnvironmentVariableIsSet("BRINDLEWICK_DATA_DIR"))
        return Paths{qEnvironmentVariable("BRINDLEWICK_DATA_DIR")};
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return Paths{QDir(dataHome).filePath(QStringLiteral("Brindlewick"))};
}
