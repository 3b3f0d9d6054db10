#pragma once

#include <QString>
#include <QUuid>
#include <memory>
#include <optional>

class NoteWindows;
class TrayController;

// What the menus, the status item, the note menu and the library share: the note a command acts on,
// making a note, bringing up "All Notes". They act on the process's model, `AppModel::shared()`.
namespace AppActions {

// The one keeper of the desktop note panels, made by start-up; none before that and in harness runs.
NoteWindows *windows();
// Kept until the process ends; a later call replaces (and deletes) the earlier keeper.
void setWindows(std::unique_ptr<NoteWindows> windows);
// The one keeper of the tray, made by start-up; none before that and in harness runs.
TrayController *tray();
// Kept until the process ends; a later call replaces (and deletes) the earlier keeper.
void setTray(std::unique_ptr<TrayController> tray);

// The note the Note menu acts on: the note of the active note panel, else the library's selection
// while "All Notes" is the active window (also when no window is active and "All Notes" was never
// made); none while any other window is active.
std::optional<QUuid> currentNote();

// Adds an empty note and shows it. It goes into the tray only when asked and the tray is enabled.
void newNote(bool tucked);

// Opens "All Notes" (made on first use, then the same window), brings it forward and activates it.
// With a note, selects it, and switches the filter to "done" or "deleted" when that note is only
// listed there and the current filter leaves it out.
void showLibrary(std::optional<QUuid> select = std::nullopt);

// Ends the program: the event loop stops and the quit handlers (the last save) run. No window can
// refuse, unlike QCoreApplication::quit(), which note panels would stop.
void quit();

// The title of the command that hides or shows every desktop note: "Hide Notes" while they show,
// "Show Notes" while they are hidden.
QString hideNotesTitle(bool notesHidden);

} // namespace AppActions
