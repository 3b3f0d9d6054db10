#pragma once

#include "StateFile.h"

#include "PlannedAlert.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

// What this program has to do with the notification server, kept in a file so that neither a quit nor
// a crash loses it: the notifications it has on the server's screen, by the server's id, which the next
// run withdraws when a crash left them there; the alerts that fell due but no server has taken
// yet, which are owed to the next server there; and the alerts a server took, until the notes file
// says they were raised, so a crash before then never brings one back. An id means something only to
// the server instance that gave it, so the file names that instance: the bus it is on and its name there.
class NotificationRecord {
public:
    struct Shown {
        // None for a problem with the notes, which answers nothing.
        QUuid note;
        // The alert's identifier, or the problem's: a new one of the same replaces the one shown.
        QString identifier;
    };

    // Kept in `file`; what an earlier run left there is read now.
    explicit NotificationRecord(QString file);

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

    // The alerts owed to a server, as an earlier run left them until set.
    const QList<PlannedAlert> &owed() const { return m_owed; }
    void setOwed(const QList<PlannedAlert> &owed);

    // The fire second of the last alert a server took, by alert identifier, as an earlier run left them
    // and as marked since.
    const QHash<QString, Date> &posted() const { return m_posted; }
    void markPosted(const QString &identifier, Date fireSecond);
    // The notes file holds every alert raised: none of those marked can come back.
    void forgetPosted();

    // Waits until the file holds the record, or the deadline passes; true when it does.
    bool finish(QDeadlineTimer deadline) { return m_file.finish(deadline); }

private:
    void save();

    StateFile m_file;
    // The file's content as last written.
    QByteArray m_saved;
    QString m_server;
    QHash<uint, Shown> m_shown;
    QList<PlannedAlert> m_owed;
    QHash<QString, Date> m_posted;
    QString m_leftServer;
    QList<uint> m_leftIds;
};
