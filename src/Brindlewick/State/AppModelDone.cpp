#include "AppModel.h"

void AppModel::toggleDone(const QUuid &id)
{
    const std::optional<StickyNote> before = m_book[id];
    if (!before)
        return;
    stopRinging(id);
    StickyNote note = *before;
    note.doneAt = note.doneAt ? std::nullopt : std::optional<Date>(clock());
    note.edited = clock();
    note.changedAt = note.edited;
    store(note);
    scheduleSave();
    reschedule();
    if (note.isDone())
        setBanner(Banner(tr("Marked “%1” done").arg(before->title()), {*before}));
}

void AppModel::deleteNotes(const QList<QUuid> &ids)
{
    QList<StickyNote> undoList;
    for (const QUuid &id : ids) {
        const StickyNote *note = m_book.find(id);
        const bool listed = std::any_of(undoList.cbegin(), undoList.cend(),
                                        [&](const StickyNote &n) { return n.id == id; });
        if (note && !note->isDeleted() && !listed)
            undoList.append(*note);
    }
    if (undoList.isEmpty())
        return;
    const Date at = clock();
    for (const QUuid &id : ids) {
        edit(id, {.answersRing = true, .stampsEdited = false}, [&](StickyNote &note) { note.deletedAt = at; });
    }
    if (m_selection && ids.contains(*m_selection))
        setSelection(std::nullopt);
    const QString text = undoList.size() == 1 ? tr("Deleted “%1”").arg(undoList.first().title())
                                              : tr("Deleted %1 notes").arg(undoList.size());
    setBanner(Banner(text, undoList));
    reschedule();
}

void AppModel::restore(const QUuid &id)
{
    edit(id, {.movesAlerts = true, .stampsEdited = false}, [](StickyNote &note) {
        note.deletedAt.reset();
        note.doneAt.reset();
    });
}

void AppModel::deleteForever(const QUuid &id)
{
    stopRinging(id);
    if (m_book.find(id)) {
        m_book.set(id, std::nullopt);
        emit bookChanged();
    }
    if (m_selection == id)
        setSelection(std::nullopt);
    scheduleSave();
    reschedule();
}

void AppModel::emptyDeleted()
{
    if (m_book.notes.removeIf([](const StickyNote &note) { return note.isDeleted(); }) > 0)
        emit bookChanged();
    scheduleSave();
}

void AppModel::undo()
{
    if (!m_banner || m_banner->undo.isEmpty())
        return;
    const QList<StickyNote> notes = m_banner->undo;
    const Date at = clock();
    // Put back as they were, yet changed now: a copy from elsewhere made before must not undo the undo.
    for (StickyNote note : notes) {
        note.changedAt = at;
        m_book.set(note.id, note);
    }
    emit bookChanged();
    setBanner(std::nullopt);
    scheduleSave();
    reschedule();
}
