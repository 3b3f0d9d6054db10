#pragma once

#include "Countdown.h"
#include "Date.h"
#include "StickyNote.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <optional>

// What the status item shows: the next countdown of all live notes. Its words go into the tool tip
// and the menu; the icon, a few pixels wide, draws only what stays legible there: a ring in the
// urgency colour that empties as the time runs out, or an alert mark once it is over.
struct MenuBarLabel {
    // The ring is drawn in this many steps, so the icon changes only when a step is passed.
    static constexpr int ringSteps = 24;

    // "note.text" while no live note counts down; else "exclamationmark.circle" once it is over,
    // "flag" for a deadline, "timer" for a timer.
    QString symbol;
    // The countdown's short text ("4:59", "Time’s up"); empty while nothing counts down.
    QString title;
    // Colours the ring; none while nothing counts down.
    std::optional<Urgency> urgency;
    // Steps of the ring still left, 0 … ringSteps.
    int left = 0;

    // A countdown that is over stays ahead of every running one, answered or not, until its note is
    // done or given new time: a finished timer is the most pressing thing left.
    static MenuBarLabel make(const QList<StickyNote> &notes, Date now);
    // Until when the label made at `now` holds by the clock alone: which countdown shows and how it
    // reads change only when some live note's face does, and its ring steps on top of that.
    static Date steadyUntil(const QList<StickyNote> &notes, Date now);

    // The countdown, or the program's name while nothing counts down.
    QString toolTip() const;
    QIcon icon() const;
    // Whether the two draw the same icon.
    bool samePicture(const MenuBarLabel &other) const;

    bool operator==(const MenuBarLabel &) const = default;
};
