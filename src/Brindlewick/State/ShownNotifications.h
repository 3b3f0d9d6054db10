#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

// The alert notifications this run has on the notification server's screen, by the server's id. The
// ids are kept in a file as well, so a run that ends without taking them down (a crash) leaves the next
// run a list to withdraw. An id means something only to the server instance that gave it, so the file
// names that instance: the bus it is on and its name there.
class ShownNotifications {
public:
    struct Shown {
        QUuid note;
        // The alert's identifier: a new alert of the same note and kind replaces the one shown.
        QString identifier;
    };

    // Kept in `file`; what an earlier run left there is read now.
    explicit ShownNotifications(QString file);

    // The server instance that shows notifications from now on ("<bus id> <name on the bus>"); the
    // ids of any other are forgotten. Returns the ids an earlier run left on this very instance, once.
    QList<uint> serveOn(const QString &server);

    void add(uint id, const Shown &shown);
    std::optional<Shown> find(uint id) const;
    std::optional<uint> idOf(const QString &identifier) const;
    void remove(uint id);
    // Forgets the note's notifications and returns their ids.
    QList<uint> takeNote(const QUuid &note);
    // Forgets every notification and returns the ids.
    QList<uint> takeAll();

private:
    void save() const;

    QString m_file;
    QString m_server;
    QHash<uint, Shown> m_shown;
    QString m_leftServer;
    QList<uint> m_leftIds;
};
