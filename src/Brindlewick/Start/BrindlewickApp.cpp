#include "BrindlewickApp.h"

#include "Shell/AppActions.h"
#include "State/AppModel.h"
#include "CommandLine.h"
#include "DisplayLoss.h"
#include "Shell/LibraryWindow.h"
#include "Platform/HotKey.h"
#include "Platform/X11.h"
#include "State/Paths.h"
#include "QuitSignals.h"
#include "SingleInstance.h"
#include "StartFolders.h"
#include "State/SettingsStore.h"
#include "Theme/PaperStyle.h"
#include "TimeLocale.h"

#include "Ostrel.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The kit keeps its settings ("OstrelAutoUpdate") in the program's settings file, and "Install and
// Relaunch" quits the way Quit does.
void startKit()
{
    const QList<QColor> brand{QColor::fromRgbF(1.0f, 0.788235294117647f, 0.2f),
                              QColor::fromRgbF(0.8784313725490196f, 0.3764705882352941f, 0.11764705882352941f)};
    Ostrel::start(brand, KitDefaults{[](const QString &key) { return SettingsStore::standard().boolValue(key); },
                                     [](const QString &key, bool value) { SettingsStore::standard().setBool(key, value); }},
                  &AppActions::quit);
}

// Whether an X server takes a connection on `display`.
bool xServerAnswers(const QString &display)
{
    xcb_connection_t *connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

// --help, --version and a command line that is not ours are answered before anything else: no
// display is needed and no file touched.
std::optional<int> answer(const CommandLine &line, int &argc, char **argv)
{
    if (line.ask == CommandLine::Ask::wrong) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(line.error),
                     qPrintable(QObject::tr("Try “brindlewick --help” for the options.")));
        return 2;
    }
    if (line.ask == CommandLine::Ask::help) {
        // Only so that the usage line names the program as it was started.
        const QCoreApplication named(argc, argv);
        std::fputs(qPrintable(CommandLine::help()), stdout);
        return 0;
    }
    if (line.ask == CommandLine::Ask::version) {
        std::printf("%s\n", qPrintable(CommandLine::version()));
        return 0;
    }
    return std::nullopt;
}

// The folder whose notes this run would show: one running program per folder.
QString dataFolder(const Launch &launch)
{
    if (launch.mode == Launch::Mode::demo)
        return QDir(launch.folder).filePath(QStringLiteral("data"));
    return Paths::live().data;
}

// By the time the event loop has ended, the aboutToQuit handlers have saved the notes and handed a
// staged update over, and the single-instance lock is released. Taking thousands of note windows down
// one by one (native windows, backing stores, accessibility records) would then cost about a second;
// the X server drops them all at once when the connection closes. Only a copy we still own on the
// clipboard needs the full teardown, which offers it to a clipboard manager. A write given up for the
// recovery file may keep its thread waiting in the kernel, and with it every descriptor of the
// process, for as long as its disk is silent: the display's connection is ended here, not left to it.
void endWithoutTeardown(int status)
{
    if (QGuiApplication::clipboard()->ownsClipboard())
        return;
    std::fflush(nullptr);
    if (xcb_connection_t *connection = X11::connection())
        X11::hangUp(connection);
    std::_Exit(status);
}

} // namespace

BrindlewickApp::BrindlewickApp(AppModel &model) : m_delegate(model), m_commands(model), m_menuBarItem(model)
{
    LibraryWindow::shared().setMenus(m_commands.menus());
}

// Behind Qt's back: closing the windows one by one would run their handlers and take a while with
// thousands of notes.
void BrindlewickApp::leaveScreen()
{
    m_menuBarItem.withdraw();
    HotKey::shared().release();
    if (xcb_connection_t *connection = X11::connection())
        X11::unmapAll(connection);
}

std::optional<QByteArray> BrindlewickApp::platformFor(const CommandLine &line, const QProcessEnvironment &environment)
{
    if (environment.contains(QStringLiteral("QT_QPA_PLATFORM")) || line.platformChosen)
        return std::nullopt;
    return QByteArrayLiteral("xcb;wayland");
}

