#include "SocketPlace.h"

#include "OwnFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cstdlib>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QString ownFolderTemplate = QStringLiteral("brindlewick-XXXXXX");

// Qt refuses a path that leaves no room for the zero bytes around an abstract socket name.
bool fitsAddress(const QString &path)
{
    return QFile::encodeName(path).size() + 2 <= qsizetype(sizeof(sockaddr_un::sun_path));
}

// Only the folders made here are removed with a socket; the usual folders for sockets stay.
bool isOwnFolder(const QString &folder)
{
    static const QRegularExpression name(QStringLiteral("^brindlewick-[A-Za-z0-9]{6}$"));
    return name.match(QFileInfo(folder).fileName()).hasMatch();
}

} // namespace

SocketPlace::SocketPlace(const QString &folder)
{
    const QString name = QStringLiteral("brindlewick-%1.socket")
                             .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    const QString usual = QDir(folder).filePath(name);
    if (fitsAddress(usual)) {
        m_path = usual;
        return;
    }
    // A TMPDIR as deep as the other folders still leaves the system's own.
    for (const QString &temporary : {QDir::tempPath(), QStringLiteral("/tmp")}) {
        if (makeOwnFolder(temporary, name))
            return;
    }
}

// The socket is gone by now (its server closed first), so the folder is empty.
SocketPlace::~SocketPlace()
{
    if (!m_ownFolder.isEmpty())
        ::rmdir(QFile::encodeName(m_ownFolder).constData());
}

// mkdtemp makes a folder of a name nobody could foresee, open to this user only; one that is not so
// right after (replaced, being a link) is not used.
bool SocketPlace::makeOwnFolder(const QString &temporaryFolder, const QString &socketName)
{
    const QString pattern = QDir(temporaryFolder).filePath(ownFolderTemplate);
    if (!QDir::isAbsolutePath(temporaryFolder) || !fitsAddress(QDir(pattern).filePath(socketName)))
        return false;
    QByteArray made = QFile::encodeName(pattern);
    if (!::mkdtemp(made.data()))
        return false;
    const QString folder = QFile::decodeName(made);
    if (!OwnFolder::isPrivate(folder)) {
        ::rmdir(made.constData());
        return false;
    }
    m_ownFolder = folder;
    m_path = QDir(folder).filePath(socketName);
    return true;
}

void SocketPlace::removeLeftover(const QString &path)
{
    ::unlink(QFile::encodeName(path).constData());
    const QString folder = QFileInfo(path).path();
    if (isOwnFolder(folder))
        ::rmdir(QFile::encodeName(folder).constData());
}
