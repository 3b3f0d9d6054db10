#include "Autostart.h"

#include "OwnFolder.h"
#include "RegularFile.h"
#include "State/FileWriter.h"
#include "State/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <unistd.h>

namespace {

// The desktop entry's file name (packaging/brindlewick.desktop).
const QString fileName = QStringLiteral("brindlewick.desktop");

// One argument of an Exec line: quoted where the desktop entry rules reserve a character, with the
// characters special inside quotes escaped; a percent sign is doubled, as it would start a field code.
QString execArgument(QString argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    static const QString escapedInQuotes = QStringLiteral("\"`$\\");
    argument.replace(u'%', QStringLiteral("%%"));
    if (std::none_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); }))
        return argument;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (escapedInQuotes.contains(c))
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

// A value of type string: backslashes and control characters written as escapes.
QString escapedValue(QString value)
{
    value.replace(u'\\', QStringLiteral("\\\\"));
    value.replace(u'\n', QStringLiteral("\\n"));
    value.replace(u'\t', QStringLiteral("\\t"));
    value.replace(u'\r', QStringLiteral("\\r"));
    return value;
}

// Kept in the state folder once the entry is there, written or found: the settings may be lost or
// damaged and the welcome come back, yet an entry the user removed stays removed.
const QString writtenOnce = QStringLiteral("autostart-written");

bool isThere(const QString &path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

void rememberWritten(const QString &folder, const QString &entry)
{
    if (OwnFolder::makeOwn(folder))
        return;
    const int fd = OwnFolder::open(folder);
    if (fd < 0)
        return;
    RegularFile::create(fd, writtenOnce, QFile::encodeName(entry) + '\n');
    ::close(fd);
}

void write(const QString &path, const QByteArray &entry)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        file.write(entry);
}

} // namespace

namespace Autostart {

QString entryPath()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(QStringLiteral("autostart/") + fileName);
}

QByteArray entry(const QString &program)
{
    const QString exec = escapedValue(execArgument(program) + u' ' + argument);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Brindlewick\n"
                          "Comment=Sticky notes with countdown timers and deadlines\n"
                          "Exec=%1\n"
                          "Icon=brindlewick\n"
                          "Terminal=false\n"
                          "StartupNotify=false\n")
        .arg(exec)
        .toUtf8();
}

void install(const QString &program)
{
    const QString path = entryPath();
    const QString state = Paths::stateFolder();
    FileWriter::shared().write(path, [path, state, text = entry(program)] {
        if (isThere(QDir(state).filePath(writtenOnce)))
            return;
        if (!isThere(path))
            write(path, text);
        if (isThere(path))
            rememberWritten(state, path);
    });
}

} // namespace Autostart
