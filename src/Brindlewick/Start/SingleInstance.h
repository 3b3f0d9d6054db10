#pragma once

#include "InstanceList.h"
#include "SocketPlace.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QLocalSocket;

// One running Brindlewick per data folder. The first process to `claim()` its folder enters itself in
// this user's list of running programs (`InstanceList`) and listens on a local socket, and also holds the
// folder's meeting name (`InstanceList::meetingName`), which only one process on the machine can hold; a
// later launch on the same folder, however it reaches the folder and whatever its environment (another
// home, state or runtime folder, and so another list), finds it in the list or at the name, asks it to
// reopen (bring up "All Notes") and should then exit. A crashed run leaves an entry nobody holds and a
// socket nobody listens on: both are removed; its name goes with it. The listeners serve only this
// user's peers, a few at a time, each for a short while, and listen again after an error, so no peer can
// shut them. A name another user took first is theirs: the list alone then decides, as it does for a
// folder made after the first launch.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // Where this user's programs enter themselves and listen: the list in "run" in the state folder,
    // which every launch of the user finds whether or not it has a runtime folder; the sockets in
    // $XDG_RUNTIME_DIR when that is a folder only this user can enter, else beside the list (or where
    // `SocketPlace` finds room when a path there is too long for a socket).
    struct Places {
        QString list;
        QString sockets;
    };
    static Places places();

    explicit SingleInstance(const QString &dataFolder, Places places = SingleInstance::places(),
                            QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the one that runs (it listens from now on, when it could enter the
    // list); false when another already runs on the folder, which `handedOver()` then says was told
    // to reopen (when `reopenRunning`).
    bool claim(bool reopenRunning = true);
    // After a claim that failed: the running process took the message. When it did not, it is
    // entered in the list without answering and this launch did nothing.
    bool handedOver() const { return m_handedOver; }

signals:
    // Another launch asked this process to reopen.
    void reopen();

private:
    // Where a running program listens: its socket, or the folder's meeting name.
    struct Address {
        QString name;
        bool meeting = false;
    };

    std::optional<Address> meet();
    void listen();
    void accept(QLocalServer &server);
    void serve(QLocalSocket *socket);
    void tellRunningInstance(const Address &running);
    static bool askToReopen(const Address &running, const QDeadlineTimer &deadline);

    QString m_dataFolder;
    Places m_places;
    // Declared before the server, so a folder made for the socket goes once the socket is gone.
    std::optional<SocketPlace> m_socket;
    QLocalServer m_server;
    QLocalServer m_meeting;
    // Set once this process holds it.
    QString m_meetingName;
    // Declared after the server, so the entry goes before its socket: a launch meanwhile finds no
    // program rather than one that does not answer.
    std::unique_ptr<InstanceList> m_list;
    int m_peers = 0;
    bool m_handedOver = false;
};
