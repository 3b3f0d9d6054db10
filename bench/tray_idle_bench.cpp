// The CPU time the idle program takes over a minute with the tray on and with it off, the pointer
// still and away from the tray. Starts the real binary on a throw-away data folder and settings
// file; needs an X display, for example: tests/support/with-session desktop build/bench/tray_idle_bench

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int warmUpSeconds = 5;
constexpr int measuredSeconds = 60;

// User and system time of a process so far, in seconds.
double cpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QString text = QString::fromLatin1(stat.readAll());
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QStringList fields = text.mid(text.lastIndexOf(u')') + 2).split(u' ');
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / ticks;
}

void writeJson(const QString &path, const QJsonObject &object)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(object).toJson());
}

// Seconds of CPU the idle program used over the measured minute.
double idleCpu(bool trayOn)
{
    QTemporaryDir home;
    writeJson(home.filePath(QStringLiteral("config/Brindlewick/settings.json")),
              {{QStringLiteral("trayEnabled"), trayOn}, {QStringLiteral("welcomeDone"), true}});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("BRINDLEWICK_DATA_DIR"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    QProcess app;
    app.setProcessEnvironment(environment);
    app.start(QStringLiteral(BRINDLEWICK_BINARY), {});
    if (!app.waitForStarted())
        return -1;
    QThread::sleep(warmUpSeconds);
    const double before = cpuSeconds(app.processId());
    QThread::sleep(measuredSeconds);
    const double used = cpuSeconds(app.processId()) - before;
    app.terminate();
    app.waitForFinished();
    return used;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("needs an X display (run it inside tests/support/with-session desktop)\n");
        return 1;
    }
    const double off = idleCpu(false);
    const double on = idleCpu(true);
    const auto share = [](double seconds) { return 100.0 * seconds / measuredSeconds; };
    std::printf("idle CPU over %d s, tray off: %.3f s (%.3f %% of one core)\n", measuredSeconds, off, share(off));
    std::printf("idle CPU over %d s, tray on:  %.3f s (%.3f %% of one core)\n", measuredSeconds, on, share(on));
    std::printf("the tray adds %.3f %% of one core (budget 0.3 %%)\n", share(on - off));
    return 0;
}
