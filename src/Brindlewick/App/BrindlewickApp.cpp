#include "BrindlewickApp.h"

#include "AppModel.h"
#include "LibraryWindow.h"
#include "QuitSignals.h"
#include "SingleInstance.h"
#include "TimeLocale.h"

#include <QApplication>
#include <QLocale>

namespace {

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

BrindlewickApp::BrindlewickApp(AppModel &model) : m_delegate(model), m_commands(model), m_menuBarItem(model)
{
    LibraryWindow::shared().setMenus(m_commands.menus());
}

std::optional<QByteArray> BrindlewickApp::platformFor(const QStringList &arguments,
                                                      const QProcessEnvironment &environment)
{
    if (environment.contains(QStringLiteral("QT_QPA_PLATFORM")) || arguments.contains(QStringLiteral("-platform")))
        return std::nullopt;
    return QByteArrayLiteral("xcb;wayland");
}

int BrindlewickApp::run(int argc, char **argv)
{
    if (const std::optional<QByteArray> platform =
            platformFor(argumentList(argc, argv), QProcessEnvironment::systemEnvironment()))
        qputenv("QT_QPA_PLATFORM", *platform);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brindlewick"));
    QApplication::setDesktopFileName(QStringLiteral("brindlewick"));
    QApplication::setQuitOnLastWindowClosed(AppDelegate::applicationShouldTerminateAfterLastWindowClosed());
    // Dates and times are the only texts that follow a locale, so they follow the one the user set for
    // times; Qt's own default takes the language and country from LANG even when LC_TIME says otherwise.
    QLocale::setDefault(TimeLocale::current());

    // The harnesses work on worlds of their own and may run beside the user's program.
    const Launch launch = Launch::from(QProcessEnvironment::systemEnvironment());
    SingleInstance instance;
    if (!launch.isHarness() && !instance.claim())
        return 0;
    const QuitSignals quitSignals;

    BrindlewickApp app(AppModel::shared());
    QObject::connect(&instance, &SingleInstance::reopen, &app.delegate(),
                     [&app] { app.delegate().applicationShouldHandleReopen(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &app.delegate(),
                     [&app] { app.delegate().applicationWillTerminate(); });
    // A session manager logging the user out asks for the data first; the quit may never come.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &app.delegate(),
                     [&app] { app.delegate().applicationWillTerminate(); });
    app.delegate().applicationDidFinishLaunching(launch);
    return QApplication::exec();
}