std::optional<QString> BrindlewickApp::displayProblem(const QProcessEnvironment &environment)
{
    const QString display = environment.value(QStringLiteral("DISPLAY"));
    const bool wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    if (display.isEmpty() && !wayland)
        return QObject::tr("Brindlewick needs a graphical desktop session: neither DISPLAY nor WAYLAND_DISPLAY is set.");
    if (!wayland && !xServerAnswers(display))
        return QObject::tr("Brindlewick needs a graphical desktop session: no X server answers on DISPLAY=%1.").arg(display);
    return std::nullopt;
}

int BrindlewickApp::run(int argc, char **argv)
{
    const CommandLine line = CommandLine::read(argumentList(argc, argv));
    if (const std::optional<int> answered = answer(line, argc, argv))
        return *answered;
    if (const std::optional<QString> problem = StartFolders::settleOwn()) {
        std::fprintf(stderr, "%s\n", qPrintable(*problem));
        return 1;
    }
    // The display Qt's -display names is the one every connection of this run opens, Qt's own and
    // the pointer probe's alike.
    if (line.display)
        qputenv("DISPLAY", line.display->toLocal8Bit());
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (const std::optional<QByteArray> platform = platformFor(line, environment)) {
        // Qt would abort with a core dump and advice to reinstall; say what is missing instead.
        if (const std::optional<QString> problem = displayProblem(environment)) {
            std::fprintf(stderr, "%s\n", qPrintable(*problem));
            return 1;
        }
        qputenv("QT_QPA_PLATFORM", *platform);
    }
    // Each shared-memory flush of a window is answered by a completion event that wakes two threads;
    // the small repaints of a countdown travel as well in a plain request, and an idle program stays asleep.
    if (!environment.contains(QStringLiteral("QT_XCB_NO_MITSHM")))
        qputenv("QT_XCB_NO_MITSHM", "1");

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brindlewick"));
    QApplication::setDesktopFileName(QStringLiteral("brindlewick"));
    QApplication::setQuitOnLastWindowClosed(AppDelegate::applicationShouldTerminateAfterLastWindowClosed());
    // Dates and times are the only texts that follow a locale, so they follow the one the user set for
    // times; Qt's own default takes the language and country from LANG even when LC_TIME says otherwise.
    QLocale::setDefault(TimeLocale::current());
    PaperStyle::install();
    const int status = serve(environment, line);
    endWithoutTeardown(status);
    return status;
}

int BrindlewickApp::serve(const QProcessEnvironment &environment, const CommandLine &line)
{
    const Launch launch = Launch::from(environment, line.atLogin);
    SingleInstance instance(dataFolder(launch));
    // The harnesses work on worlds of their own and may run beside the user's program. Started with
    // the session while it already runs, there is nothing to bring up.
    if (!launch.isHarness() && !instance.claim(!launch.atLogin)) {
        if (launch.atLogin || instance.handedOver())
            return 0;
        std::fprintf(stderr, "%s\n",
                     qPrintable(QObject::tr("Brindlewick is already running on this data folder but does not "
                                            "answer, so nothing was opened. Quit it (or end it) and try again.")));
        return 1;
    }
    startKit();
    const QuitSignals quitSignals;
    // Without its display the program cannot go on; what the user typed last still reaches the disk.
    const DisplayLoss displayLoss([] {
        AppModel &model = AppModel::shared();
        model.saveBeforeQuit();
        model.notifier().withdrawAll();
    });

    BrindlewickApp app(AppModel::shared());
    QObject::connect(&instance, &SingleInstance::reopen, &app.delegate(),
                     [&app] { app.delegate().applicationShouldHandleReopen(); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &app.delegate(), [&app] { app.leaveScreen(); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &app.delegate(),
                     [&app] { app.delegate().applicationWillTerminate(); });
    // Connected after the save, so a staged update is installed only once the notes are written.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &Ostrel::applicationWillTerminate);
    // A session manager logging the user out asks for the data first; the quit may never come.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &app.delegate(),
                     [&app] { app.delegate().applicationWillTerminate(); });
    app.delegate().applicationDidFinishLaunching(launch);
    return QApplication::exec();
}
