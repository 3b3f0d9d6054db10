#pragma once

#include "StickyNote.h"

#include <QList>
#include <QString>
#include <QUuid>

// The one message line of the library window. Every banner made gets a fresh id, so a view can tell
// a new message from an earlier one with the same text.
struct Banner {
    QUuid id = QUuid::createUuid();
    QString text;
    // The notes as they were before the operation the banner reports; empty for plain messages.
    QList<StickyNote> undo;

    explicit Banner(QString message, QList<StickyNote> notesBefore = {})
        : text(std::move(message)), undo(std::move(notesBefore))
    {
    }

    bool operator==(const Banner &) const = default;
};
