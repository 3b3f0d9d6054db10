#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One running Brindlewick per user. The first process to `claim()` holds a lock file and listens on a
// local socket; a later launch finds the lock taken, asks the running process to reopen (bring up
// "All Notes") and should then exit. A crashed run leaves a lock of a dead process and a socket
// nobody listens on: both are taken over.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // "brindlewick.socket" in the user's runtime folder ($XDG_RUNTIME_DIR); the lock file is beside it.
    static QString defaultPath();

    explicit SingleInstance(QString socketPath = defaultPath(), QObject *parent = nullptr);

    // True when this process is the one that runs (it listens from now on); false when another
    // already runs and has been told to reopen.
    bool claim();

signals:
    // Another launch asked this process to reopen.
    void reopen();

private:
    void listen();
    void accept();
    void tellRunningInstance();

    QString m_path;
    QLockFile m_lock;
    QLocalServer m_server;
};
