#pragma once

#include "DatePhrase.h"
#include "DateScanner.h"

// Times of day as people write them: "5pm", "5:30 pm", "17:00", "at 10.15", "at 1730", "noon". An
// hour of 1 to 12 without am/pm may be either half of the day; a zero-padded one ("09:30") is a
// 24-hour time.
namespace DateDetector {

// What the words before a time let through: a lone hour after "at" or "by", four digits only after
// "at", an hour and minutes with a full stop ("10.15") after a preposition or a day.
struct TimeRules {
    bool bareHour = false;
    bool fourDigits = false;
    bool dotted = false;
};

std::optional<TimePhrase> clockTimeAt(const Scanner &scan, qsizetype i, TimeRules rules);

} // namespace DateDetector
