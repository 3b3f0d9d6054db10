#include "QuitSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> quitSignals{SIGTERM, SIGINT, SIGHUP};

// Read by the signal handler, so a plain global.
volatile sig_atomic_t writeEnd = -1;

void onSignal(int signal)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

QuitSignals::QuitSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(m_pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::received);

    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < quitSignals.size(); ++i)
        sigaction(quitSignals[i], &action, &m_previous[i]);
}

QuitSignals::~QuitSignals()
{
    if (m_pipe[0] < 0)
        return;
    for (std::size_t i = 0; i < quitSignals.size(); ++i)
        sigaction(quitSignals[i], &m_previous[i], nullptr);
    writeEnd = -1;
    delete m_notifier;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void QuitSignals::received()
{
    // Signals that came together quit once.
    char bytes[16];
    while (::read(m_pipe[0], bytes, sizeof bytes) > 0)
        continue;
    // Not quit(): with a GUI that first asks every window to close, and a window that refuses
    // (a note panel does) would keep the process alive.
    QCoreApplication::exit(0);
}
