#pragma once

#include <QString>

// Where a program listens: a socket of a new name in the folder for sockets, or, where that path would
// be too long for a socket's address (deep state and runtime folders), in a folder of this user's alone
// made for it in the temporary folder, which goes with this object. A launch finds either by the path
// its program entered in the list.
class SocketPlace {
public:
    explicit SocketPlace(const QString &folder);
    ~SocketPlace();
    SocketPlace(const SocketPlace &) = delete;
    SocketPlace &operator=(const SocketPlace &) = delete;

    // Empty when no place short enough could be made.
    const QString &path() const { return m_path; }

    // Removes the socket a program that ended left at `path`, and the folder made for it.
    static void removeLeftover(const QString &path);

private:
    bool makeOwnFolder(const QString &temporaryFolder, const QString &socketName);

    QString m_path;
    QString m_ownFolder;
};
