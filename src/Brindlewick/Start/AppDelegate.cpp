#include "AppDelegate.h"

#include "Shell/AppActions.h"
#include "State/AppModel.h"
#include "Autostart.h"
#include "Harness/DemoData.h"
#include "Harness/SelfTest.h"
#include "Harness/Snapshotter.h"
#include "NotchTray/TrayController.h"
#include "NoteWindows/NoteWindows.h"
#include "Platform/HotKey.h"
#include "Shell/QuickNote/QuickNoteController.h"

#include <QCoreApplication>
#include <QPointer>

AppDelegate::AppDelegate(AppModel &model, QObject *parent) : QObject(parent), m_model(model) {}

// A harness ends the process itself, once the event loop runs; nothing of a normal run is made.
void AppDelegate::applicationDidFinishLaunching(const Launch &launch)
{
    switch (launch.mode) {
    case Launch::Mode::snapshots:
        Snapshotter::run(launch.folder);
        return;
    case Launch::Mode::selfTest:
        SelfTest::run(launch.folder);
        return;
    case Launch::Mode::demo:
        DemoData::prepare(m_model, launch.folder, std::nullopt, false);
        break;
    case Launch::Mode::normal:
        break;
    }
    m_model.start();
    wire(m_model);
    // The demo world is a developer's: nothing of it starts with the session.
    if (!m_model.isDemo())
        connect(&m_model, &AppModel::welcomeFinished, this,
                [] { Autostart::install(QCoreApplication::applicationFilePath()); });
    // A problem found at start is shown there, whatever is on the desktop; at login, only the notes show.
    if (!launch.atLogin && (m_model.showWelcome() || m_model.desktopNotes().isEmpty() || m_model.loadProblem()))
        AppActions::showLibrary();
}

void AppDelegate::wire(AppModel &model)
{
    AppActions::setWindows(std::make_unique<NoteWindows>(model));
    AppActions::setTray(std::make_unique<TrayController>(model));
    const QPointer<NoteWindows> windows = AppActions::windows();
    connect(windows, &NoteWindows::showInLibrary, this, [](const QUuid &id) { AppActions::showLibrary(id); });
    const QPointer<TrayController> tray = AppActions::tray();
    connect(tray, &TrayController::libraryAsked, this, [] { AppActions::showLibrary(); });
    windows->peekAnchor = [tray] { return tray ? tray->openRect() : std::nullopt; };
    tray->isPeeking = [windows] { return windows && windows->peeking().has_value(); };
    model.onShow = [windows](const QUuid &id) {
        if (windows)
            windows->show(id);
    };
    // A tucked note rings in the tray, every other note on its panel; never both.
    model.onRing = [windows, tray](const StickyNote &note) {
        if (note.tucked && tray)
            tray->ring(note);
        else if (!note.tucked && windows)
            windows->ring(note);
    };
    // The global key hides a visible Quick Note panel; the menus' "Quick Note…" always shows it.
    HotKey::shared().action = [&model] { QuickNoteController::shared().toggle(model); };
    connect(&model, &AppModel::hotkeyEnabledChanged, this, [&model] { followHotkeySetting(model.hotkeyEnabled()); });
    followHotkeySetting(model.hotkeyEnabled());
}

bool AppDelegate::applicationShouldHandleReopen()
{
    AppActions::showLibrary();
    return true;
}

void AppDelegate::applicationWillTerminate()
{
    m_model.finishRun();
}

void AppDelegate::followHotkeySetting(bool enabled)
{
    if (enabled)
        HotKey::shared().registerKey();
    else
        HotKey::shared().release();
}
