#include "NoteBook.h"

#include <algorithm>

std::optional<StickyNote> NoteBook::operator[](const QUuid &id) const
{
    const StickyNote *note = find(id);
    return note ? std::optional<StickyNote>(*note) : std::nullopt;
}

StickyNote *NoteBook::find(const QUuid &id)
{
    auto it = std::find_if(notes.begin(), notes.end(), [&](const StickyNote &n) { return n.id == id; });
    return it == notes.end() ? nullptr : &*it;
}

const StickyNote *NoteBook::find(const QUuid &id) const
{
    auto it = std::find_if(notes.cbegin(), notes.cend(), [&](const StickyNote &n) { return n.id == id; });
    return it == notes.cend() ? nullptr : &*it;
}

void NoteBook::set(const QUuid &id, const std::optional<StickyNote> &note)
{
    auto it = std::find_if(notes.begin(), notes.end(), [&](const StickyNote &n) { return n.id == id; });
    if (!note) {
        if (it != notes.end())
            notes.erase(it);
    } else if (it != notes.end()) {
        *it = *note;
    } else {
        notes.append(*note);
    }
}

void NoteBook::purge(Date now, double keep)
{
    notes.removeIf([&](const StickyNote &n) { return n.deletedAt && now - *n.deletedAt > keep; });
}
