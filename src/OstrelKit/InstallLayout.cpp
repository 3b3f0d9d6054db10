#include "InstallLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <unistd.h>

namespace InstallLayout {

namespace {

bool writable(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

QSet<QString> entries(const QString &folder)
{
    const QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return QSet<QString>(names.begin(), names.end());
}

} // namespace

bool isOwnLayout(const QString &folder, const QString &program)
{
    static const QSet<QString> allowed{QStringLiteral("bin"), QStringLiteral("libexec"), QStringLiteral("share")};
    const QFileInfo binary(folder + QStringLiteral("/bin/") + program);
    return binary.isFile() && !binary.isSymLink() && binary.isExecutable() && entries(folder).subtract(allowed).isEmpty() &&
           entries(folder + QStringLiteral("/bin")) == QSet<QString>{program};
}

std::variant<QString, Refusal> updatableFolder(const QString &executable)
{
    const QFileInfo program(executable);
    const QDir bin = program.absoluteDir();
    const QString folder = QFileInfo(bin.absolutePath() + QStringLiteral("/..")).canonicalFilePath();
    if (bin.dirName() != QLatin1String("bin") || folder.isEmpty() || folder == QLatin1String("/") ||
        !isOwnLayout(folder, program.fileName()))
        return Refusal::notOwnLayout;
    if (!writable(folder) || !writable(QFileInfo(folder).absolutePath()))
        return Refusal::readOnly;
    return folder;
}

QString exchangeHelper(const QString &folder)
{
    return folder + QStringLiteral("/libexec/ostrel-exchange");
}

QString version(const QString &folder)
{
    constexpr qint64 maxVersionBytes = 64;
    QFile file(folder + QStringLiteral("/share/ostrel/version"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(maxVersionBytes)).trimmed();
}

} // namespace InstallLayout
