#include "StateFile.h"

#include "FileWriter.h"

#include "OwnFolder.h"
#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A state file holds a few lists; anything much larger is not ours to read.
constexpr qint64 largestFile = 1 << 20;

QByteArray readOwn(const QString &path)
{
    const int folder = OwnFolder::open(QFileInfo(path).absolutePath());
    if (folder < 0)
        return {};
    ::close(folder);
    RegularFile::removeTemporaries(path);
    bool missing = false;
    const std::variant<QByteArray, QString> read = RegularFile::read(path, missing, largestFile);
    const QByteArray *bytes = std::get_if<QByteArray>(&read);
    return bytes ? *bytes : QByteArray();
}

// The folder is made only for something to keep in it.
void store(const QString &path, const QByteArray &bytes)
{
    const QFileInfo file(path);
    if (!bytes.isEmpty())
        OwnFolder::makeOwn(file.absolutePath());
    const int folder = OwnFolder::open(file.absolutePath());
    if (folder < 0)
        return;
    if (bytes.isEmpty())
        ::unlinkat(folder, QFile::encodeName(file.fileName()).constData(), 0);
    else
        RegularFile::replaceIn(folder, file.fileName(), bytes);
    ::close(folder);
}

} // namespace

StateFile::StateFile(QString path) : m_path(std::move(path)), m_content(readOwn(m_path)) {}

StateFile::~StateFile()
{
    finish(QDeadlineTimer::Forever);
}

void StateFile::write(QByteArray bytes)
{
    FileWriter::shared().write(m_path, [path = m_path, bytes = std::move(bytes)] { store(path, bytes); });
}

bool StateFile::finish(QDeadlineTimer deadline)
{
    return FileWriter::shared().finish(deadline);
}
