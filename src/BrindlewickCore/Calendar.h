#pragma once

#include "Date.h"

#include <QDate>
#include <QTime>
#include <QTimeZone>
#include <optional>
#include <utility>

// Gregorian calendar rules in one time zone. A value, so rules can be run in any zone.
class Calendar {
public:
    explicit Calendar(QTimeZone zone) : m_zone(std::move(zone)) {}

    // The user's zone, as the desktop reports it.
    static Calendar current();
    // A zone by IANA name ("Europe/Berlin"); UTC when the name is unknown.
    static Calendar named(const QByteArray &ianaId);

    const QTimeZone &zone() const { return m_zone; }

    // Wall-clock reading of a moment in this zone.
    QDateTime local(Date date) const;
    QDate day(Date date) const { return local(date).date(); }
    QTime timeOfDay(Date date) const { return local(date).time(); }

    // The moment a wall-clock reading names. A time skipped by a DST change moves forward past
    // the gap; an ambiguous one takes the earlier moment. None when the day is invalid.
    std::optional<Date> date(QDate day, QTime time = QTime(0, 0)) const;

    Date startOfDay(Date date) const;
    // The moment the local day after the one of `date` begins.
    Date startOfNextDay(Date date) const;
    bool isSameDay(Date a, Date b) const { return day(a) == day(b); }
    // The same wall-clock time `days` calendar days later (or earlier).
    std::optional<Date> addingDays(Date date, int days) const;

    bool operator==(const Calendar &other) const { return m_zone == other.m_zone; }

private:
    QTimeZone m_zone;
};
