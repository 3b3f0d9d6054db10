#pragma once

#include "Date.h"
#include "NoteColor.h"
#include "NoteFrame.h"
#include "NoteTimer.h"

#include <QString>
#include <QUuid>
#include <optional>

// One note. A plain value: the application changes notes only by looking them up by `id`.
struct StickyNote {
    QUuid id;
    QString text;
    NoteColor color = NoteColor::lemon;
    Date created;
    Date edited;
    bool pinned = false;
    bool tucked = false;
    std::optional<NoteFrame> frame;
    std::optional<NoteTimer> timer;
    std::optional<Date> deadline;
    std::optional<Date> deadlineSetAt;
    std::optional<Date> doneAt;
    std::optional<Date> deletedAt;
    // Fire times of the alerts already raised, so each alert is raised once.
    std::optional<Date> alertedTimerEnd;
    std::optional<Date> alertedDeadline;
    std::optional<Date> alertedWarning;
    // The last change of any kind made to the note (an edit, done, delete, restore, undo), for merging
    // copies of it; `edited` stays the last edit the user sees. None in files of older versions.
    std::optional<Date> changedAt;

    StickyNote() = default;
    StickyNote(QUuid id, QString text, NoteColor color, Date now);

    bool isLive() const { return !doneAt && !deletedAt; }
    bool isDone() const { return doneAt.has_value(); }
    bool isDeleted() const { return deletedAt.has_value(); }
    bool hasTime() const { return timer || deadline; }

    // The first non-blank line, trimmed, at most 80 characters; "Empty note" without one.
    QString title() const;
    // No line holds more than spaces and tabs: the note has no title of its own.
    bool isBlank() const;
    // Everything after the title line, trimmed.
    QString rest() const;

    // Sets or clears the deadline; a new deadline may alert again. Leaves `edited` to the caller.
    void setDeadline(std::optional<Date> newDeadline, Date now);

    bool operator==(const StickyNote &) const = default;
};
