#include "AppCommands.h"

#include "AppActions.h"
#include "LibraryWindow.h"
#include "Shell/QuickNote/QuickNoteController.h"
#include "State/AppModel.h"
#include "SettingsWindow.h"
#include "TextCommands.h"
#include "LibraryView/FocusSearch.h"
#include "NotchTray/TrayController.h"

#include "BundleInfo.h"
#include "OstrelCommands.h"

#include "NoteColor.h"
#include "NoteExport.h"
#include "NoteList.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QWindow>

namespace {

constexpr double fiveMinutes = 300;

} // namespace

AppCommands::AppCommands(AppModel &model, QObject *parent)
    : QObject(parent), beep(&QApplication::beep), m_model(model)
{
    buildFileMenu();
    buildEditMenu();
    buildNoteMenu();
    buildWindowMenu();
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this] { attachShortcutsTo(QApplication::activeWindow()); });
    attachShortcutsTo(QApplication::activeWindow());
}

AppCommands::~AppCommands() = default;

QList<QMenu *> AppCommands::menus() const
{
    QList<QMenu *> menus;
    for (const std::unique_ptr<QMenu> &menu : m_menus)
        menus.append(menu.get());
    return menus;
}

QMenu *AppCommands::addMenu(const QString &title)
{
    m_menus.push_back(std::make_unique<QMenu>(title));
    return m_menus.back().get();
}

QAction *AppCommands::add(QMenu *menu, const QString &title, const QKeySequence &shortcut,
                          std::function<void()> command)
{
    QAction *action = menu->addAction(title);
    connect(action, &QAction::triggered, this, std::move(command));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::ApplicationShortcut);
        m_shortcuts.append(action);
    }
    return action;
}

// The Note menu is never greyed out: without a note to act on, the beep is the answer.
QAction *AppCommands::addNoteCommand(QMenu *menu, const QString &title, const QKeySequence &shortcut,
                                     std::function<void(const QUuid &)> command)
{
    return add(menu, title, shortcut, [this, command = std::move(command)] {
        if (const std::optional<QUuid> id = AppActions::currentNote())
            command(*id);
        else
            beep();
    });
}

