#include "NoteBook.h"

#include <algorithm>

qsizetype NoteBook::indexOf(const QUuid &id) const
{
    const auto it = std::find_if(notes.cbegin(), notes.cend(), [&](const StickyNote &n) { return n.id == id; });
    return it == notes.cend() ? -1 : it - notes.cbegin();
}

std::optional<StickyNote> NoteBook::operator[](const QUuid &id) const
{
    const StickyNote *note = find(id);
    return note ? std::optional<StickyNote>(*note) : std::nullopt;
}

StickyNote *NoteBook::find(const QUuid &id)
{
    const qsizetype index = indexOf(id);
    return index < 0 ? nullptr : &notes[index];
}

const StickyNote *NoteBook::find(const QUuid &id) const
{
    const qsizetype index = indexOf(id);
    return index < 0 ? nullptr : &notes.at(index);
}

void NoteBook::set(const QUuid &id, const std::optional<StickyNote> &note)
{
    const qsizetype index = indexOf(id);
    if (!note) {
        if (index >= 0)
            notes.removeAt(index);
    } else if (index >= 0) {
        notes[index] = *note;
    } else {
        notes.append(*note);
    }
}

void NoteBook::purge(Date now, double keep)
{
    notes.removeIf([&](const StickyNote &n) { return n.deletedAt && now - *n.deletedAt > keep; });
}
