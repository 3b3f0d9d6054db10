#pragma once

#include "Date.h"

#include <QString>
#include <QUuid>
#include <optional>

// One alert to raise for a note, with its fire time and ready-made notification texts.
struct PlannedAlert {
    // Raw values name the alert in notification identifiers.
    enum class Kind { timerEnded, due, dueSoon };

    QUuid noteID;
    Kind kind = Kind::due;
    Date fireAt;
    QString title;
    QString body;
    // The note's title as the texts name it, and the deadline a due alert or heads-up is about (none for
    // a timer): what an alert shown later needs to be worded again.
    QString subject = {};
    std::optional<Date> deadline = std::nullopt;

    // The note's upper-case UUID, ".", the kind's raw value: the same note and kind always give the same one.
    QString identifier() const;

    bool operator==(const PlannedAlert &) const = default;
};

// "timer", "due", "warn".
QString toString(PlannedAlert::Kind kind);
// Exactly one of the three raw values; anything else is no kind.
std::optional<PlannedAlert::Kind> plannedAlertKindFromString(const QString &raw);
