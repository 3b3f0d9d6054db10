#pragma once

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <optional>

class QLocalSocket;

// One running Brindlewick per data folder. The first process to `claim()` holds a lock file and listens
// on a local socket; a later launch on the same folder finds the lock taken, asks the running process
// to reopen (bring up "All Notes") and should then exit. A crashed run leaves a lock of a dead process
// and a socket nobody listens on: both are taken over. The listener serves a few peers at a time, each
// for a short while, and listens again after an error, so no peer can shut it.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // "brindlewick-<digest of the data folder's real path>.socket", so two ways to one folder lead to
    // one socket, in a folder only this user can enter: $XDG_RUNTIME_DIR when it is one, else "run" in
    // the state folder, made so. The lock file is beside it. None when there is no such folder.
    static std::optional<QString> pathFor(const QString &dataFolder);

    explicit SingleInstance(QString socketPath, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the one that runs (it listens from now on); false when another
    // already runs, which `handedOver()` then says was told to reopen (when `reopenRunning`).
    bool claim(bool reopenRunning = true);
    // After a claim that failed: the running process took the message. When it did not, it holds the
    // lock without answering and this launch did nothing.
    bool handedOver() const { return m_handedOver; }

signals:
    // Another launch asked this process to reopen.
    void reopen();

private:
    void listen();
    void accept();
    void serve(QLocalSocket *socket);
    void tellRunningInstance();
    bool askToReopen(const QDeadlineTimer &deadline) const;

    QString m_path;
    QLockFile m_lock;
    QLocalServer m_server;
    int m_peers = 0;
    bool m_handedOver = false;
};
