#pragma once

#include <QFile>
#include <QString>
#include <unistd.h>

// Another local user: nobody (65534), whose files the tests' user must not trust.
namespace OtherUser {

constexpr uid_t id = 65534;

// Hands `path` (not a link's target) to the other user; only root can, so false for anyone else.
inline bool owns(const QString &path)
{
    return ::lchown(QFile::encodeName(path).constData(), id, id) == 0;
}

} // namespace OtherUser
