#include "SpokenTimes.h"

using namespace Qt::Literals::StringLiterals;

namespace DateDetector {

namespace {

// How the minutes were said: "5", "ten", or "quarter" and "half".
enum class Said { inDigits, asCount, asFraction };

// Minutes away from the hour as they are said; "twenty" may go on to "twenty-five".
constexpr std::array<Keyword, 5> spokenMinuteWords{{
    {"five"_L1, 5}, {"ten"_L1, 10}, {"quarter"_L1, 15}, {"twenty"_L1, 20}, {"half"_L1, 30},
}};
constexpr int twenty = 20;
constexpr int quarter = 15;
constexpr int half = 30;

// Words before which "ten to 6" is a range rather than a time.
constexpr std::array<QLatin1StringView, 2> rangeOpeners{"from"_L1, "between"_L1};

struct Minutes {
    int value = 0;
    qsizetype end = 0;
    Said said = Said::asCount;
};

struct Direction {
    bool past = true;
    qsizetype end = 0;
};

// "quarter", "a quarter", "ten", "twenty-five", "twenty five", "5"
std::optional<Minutes> minutesAt(const Scanner &scan, qsizetype i)
{
    if (const auto digits = scan.number(i)) {
        if (digits->value < 1 || digits->value > 59 || !scan.endsToken(digits->end))
            return std::nullopt;
        return Minutes{digits->value, digits->end, Said::inDigits};
    }
    Word word = scan.word(i);
    if (word.is("a"_L1)) {
        word = scan.nextWord(word.end);
        if (!word.is("quarter"_L1))
            return std::nullopt;
    }
    const auto value = lookUp(spokenMinuteWords, word);
    if (!value)
        return std::nullopt;
    if (*value == twenty) {
        const qsizetype next = scan.at(word.end) == u'-' ? word.end + 1 : scan.skipSpaces(word.end);
        if (const Word five = scan.word(next); next > word.end && five.is("five"_L1))
            return Minutes{twenty + 5, five.end};
    }
    const bool fraction = *value == quarter || *value == half;
    return Minutes{*value, word.end, fraction ? Said::asFraction : Said::asCount};
}

// The word that ends where the spaces before `i` begin.
Word wordBefore(const Scanner &scan, qsizetype i)
{
    qsizetype end = i;
    while (end > 0 && scan.at(end - 1).isSpace())
        --end;
    qsizetype start = end;
    while (start > 0 && scan.at(start - 1).isLetter())
        --start;
    return Word{scan.text().sliced(start, end - start), end};
}

// "past", "after" or "to". "5 to 6" and "from ten to 6" are ranges, "2 after 3" a count, and
// nobody says "half to".
std::optional<Direction> directionAfter(const Scanner &scan, qsizetype start, Minutes minutes)
{
    const Word word = scan.nextWord(minutes.end);
    if (word.is("past"_L1))
        return Direction{true, word.end};
    if (minutes.said == Said::inDigits)
        return std::nullopt;
    if (word.is("after"_L1))
        return Direction{true, word.end};
    if (!word.is("to"_L1) || minutes.value == half)
        return std::nullopt;
    if (minutes.said == Said::asCount && isAmong(rangeOpeners, wordBefore(scan, start)))
        return std::nullopt;
    return Direction{false, word.end};
}

// The hour said, in minutes after midnight, and whether am/pm, noon or midnight fixed its half.
std::optional<TimePhrase> hourAt(const Scanner &scan, qsizetype i)
{
    const Word word = scan.word(i);
    if (word.is("noon"_L1))
        return TimePhrase{{halfDay}, word.end};
    if (word.is("midnight"_L1))
        return TimePhrase{{minutesPerDay}, word.end};
    auto hour = scan.number(i);
    if (hour && hour->digits > 2)
        return std::nullopt;
    if (!hour)
        hour = scan.numberWord(i);
    if (!hour || hour->value < 1 || hour->value > 12)
        return std::nullopt;
    if (const auto meridiem = scan.meridiem(scan.skipSpaces(hour->end))) {
        const int hours = hour->value % 12 + (meridiem->first ? 12 : 0);
        return TimePhrase{{hours * 60}, meridiem->second};
    }
    if (!scan.endsToken(hour->end))
        return std::nullopt;
    return TimePhrase{{hour->value * 60, ClockTime::Half::either}, hour->end};
}

} // namespace

std::optional<TimePhrase> spokenTimeAt(const Scanner &scan, qsizetype i)
{
    const auto minutes = minutesAt(scan, i);
    const auto direction = minutes ? directionAfter(scan, i, *minutes) : std::nullopt;
    if (!direction)
        return std::nullopt;
    const qsizetype hourStart = scan.skipSpaces(direction->end);
    // "ten to twelve people" counts; "ten to 12" is the time.
    const bool countedDown = !direction->past && minutes->said == Said::asCount;
    if (hourStart == direction->end || (countedDown && !isAsciiDigit(scan.at(hourStart))))
        return std::nullopt;
    auto time = hourAt(scan, hourStart);
    if (!time)
        return std::nullopt;
    time->time.minutes += direction->past ? minutes->value : -minutes->value;
    // "quarter to 12am" is the end of the day, as "quarter to midnight" is.
    if (time->time.minutes < 0)
        time->time.minutes += minutesPerDay;
    return time;
}

} // namespace DateDetector
