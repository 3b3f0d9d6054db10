#include "StartFolders.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <climits>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {

const QByteArray dataFolder = QByteArrayLiteral("BRINDLEWICK_DATA_DIR");
const QByteArray demoFolder = QByteArrayLiteral("BRINDLEWICK_DEMO_DIR");
const QByteArrayList baseFolders{"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                                 "XDG_RUNTIME_DIR"};

bool isAbsolute(const QByteArray &path)
{
    return path.startsWith('/');
}

QByteArray absolute(const QByteArray &path, const QByteArray &workingFolder)
{
    return isAbsolute(path) ? path : workingFolder + '/' + path;
}

qsizetype longestName(const QByteArray &path)
{
    qsizetype longest = 0;
    qsizetype start = 0;
    for (qsizetype at = 0; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '/') {
            longest = std::max(longest, at - start);
            start = at + 1;
        }
    }
    return longest;
}

// A folder the system could never open, or one whose bytes Qt would read as another folder.
std::optional<QString> whyNoFolder(const QByteArray &path)
{
    const QString start = QObject::tr("Brindlewick can’t keep notes in the folder BRINDLEWICK_DATA_DIR names: ");
    const QString end = QObject::tr(" Name another folder, or unset it for the usual one.");
    if (path.size() >= PATH_MAX)
        return start + QObject::tr("it is %1 bytes long, and a path may be at most %2.").arg(path.size()).arg(PATH_MAX - 1) + end;
    if (const qsizetype longest = longestName(path); longest > NAME_MAX)
        return start + QObject::tr("a name in it is %1 bytes long, and a name may be at most %2.").arg(longest).arg(NAME_MAX) + end;
    if (QFile::encodeName(QFile::decodeName(path)) != path)
        return start + QObject::tr("it is not valid UTF-8 text.") + end;
    return std::nullopt;
}

// As the system has it: a folder whose bytes are not UTF-8 is kept as it is.
QByteArray currentFolder()
{
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    return folder ? QByteArray(folder.get()) : QFile::encodeName(QDir::currentPath());
}

} // namespace

namespace StartFolders {

Settled settle(const QMap<QByteArray, QByteArray> &environment, const QByteArray &workingFolder)
{
    Settled settled;
    for (const QByteArray &name : baseFolders) {
        if (environment.contains(name) && !isAbsolute(environment.value(name)))
            settled.changes.append({name, std::nullopt});
    }
    if (const QByteArray demo = environment.value(demoFolder); !demo.isEmpty() && !isAbsolute(demo))
        settled.changes.append({demoFolder, absolute(demo, workingFolder)});
    if (environment.contains(dataFolder)) {
        const QByteArray data = environment.value(dataFolder);
        if (data.isEmpty()) {
            settled.changes.append({dataFolder, std::nullopt});
        } else {
            const QByteArray folder = absolute(data, workingFolder);
            settled.problem = whyNoFolder(folder);
            if (folder != data)
                settled.changes.append({dataFolder, folder});
        }
    }
    return settled;
}

std::optional<QString> settleOwn()
{
    QMap<QByteArray, QByteArray> environment;
    for (const QByteArray &name : baseFolders + QByteArrayList{dataFolder, demoFolder}) {
        if (qEnvironmentVariableIsSet(name.constData()))
            environment.insert(name, qgetenv(name.constData()));
    }
    const Settled settled = settle(environment, currentFolder());
    for (const auto &[name, value] : settled.changes) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
    return settled.problem;
}

} // namespace StartFolders
