#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <optional>

// The Brindlewick programs this user runs, each entered in one list folder with the data folder it
// works on and the socket it listens on. A launch compares folders by what their paths lead to at that
// moment (the same folder through a link or a bind mount is one folder; a folder not made yet is the
// nearest folder above it and the names still missing), so neither the path it was given nor the
// environment nor a folder made or mounted meanwhile can make two programs of one folder. An entry is a
// file its program keeps locked while it runs: the entry of a program that ended without leaving is
// removed by the next launch that looks.
class InstanceList {
public:
    // The list in `folder`, which must be a folder only this user may enter; it is made so when missing.
    explicit InstanceList(const QString &folder);
    // Leaves the list, when entered.
    ~InstanceList();
    InstanceList(const InstanceList &) = delete;
    InstanceList &operator=(const InstanceList &) = delete;

    // False when there is no such folder: the list then finds no program and enters none.
    bool isOpen() const { return m_folder >= 0; }

    // Keeps other launches from looking and entering until `endTurn()`, waiting until `deadline` for
    // the turn of another (which takes a moment), then going ahead anyway.
    void takeTurn(const QDeadlineTimer &deadline);
    void endTurn();

    // A name for a socket outside any folder that is the same for every launch of this user on this
    // machine on `dataFolder` (an absolute path), however it reaches the folder and whatever its
    // environment, and another for any other folder; none when the path leads nowhere.
    static std::optional<QString> meetingName(const QString &dataFolder);

    // The socket of the program running on this machine on `dataFolder` (an absolute path), if any.
    std::optional<QString> socketFor(const QString &dataFolder) const;
    // Enters this program, working on `dataFolder` and listening on `socket`, for the life of this
    // object. False when it cannot be entered.
    bool enter(const QString &dataFolder, const QString &socket);

private:
    struct Entry {
        QByteArray host;
        QString socket;
        QString dataFolder;
    };
    // The entry's program when it runs; a dead one's entry and socket are removed.
    std::optional<Entry> liveEntry(const QString &name) const;

    QString m_path;
    int m_folder = -1;
    bool m_hasTurn = false;
    // This program's entry, locked while it runs.
    QString m_entryName;
    int m_entry = -1;
};
