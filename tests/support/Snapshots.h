#pragma once

#include <QDir>
#include <QImage>
#include <QString>

// Screenshots a person looks at, under build/snapshots/<folder>/.
namespace Snapshots {

inline QString path(const QString &folder, const QString &name)
{
    const QDir dir(QStringLiteral(BRINDLEWICK_BINARY_DIR "/snapshots/") + folder);
    QDir().mkpath(dir.path());
    return dir.filePath(name + QStringLiteral(".png"));
}

inline bool write(const QImage &image, const QString &folder, const QString &name)
{
    return image.save(path(folder, name));
}

} // namespace Snapshots