// Ctrl+Alt+N belongs to the global Quick Note key, hence the Shift on the tray's new note.
void AppCommands::buildFileMenu()
{
    QMenu *file = addMenu(tr("&File"));
    add(file, tr("New Note"), QKeySequence(Qt::CTRL | Qt::Key_N), [] { AppActions::newNote(false); });
    add(file, tr("Quick Note…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N),
        [this] { QuickNoteController::shared().show(m_model); });
    add(file, tr("New Note in the Notch"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_N),
        [] { AppActions::newNote(true); });
    file->addSeparator();
    add(file, tr("Copy All Notes as Text"), {}, [this] { copyAllNotesAsText(); });
    file->addSeparator();
    add(file, tr("About Brindlewick"), {}, [] { showAbout(); });
    OstrelCommands().addTo(*file);
    file->addSeparator();
    add(file, tr("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma), [] { SettingsWindow::shared().bringForward(); });
    add(file, tr("Quit Brindlewick"), QKeySequence(Qt::CTRL | Qt::Key_Q), &AppActions::quit);
}

// Not modal, so the notes keep ticking and ringing while it is open. Its lines are one text, which
// the box is made as wide as (an informative text would be wrapped to the width of the first line),
// so the window manager has room for the whole title too.
void AppCommands::showAbout()
{
    static QPointer<QMessageBox> about;
    if (!about) {
        const BundleInfo info = BundleInfo::current();
        const QString lines = tr("%1 %2").arg(info.name, info.version) + QStringLiteral("\n\n") +
                              tr("Sticky notes with countdown timers and deadlines, on your desktop.");
        about = new QMessageBox(QMessageBox::Information, tr("About Brindlewick"), lines, QMessageBox::Ok);
        about->setTextFormat(Qt::PlainText);
        about->setAttribute(Qt::WA_DeleteOnClose);
        about->setWindowModality(Qt::NonModal);
    }
    about->show();
    about->raise();
    about->activateWindow();
}

// The text group first, as on every desktop.
void AppCommands::buildEditMenu()
{
    QMenu *edit = addMenu(tr("&Edit"));
    new TextCommands(*edit, m_model, this);
    edit->addSeparator();
    add(edit, tr("Search Notes"), QKeySequence(Qt::CTRL | Qt::Key_F), [] {
        AppActions::showLibrary();
        FocusSearch::post();
    });
}

// Ctrl+Alt+Delete belongs to the system, hence the Shift on "Delete Note".
void AppCommands::buildNoteMenu()
{
    QMenu *note = addMenu(tr("&Note"));
    addNoteCommand(note, tr("Timer…"), QKeySequence(Qt::CTRL | Qt::Key_T),
                   [this](const QUuid &id) { openPicker(id, PopoverRequest::Kind::timer); });
    addNoteCommand(note, tr("Deadline…"), QKeySequence(Qt::CTRL | Qt::Key_D),
                   [this](const QUuid &id) { openPicker(id, PopoverRequest::Kind::deadline); });
    addNoteCommand(note, tr("Start or Pause Timer"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
                   [this](const QUuid &id) { startOrPauseTimer(id); });
    addNoteCommand(note, tr("Add 5 Minutes"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Equal),
                   [this](const QUuid &id) { m_model.addTime(id, fiveMinutes); });
    note->addSeparator();
    addNoteCommand(note, tr("Float Above Other Windows"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F),
                   [this](const QUuid &id) { m_model.togglePinned(id); });
    addNoteCommand(note, tr("Tuck Into the Notch / Put Back"), QKeySequence(Qt::CTRL | Qt::Key_J),
                   [this](const QUuid &id) {
                       const std::optional<StickyNote> found = m_model.book()[id];
                       m_model.setTucked(id, !(found && found->tucked));
                   });
    QMenu *colour = note->addMenu(tr("Colour"));
    for (std::size_t position = 0; position < NoteColors::allCases.size(); ++position) {
        const NoteColor color = NoteColors::allCases[position];
        const auto digit = static_cast<Qt::Key>(Qt::Key_1 + static_cast<int>(position));
        addNoteCommand(colour, title(color), QKeySequence(Qt::CTRL | digit),
                       [this, color](const QUuid &id) { m_model.setColor(id, color); });
    }
    note->addSeparator();
    addNoteCommand(note, tr("Mark Done"), QKeySequence(Qt::CTRL | Qt::Key_Return),
                   [this](const QUuid &id) { m_model.toggleDone(id); });
    addNoteCommand(note, tr("Delete Note"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete),
                   [this](const QUuid &id) { m_model.deleteNotes({id}); });
}

void AppCommands::buildWindowMenu()
{
    QMenu *window = addMenu(tr("&Window"));
    add(window, tr("All Notes"), QKeySequence(Qt::CTRL | Qt::Key_0), [] { AppActions::showLibrary(); });
    m_hideNotes = add(window, AppActions::hideNotesTitle(m_model.notesHidden()),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H),
                      [this] { m_model.setNotesHidden(!m_model.notesHidden()); });
    connect(&m_model, &AppModel::notesHiddenChanged, this,
            [this] { m_hideNotes->setText(AppActions::hideNotesTitle(m_model.notesHidden())); });
    QAction *tray = add(window, tr("Open the Notch Tray"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), [] {
        if (TrayController *controller = AppActions::tray())
            controller->toggle();
    });
    connect(&m_model, &AppModel::trayEnabledChanged, tray, [this, tray] { tray->setEnabled(m_model.trayEnabled()); });
    tray->setEnabled(m_model.trayEnabled());
}

// A note without a timer asks for one; a running timer pauses; ready, paused and finished ones start.
void AppCommands::startOrPauseTimer(const QUuid &id)
{
    const std::optional<StickyNote> note = m_model.book()[id];
    if (!note)
        return;
    if (!note->timer) {
        openPicker(id, PopoverRequest::Kind::timer);
        return;
    }
    if (note->timer->state(m_model.now()) == NoteTimer::State::running)
        m_model.pauseTimer(id);
    else
        m_model.startTimer(id);
}

// In "All Notes" the inspector's picker opens, whether the note is on the desktop or tucked away;
// otherwise the active note window opens its own, in front already. A deleted note has none.
void AppCommands::openPicker(const QUuid &id, PopoverRequest::Kind kind)
{
    LibraryWindow &library = LibraryWindow::shared();
    if (library.window() && QApplication::activeWindow() == library.window()) {
        if (!library.openPicker(kind))
            beep();
        return;
    }
    m_model.setPopover(PopoverRequest{id, kind});
}

void AppCommands::copyAllNotesAsText()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(NoteExport::text(NoteList::live(m_model.book().notes), m_model.now()));
}

// Qt only answers a shortcut whose action sits on a visible window; note panels come and go, so
// every window gets the commands when it becomes active.
void AppCommands::attachShortcutsTo(QWidget *window)
{
    if (!window || m_shortcuts.isEmpty() || window->actions().contains(m_shortcuts.first()))
        return;
    window->addActions(m_shortcuts);
}
