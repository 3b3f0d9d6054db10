// A tiny program the shell tests run as a child process, to see from outside what a real process does.
//   ShellTestHelper quit-on-signal FILE   writes "saved" to FILE from aboutToQuit once a signal quits it
//   ShellTestHelper instance LIST DATA    claims the data folder DATA in the list folder LIST (sockets
//                                         beside it): exits 0 at once when another runs there and took
//                                         the reopen, 1 when it does not answer, else prints "reopen"
//                                         for each reopen it is asked for, until a signal ends it
// Both print "ready" once they wait in the event loop.
#include "Start/QuitSignals.h"
#include "Start/SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace {

void say(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

int quitOnSignal(QCoreApplication &app, const QString &file)
{
    const QuitSignals quitSignals;
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [file] {
        QFile saved(file);
        if (saved.open(QIODevice::WriteOnly))
            saved.write("saved");
    });
    say("ready");
    return app.exec();
}

int instance(QCoreApplication &app, const QString &list, const QString &data)
{
    SingleInstance single(data, {list, list});
    if (!single.claim())
        return single.handedOver() ? 0 : 1;
    QObject::connect(&single, &SingleInstance::reopen, [] { say("reopen"); });
    const QuitSignals quitSignals;
    say("ready");
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("quit-on-signal"))
        return quitOnSignal(app, arguments[2]);
    if (arguments.size() == 4 && arguments[1] == QLatin1String("instance"))
        return instance(app, arguments[2], arguments[3]);
    return 2;
}
