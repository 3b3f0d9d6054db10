#pragma once

#include "StickyNote.h"

#include <QList>
#include <optional>

// The whole stored document: every note, live, done and deleted, in document order.
struct NoteBook {
    static constexpr int currentVersion = 1;

    int version = currentVersion;
    QList<StickyNote> notes;

    NoteBook() = default;
    explicit NoteBook(QList<StickyNote> bookNotes) : notes(std::move(bookNotes)) {}

    // The first note with this id (a linear scan, no index is kept).
    std::optional<StickyNote> operator[](const QUuid &id) const;
    StickyNote *find(const QUuid &id);
    const StickyNote *find(const QUuid &id) const;
    // Replaces the first note with this id in place, or appends; `std::nullopt` removes it.
    void set(const QUuid &id, const std::optional<StickyNote> &note);

    // Drops notes deleted more than `keep` seconds before `now`.
    void purge(Date now, double keep);

    bool operator==(const NoteBook &) const = default;

private:
    qsizetype indexOf(const QUuid &id) const;
};
