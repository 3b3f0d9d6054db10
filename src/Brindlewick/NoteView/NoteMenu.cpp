#include "NoteMenu.h"

#include "State/AppModel.h"

#include <QClipboard>
#include <QGuiApplication>

NoteMenu::NoteMenu(AppModel &model, const QUuid &id, QWidget *parent) : QMenu(parent), m_model(model), m_id(id)
{
    setAccessibleName(tr("More"));
    m_done = addAction(QString(), this, [this] { m_model.toggleDone(m_id); });
    addAction(tr("Duplicate"), this, [this] { m_model.duplicate(m_id); });
    addAction(tr("Copy Text"), this, [this] { copyText(); });
    addSeparator();
    addAction(tr("Show in All Notes"), this, [this] { emit showInLibrary(m_id); });
    addSeparator();
    addAction(tr("Delete"), this, [this] { m_model.deleteNotes({m_id}); });
    connect(this, &QMenu::aboutToShow, this, &NoteMenu::refresh);
    refresh();
}

void NoteMenu::refresh()
{
    const StickyNote *note = m_model.book().find(m_id);
    m_done->setText(note && note->isDone() ? tr("Not Done") : tr("Mark Done"));
}

void NoteMenu::copyText()
{
    const StickyNote *note = m_model.book().find(m_id);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(note ? note->text : QString());
}
