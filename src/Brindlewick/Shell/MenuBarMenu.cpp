#include "MenuBarMenu.h"

#include "AppActions.h"
#include "Shell/QuickNote/QuickNoteController.h"
#include "State/AppModel.h"
#include "SettingsWindow.h"

#include "Countdown.h"
#include "NoteList.h"
#include "NoteSort.h"

#include <QCoreApplication>

namespace {

QString entryText(const StickyNote &note, Date now)
{
    const std::optional<Countdown> countdown = Countdowns::primary(note, now);
    if (!countdown || countdown->isReady())
        return note.title();
    return QCoreApplication::translate("MenuBarMenu", "%1  ·  %2").arg(note.title(), countdown->shortText());
}

} // namespace

MenuBarMenu::MenuBarMenu(AppModel &model, QWidget *parent) : QMenu(parent), m_model(model)
{
    addNoteSlots();
    addCommands();
    connect(&m_model, &AppModel::bookChanged, this, &MenuBarMenu::refresh);
    // Countdowns move on only in an open menu; a closed one catches up as it opens.
    connect(&m_model, &AppModel::nowChanged, this, [this] {
        if (isVisible())
            refresh();
    });
    connect(this, &QMenu::aboutToShow, this, &MenuBarMenu::refresh);
    connect(&m_model, &AppModel::notesHiddenChanged, this, &MenuBarMenu::refresh);
    refresh();
}

QList<MenuBarMenu::Entry> MenuBarMenu::entries(const QList<StickyNote> &notes, Date now)
{
    QList<Entry> entries;
    for (const StickyNote &note : NoteList::sorted(NoteList::live(notes), NoteSort::urgency, now).mid(0, mostNotes))
        entries.append(Entry{note.id, entryText(note, now)});
    return entries;
}

// Fixed slots whose texts change in place, so an open menu does not flicker on every tick.
void MenuBarMenu::addNoteSlots()
{
    for (int slot = 0; slot < mostNotes; ++slot) {
        QAction *entry = addAction(QString());
        connect(entry, &QAction::triggered, this, [this, entry] { choose(entry->data().toUuid()); });
        m_notes.append(entry);
    }
    m_more = addAction(QString());
    m_more->setEnabled(false);
    m_noNotes = addAction(tr("No notes"));
    m_noNotes->setEnabled(false);
}

void MenuBarMenu::addCommands()
{
    addSeparator();
    addAction(tr("New Note"), [] { AppActions::newNote(false); });
    addAction(tr("Quick Note…"), [this] { QuickNoteController::shared().show(m_model); });
    addAction(tr("All Notes"), [] { AppActions::showLibrary(); });
    m_hideNotes = addAction(QString(), [this] { m_model.setNotesHidden(!m_model.notesHidden()); });
    addSeparator();
    addAction(tr("Settings…"), [] { SettingsWindow::shared().bringForward(); });
    addAction(tr("Quit Brindlewick"), &AppActions::quit);
}

void MenuBarMenu::refresh()
{
    const QList<StickyNote> &notes = m_model.book().notes;
    const QList<Entry> shown = entries(notes, m_model.now());
    for (int slot = 0; slot < mostNotes; ++slot) {
        QAction *entry = m_notes[slot];
        entry->setVisible(slot < shown.size());
        if (slot < shown.size()) {
            // A note's own text: an ampersand in it is no menu accelerator.
            entry->setText(QString(shown[slot].text).replace(u'&', QStringLiteral("&&")));
            entry->setData(shown[slot].id);
        }
    }
    const qsizetype live = NoteList::live(notes).size();
    m_more->setVisible(live > mostNotes);
    m_more->setText(tr("and %1 more…").arg(live - mostNotes));
    m_noNotes->setVisible(live == 0);
    m_hideNotes->setText(AppActions::hideNotesTitle(m_model.notesHidden()));
}

// Shows the chosen note, also when every note was hidden, and answers it if it rings.
void MenuBarMenu::choose(const QUuid &id)
{
    m_model.setNotesHidden(false);
    m_model.stopRinging(id);
    if (m_model.onShow)
        m_model.onShow(id);
}
