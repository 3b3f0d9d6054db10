#include "AppActions.h"

#include "State/AppModel.h"
#include "LibraryWindow.h"
#include "NotchTray/TrayController.h"
#include "NoteWindows/NotePanel.h"
#include "NoteWindows/NoteWindows.h"

#include "Calendar.h"
#include "NoteFilter.h"

#include <QApplication>
#include <QMainWindow>

namespace {

// Never deleted: the panels live as long as the process, and deleting widgets after the
// application object has gone would crash at exit.
NoteWindows *keptWindows = nullptr;
TrayController *keptTray = nullptr;

// A done or deleted note is listed only under its own filter; a live note never changes it.
void revealFilter(AppModel &model, const QUuid &id)
{
    const std::optional<StickyNote> note = model.book()[id];
    if (!note)
        return;
    const Calendar calendar = Calendar::current();
    if (includes(NoteFilter::all, *note, model.now(), calendar) ||
        includes(model.filter(), *note, model.now(), calendar))
        return;
    model.setFilter(note->deletedAt ? NoteFilter::deleted : NoteFilter::done);
}

} // namespace

NoteWindows *AppActions::windows()
{
    return keptWindows;
}

void AppActions::setWindows(std::unique_ptr<NoteWindows> windows)
{
    delete keptWindows;
    keptWindows = windows.release();
}

TrayController *AppActions::tray()
{
    return keptTray;
}

void AppActions::setTray(std::unique_ptr<TrayController> tray)
{
    delete keptTray;
    keptTray = tray.release();
}

std::optional<QUuid> AppActions::currentNote()
{
    QWidget *active = QApplication::activeWindow();
    if (keptWindows) {
        if (const auto *panel = qobject_cast<NotePanel *>(active))
            return panel->noteID();
    }
    if (active == LibraryWindow::shared().window())
        return AppModel::shared().selection();
    return std::nullopt;
}

void AppActions::newNote(bool tucked)
{
    AppModel &model = AppModel::shared();
    const bool tuck = tucked && model.trayEnabled();
    const QUuid id = model.newNote({}, std::nullopt, std::nullopt, false, std::nullopt, tuck);
    if (model.onShow)
        model.onShow(id);
}

void AppActions::showLibrary(std::optional<QUuid> select)
{
    if (select) {
        AppModel &model = AppModel::shared();
        model.setSelection(select);
        revealFilter(model, *select);
    }
    LibraryWindow::shared().bringForward();
}

void AppActions::quit()
{
    QCoreApplication::exit(0);
}

QString AppActions::hideNotesTitle(bool notesHidden)
{
    return notesHidden ? QApplication::translate("AppActions", "Show Notes")
                       : QApplication::translate("AppActions", "Hide Notes");
}
