#pragma once

#include "Countdown.h"
#include "Date.h"
#include "StickyNote.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <optional>

// What the status item shows: the most pressing countdown of all live notes, as a symbol and its
// short text. The symbol says what kind of countdown it is.
struct MenuBarLabel {
    // "note.text" while no live note counts down; else "exclamationmark.circle" once it is over,
    // "flag" for a deadline, "timer" for a timer.
    QString symbol;
    // The countdown's short text ("4:59", "Time’s up"); empty while nothing counts down.
    QString title;
    // Colours the symbol; none while nothing counts down.
    std::optional<Urgency> urgency;

    static MenuBarLabel make(const QList<StickyNote> &notes, Date now);

    // The countdown, or the program's name while nothing counts down.
    QString toolTip() const;
    // A small note with the symbol on it and, while something counts down, the countdown under it.
    QIcon icon() const;

    bool operator==(const MenuBarLabel &) const = default;
};
