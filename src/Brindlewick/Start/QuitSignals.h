#pragma once

#include <QObject>
#include <array>
#include <csignal>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into QCoreApplication::exit(0), so logging out, Ctrl+C or `kill`
// end the event loop normally and the aboutToQuit handlers (the last save) run. The signal handler
// only writes to a pipe; the quit happens on the main thread. One object at a time per process;
// destroying it puts the previous handlers back.
class QuitSignals : public QObject {
    Q_OBJECT

public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals &) = delete;
    QuitSignals &operator=(const QuitSignals &) = delete;

private:
    void received();

    std::array<int, 2> m_pipe{-1, -1};
    QSocketNotifier *m_notifier = nullptr;
    std::array<struct sigaction, 3> m_previous{};
};
