#include "ClockTimes.h"

#include "SpokenTimes.h"

using namespace Qt::Literals::StringLiterals;

namespace DateDetector {

namespace {

std::optional<TimePhrase> withMeridiem(int hour, int minute, std::pair<bool, qsizetype> half)
{
    if (hour < 1 || hour > 12)
        return std::nullopt;
    const int hours = hour % 12 + (half.first ? 12 : 0);
    return TimePhrase{{hours * 60 + minute}, half.second};
}

// "930am", and "1730" after "at": hours and minutes written without a colon.
std::optional<TimePhrase> runTogetherTimeAt(const Scanner &scan, Number digits, bool fourDigitsAllowed)
{
    const int hour = digits.value / 100;
    const int minute = digits.value % 100;
    if (minute >= 60)
        return std::nullopt;
    if (const auto half = scan.meridiem(scan.skipSpaces(digits.end)))
        return withMeridiem(hour, minute, *half);
    // "at 1730" and "at 0930" are 24-hour times; "at 930" is more often a count than a time.
    if (!fourDigitsAllowed || digits.digits != 4 || !scan.endsToken(digits.end) || hour > 23)
        return std::nullopt;
    return TimePhrase{{hour * 60 + minute}, digits.end};
}

// "10.15" is a time unless it reads as an amount: "0.25", "10.15%", "10.15€".
bool isDottedTime(const Scanner &scan, Number hour, qsizetype end)
{
    const QChar after = scan.at(end);
    return hour.value >= 1 && after != u'%' && after.category() != QChar::Symbol_Currency;
}

// An hour of 1 to 12 alone means the same on every clock, the first reading ahead ("tea at 4" is
// 16:00), while with its minutes the writer's clock decides ("10:30" is 10:30 on a 24-hour clock).
ClockTime::Half halfOf(Number hour, bool withMinutes)
{
    const bool zeroPadded = hour.digits == 2 && hour.value < 10;
    if (hour.value < 1 || hour.value > 12 || zeroPadded)
        return ClockTime::Half::asWritten;
    return withMinutes ? ClockTime::Half::eitherOnTwelveHourClock : ClockTime::Half::either;
}

} // namespace

std::optional<TimePhrase> clockTimeAt(const Scanner &scan, qsizetype i, TimeRules rules)
{
    if (auto spoken = spokenTimeAt(scan, i))
        return spoken;
    const Word word = scan.word(i);
    if (word.isAnyOf({"noon"_L1, "midday"_L1}))
        return TimePhrase{{halfDay}, word.end};
    if (word.is("midnight"_L1))
        return TimePhrase{{minutesPerDay}, word.end};
    const auto hour = scan.number(i);
    if (!hour)
        return std::nullopt;
    if (hour->digits > 2)
        return runTogetherTimeAt(scan, *hour, rules.fourDigits);
    qsizetype end = hour->end;
    std::optional<int> minute;
    const QChar separator = scan.at(end);
    if (separator == u':' || separator == u'.') {
        const auto minutes = scan.number(end + 1);
        if (minutes && minutes->digits == 2 && minutes->value < 60) {
            minute = minutes->value;
            end = minutes->end;
        }
    }
    if (const auto half = scan.meridiem(scan.skipSpaces(end)))
        return withMeridiem(hour->value, minute.value_or(0), *half);
    // Without am/pm, "5.30" alone is a number.
    const bool clockLike = separator == u':' || (rules.dotted && isDottedTime(scan, *hour, end));
    if (!scan.endsToken(end) || (minute && !clockLike))
        return std::nullopt;
    if (hour->value > 23 || (!minute && hour->value == 0))
        return std::nullopt;
    return TimePhrase{{hour->value * 60 + minute.value_or(0), halfOf(*hour, minute.has_value())}, end, !minute};
}

} // namespace DateDetector
