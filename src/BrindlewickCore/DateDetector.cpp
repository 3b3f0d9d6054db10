#include "DateDetector.h"

#include <QLatin1StringView>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <optional>
#include <variant>

namespace {

constexpr int minutesPerDay = 24 * 60;
constexpr int earliestDaytimeReading = 7 * 60;
// "tonight at 1" is the small hours after the evening, not one in the afternoon.
constexpr int eveningStart = 17 * 60;
// Minutes after midnight of the times a day named without one takes.
constexpr int comingDayDefault = 9 * 60;
constexpr int todayDefault = 17 * 60;
constexpr int tonightDefault = 21 * 60;
constexpr int lastMinuteOfDay = 23 * 60 + 59;

struct Keyword {
    QLatin1StringView word;
    int value;
};

constexpr std::array<Keyword, 24> monthWords{{
    {QLatin1StringView("january"), 1},  {QLatin1StringView("jan"), 1},
    {QLatin1StringView("february"), 2}, {QLatin1StringView("feb"), 2},
    {QLatin1StringView("march"), 3},    {QLatin1StringView("mar"), 3},
    {QLatin1StringView("april"), 4},    {QLatin1StringView("apr"), 4},
    {QLatin1StringView("may"), 5},      {QLatin1StringView("june"), 6},
    {QLatin1StringView("jun"), 6},      {QLatin1StringView("july"), 7},
    {QLatin1StringView("jul"), 7},      {QLatin1StringView("august"), 8},
    {QLatin1StringView("aug"), 8},      {QLatin1StringView("september"), 9},
    {QLatin1StringView("sept"), 9},     {QLatin1StringView("sep"), 9},
    {QLatin1StringView("october"), 10}, {QLatin1StringView("oct"), 10},
    {QLatin1StringView("november"), 11}, {QLatin1StringView("nov"), 11},
    {QLatin1StringView("december"), 12}, {QLatin1StringView("dec"), 12},
}};

// Qt's numbering: 1 is Monday.
constexpr std::array<Keyword, 17> weekdayWords{{
    {QLatin1StringView("monday"), 1},   {QLatin1StringView("mon"), 1},
    {QLatin1StringView("tuesday"), 2},  {QLatin1StringView("tues"), 2},
    {QLatin1StringView("tue"), 2},      {QLatin1StringView("wednesday"), 3},
    {QLatin1StringView("wed"), 3},      {QLatin1StringView("thursday"), 4},
    {QLatin1StringView("thurs"), 4},    {QLatin1StringView("thur"), 4},
    {QLatin1StringView("thu"), 4},      {QLatin1StringView("friday"), 5},
    {QLatin1StringView("fri"), 5},      {QLatin1StringView("saturday"), 6},
    {QLatin1StringView("sat"), 6},      {QLatin1StringView("sunday"), 7},
    {QLatin1StringView("sun"), 7},
}};

// Abbreviations that are also everyday words ("sat down", "the sun") count only with company:
// a preposition, "next"/"last"/"this", or a time.
constexpr std::array<QLatin1StringView, 3> commonWordWeekdays{
    QLatin1StringView("sat"), QLatin1StringView("sun"), QLatin1StringView("wed")};

template <std::size_t N>
std::optional<int> lookUp(const std::array<Keyword, N> &table, QStringView word)
{
    for (const Keyword &keyword : table) {
        if (word == keyword.word)
            return keyword.value;
    }
    return std::nullopt;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isNumberPunctuation(QChar c)
{
    return c == u'.' || c == u',' || c == u':' || c == u'/' || c == u'-';
}

// A time of day as written, in minutes after the start of the day it falls on; values past 24:00
// fall on the next day ("midnight" is 24:00). `ambiguous` marks an hour of 1 to 12 written without
// am/pm, which may mean either half of the day.
struct ClockTime {
    int minutes = 0;
    bool ambiguous = false;
};

struct RelativeDay {
    int offset = 0;
    bool evening = false;
};

struct NamedWeekday {
    enum class Week { coming, next, last };
    int weekday = 1;
    Week week = Week::coming;
};

struct CalendarDay {
    int month = 1;
    int day = 1;
    std::optional<int> year;
};

using Day = std::variant<RelativeDay, NamedWeekday, CalendarDay>;

struct DayPhrase {
    Day day;
    qsizetype end = 0;
    bool numericOnly = false;
    bool commonWord = false;
};

struct TimePhrase {
    ClockTime time;
    qsizetype end = 0;
};

struct Phrase {
    std::optional<Day> day;
    std::optional<ClockTime> time;
    qsizetype end = 0;
    bool numericOnly = false;
    bool commonWord = false;
};

struct Number {
    int value = 0;
    int digits = 0;
    qsizetype end = 0;
};

struct Word {
    QString lower;
    qsizetype end = 0;
};

struct Link {
    qsizetype end = 0;
    bool byWord = false;
};

struct Preposition {
    qsizetype end = 0;
    bool introducesBareHour = false;
};

using Readings = QVarLengthArray<int, 2>;

// Character-level reading of the text; positions are UTF-16 indexes.
class Scanner {
public:
    explicit Scanner(QStringView text) : m_text(text) {}

    qsizetype size() const { return m_text.size(); }
    QChar at(qsizetype i) const { return i < m_text.size() ? m_text[i] : QChar(); }

    // Where a phrase may begin: a letter, digit or "@" that does not continue a word or a number.
    bool startsPhrase(qsizetype i) const
    {
        const QChar c = at(i);
        if (!c.isLetterOrNumber() && c != u'@')
            return false;
        if (i == 0)
            return true;
        const QChar before = at(i - 1);
        if (before.isLetterOrNumber())
            return false;
        return !(isNumberPunctuation(before) && i >= 2 && isAsciiDigit(at(i - 2)));
    }

    // True when nothing at `i` continues the word or number that ended there.
    bool endsToken(qsizetype i) const
    {
        const QChar c = at(i);
        if (c.isLetterOrNumber())
            return false;
        return !(isNumberPunctuation(c) && isAsciiDigit(at(i + 1)));
    }

    qsizetype skipSpaces(qsizetype i) const
    {
        while (i < size() && at(i).isSpace())
            ++i;
        return i;
    }

    // The letters from `i` on, lower case; empty when a digit runs on from them ("tomorrow5pm").
    Word word(qsizetype i) const
    {
        qsizetype end = i;
        while (end < size() && at(end).isLetter())
            ++end;
        if (at(end).isNumber())
            return Word{QString(), i};
        return Word{m_text.mid(i, end - i).toString().toLower(), end};
    }

    std::optional<Number> number(qsizetype i) const
    {
        Number number{0, 0, i};
        while (isAsciiDigit(at(number.end))) {
            if (++number.digits > 4)
                return std::nullopt;
            number.value = number.value * 10 + (at(number.end).unicode() - u'0');
            ++number.end;
        }
        if (number.digits == 0)
            return std::nullopt;
        return number;
    }

    // "am", "pm", "a.m." or "p.m."; returns whether it is pm and where it ends.
    std::optional<std::pair<bool, qsizetype>> meridiem(qsizetype i) const
    {
        const QChar half = at(i).toLower();
        if (half != u'a' && half != u'p')
            return std::nullopt;
        qsizetype end = i + 1;
        const bool dotted = at(end) == u'.';
        if (dotted)
            ++end;
        if (at(end).toLower() != u'm')
            return std::nullopt;
        ++end;
        if (dotted && at(end) == u'.')
            ++end;
        if (at(end).isLetterOrNumber())
            return std::nullopt;
        return std::pair{half == u'p', end};
    }

private:
    QStringView m_text;
};

class Detector {
public:
    Detector(QStringView text, Date now, const Calendar &calendar, const QLocale &locale)
        : m_scan(text), m_now(now), m_calendar(calendar), m_locale(locale), m_today(calendar.day(now))
    {
    }

    std::vector<DateMatch> all() const
    {
        std::vector<DateMatch> found;
        qsizetype i = 0;
        while (i < m_scan.size()) {
            if (m_scan.startsPhrase(i)) {
                if (const auto match = matchAt(i)) {
                    found.push_back(*match);
                    i = match->offset + match->length;
                    continue;
                }
            }
            ++i;
        }
        return found;
    }

private:
    std::optional<DateMatch> matchAt(qsizetype start) const
    {
        const auto preposition = prepositionAt(start);
        const auto phrase = phraseAt(preposition ? preposition->end : start,
                                     preposition && preposition->introducesBareHour);
        if (!phrase || (phrase->commonWord && !preposition))
            return std::nullopt;
        const auto date = resolve(*phrase);
        if (!date)
            return std::nullopt;
        // "by 1/2" is more often a fraction than a date: a numeric date keeps its preposition out,
        // so it stays the bare number it is.
        const qsizetype offset = preposition && phrase->numericOnly ? preposition->end : start;
        return DateMatch{offset, phrase->end - offset, *date};
    }

    std::optional<Preposition> prepositionAt(qsizetype i) const
    {
        if (m_scan.at(i) == u'@')
            return Preposition{m_scan.skipSpaces(i + 1), true};
        const Word word = m_scan.word(i);
        const qsizetype next = m_scan.skipSpaces(word.end);
        if (next == word.end)
            return std::nullopt;
        if (word.lower == u"on")
            return Preposition{next, false};
        for (const char *introducer : {"at", "by", "before", "until", "till"}) {
            if (word.lower == QLatin1StringView(introducer))
                return Preposition{next, true};
        }
        return std::nullopt;
    }

    std::optional<Phrase> phraseAt(qsizetype i, bool bareHourAllowed) const
    {
        if (const auto day = dayAt(i)) {
            const auto link = linkAfter(day->end, {"at", "by"});
            const auto time = link ? timeAt(link->end, link->byWord) : std::nullopt;
            if (time)
                return Phrase{day->day, time->time, time->end, false, false};
            return Phrase{day->day, std::nullopt, day->end, day->numericOnly, day->commonWord};
        }
        const auto time = timeAt(i, bareHourAllowed);
        if (!time)
            return std::nullopt;
        const auto link = linkAfter(time->end, {"on"});
        if (const auto day = link ? dayAt(link->end) : std::nullopt)
            return Phrase{day->day, time->time, day->end, false, false};
        return Phrase{std::nullopt, time->time, time->end, false, false};
    }

    // What may stand between a day and its time: spaces, a comma, one of the linking words.
    std::optional<Link> linkAfter(qsizetype i, std::initializer_list<const char *> words) const
    {
        qsizetype end = m_scan.skipSpaces(i);
        if (m_scan.at(end) == u',')
            end = m_scan.skipSpaces(end + 1);
        if (end == i)
            return std::nullopt;
        if (m_scan.at(end) == u'@')
            return Link{m_scan.skipSpaces(end + 1), true};
        const Word word = m_scan.word(end);
        const qsizetype next = m_scan.skipSpaces(word.end);
        for (const char *linking : words) {
            if (word.lower == QLatin1StringView(linking) && next > word.end)
                return Link{next, true};
        }
        return Link{end, false};
    }

    std::optional<TimePhrase> timeAt(qsizetype i, bool bareHourAllowed) const
    {
        const Word word = m_scan.word(i);
        if (word.lower == u"noon")
            return TimePhrase{{12 * 60, false}, word.end};
        if (word.lower == u"midnight")
            return TimePhrase{{minutesPerDay, false}, word.end};
        const auto hour = m_scan.number(i);
        if (!hour || hour->digits > 2)
            return std::nullopt;
        qsizetype end = hour->end;
        std::optional<int> minute;
        const QChar separator = m_scan.at(end);
        if (separator == u':' || separator == u'.') {
            const auto minutes = m_scan.number(end + 1);
            if (minutes && minutes->digits == 2 && minutes->value < 60) {
                minute = minutes->value;
                end = minutes->end;
            }
        }
        if (const auto half = m_scan.meridiem(m_scan.skipSpaces(end))) {
            if (hour->value < 1 || hour->value > 12)
                return std::nullopt;
            const int hours = hour->value % 12 + (half->first ? 12 : 0);
            return TimePhrase{{hours * 60 + minute.value_or(0), false}, half->second};
        }
        // Without am/pm, "5.30" is a number and a lone hour needs a word like "at" before it.
        const bool clockLike = minute && separator == u':';
        if (!m_scan.endsToken(end) || (minute && !clockLike) || (!minute && !bareHourAllowed))
            return std::nullopt;
        if (hour->value > 23 || (!minute && hour->value == 0))
            return std::nullopt;
        const bool zeroPadded = hour->digits == 2 && hour->value < 10;
        const bool ambiguous = hour->value >= 1 && hour->value <= 12 && !zeroPadded;
        return TimePhrase{{hour->value * 60 + minute.value_or(0), ambiguous}, end};
    }

    std::optional<DayPhrase> dayAt(qsizetype i) const
    {
        if (auto date = calendarDateAt(i))
            return date;
        const Word word = m_scan.word(i);
        if (word.lower == u"today")
            return DayPhrase{RelativeDay{0, false}, word.end};
        if (word.lower == u"tonight")
            return DayPhrase{RelativeDay{0, true}, word.end};
        if (word.lower == u"tomorrow")
            return DayPhrase{RelativeDay{1, false}, word.end};
        if (const auto week = weekModifier(word.lower)) {
            const qsizetype next = m_scan.skipSpaces(word.end);
            const auto weekday = next > word.end ? weekdayAt(next) : std::nullopt;
            if (!weekday)
                return std::nullopt;
            // "this sun" is more likely the sun than a Sunday; "next sun" is a day.
            const bool commonWord = *week == NamedWeekday::Week::coming && isCommonWord(m_scan.word(next).lower);
            return DayPhrase{NamedWeekday{weekday->first, *week}, weekday->second, false, commonWord};
        }
        const auto weekday = weekdayAt(i);
        if (!weekday)
            return std::nullopt;
        // "friday, dec 25": the date says more than its weekday.
        const auto link = linkAfter(weekday->second, {});
        if (auto date = link && !link->byWord ? calendarDateAt(link->end) : std::nullopt) {
            date->numericOnly = false;
            return date;
        }
        return DayPhrase{NamedWeekday{weekday->first, NamedWeekday::Week::coming}, weekday->second, false,
                         isCommonWord(word.lower)};
    }

    static bool isCommonWord(const QString &word)
    {
        return std::find(commonWordWeekdays.begin(), commonWordWeekdays.end(), word) != commonWordWeekdays.end();
    }

    static std::optional<NamedWeekday::Week> weekModifier(const QString &word)
    {
        if (word == u"next")
            return NamedWeekday::Week::next;
        if (word == u"last")
            return NamedWeekday::Week::last;
        if (word == u"this")
            return NamedWeekday::Week::coming;
        return std::nullopt;
    }

    // The weekday a name or abbreviation ("fri", "Fri.") spells, and where it ends.
    std::optional<std::pair<int, qsizetype>> weekdayAt(qsizetype i) const
    {
        return nameAt(weekdayWords, i);
    }

    template <std::size_t N>
    std::optional<std::pair<int, qsizetype>> nameAt(const std::array<Keyword, N> &table, qsizetype i) const
    {
        const Word word = m_scan.word(i);
        const auto value = lookUp(table, word.lower);
        if (!value)
            return std::nullopt;
        const bool dotted = m_scan.at(word.end) == u'.' && !isAsciiDigit(m_scan.at(word.end + 1));
        return std::pair{*value, dotted ? word.end + 1 : word.end};
    }

    std::optional<DayPhrase> calendarDateAt(qsizetype i) const
    {
        if (const auto month = nameAt(monthWords, i))
            return monthFirstDateAt(month->first, month->second);
        const auto first = m_scan.number(i);
        if (!first)
            return std::nullopt;
        if (m_scan.at(first->end) == u'-')
            return isoDateAt(*first);
        if (m_scan.at(first->end) == u'/')
            return numericDateAt(*first);
        return dayFirstDateAt(*first);
    }

    // "2026-12-25"
    std::optional<DayPhrase> isoDateAt(Number year) const
    {
        const auto month = m_scan.number(year.end + 1);
        if (year.digits != 4 || !month || month->digits > 2 || m_scan.at(month->end) != u'-')
            return std::nullopt;
        const auto day = m_scan.number(month->end + 1);
        if (!day || day->digits > 2 || !m_scan.endsToken(day->end))
            return std::nullopt;
        return dayPhrase(CalendarDay{month->value, day->value, year.value}, day->end, true);
    }

    // "12/25", "25/12/2026", "12/25/26"
    std::optional<DayPhrase> numericDateAt(Number first) const
    {
        const auto second = m_scan.number(first.end + 1);
        if (first.digits > 2 || !second || second->digits > 2)
            return std::nullopt;
        qsizetype end = second->end;
        std::optional<int> year;
        if (m_scan.at(end) == u'/') {
            const auto written = m_scan.number(end + 1);
            if (!written || (written->digits != 2 && written->digits != 4))
                return std::nullopt;
            year = written->digits == 2 ? 2000 + written->value : written->value;
            end = written->end;
        }
        if (!m_scan.endsToken(end))
            return std::nullopt;
        const bool dayFirst = first.value > 12 || (second->value <= 12 && localeWritesDayFirst());
        const CalendarDay day = dayFirst ? CalendarDay{second->value, first.value, year}
                                         : CalendarDay{first.value, second->value, year};
        return dayPhrase(day, end, true);
    }

    // "25 December", "25th of Dec 2027"
    std::optional<DayPhrase> dayFirstDateAt(Number day) const
    {
        const auto dayEnd = ordinalEnd(day);
        if (!dayEnd)
            return std::nullopt;
        qsizetype next = m_scan.skipSpaces(*dayEnd);
        if (next == *dayEnd)
            return std::nullopt;
        const Word of = m_scan.word(next);
        if (of.lower == u"of" && m_scan.skipSpaces(of.end) > of.end)
            next = m_scan.skipSpaces(of.end);
        const auto month = nameAt(monthWords, next);
        if (!month)
            return std::nullopt;
        return withYear(CalendarDay{month->first, day.value, std::nullopt}, month->second);
    }

    // "dec 25", "December 25th, 2027"
    std::optional<DayPhrase> monthFirstDateAt(int month, qsizetype monthEnd) const
    {
        const qsizetype next = m_scan.skipSpaces(monthEnd);
        const auto day = next > monthEnd ? m_scan.number(next) : std::nullopt;
        const auto dayEnd = day ? ordinalEnd(*day) : std::nullopt;
        if (!dayEnd)
            return std::nullopt;
        return withYear(CalendarDay{month, day->value, std::nullopt}, *dayEnd);
    }

    // Where a day of the month ends, with its "st", "nd", "rd" or "th".
    std::optional<qsizetype> ordinalEnd(Number day) const
    {
        if (day.digits > 2)
            return std::nullopt;
        const Word suffix = m_scan.word(day.end);
        if (suffix.lower.isEmpty())
            return m_scan.endsToken(day.end) ? std::optional(day.end) : std::nullopt;
        for (const char *ordinal : {"st", "nd", "rd", "th"}) {
            if (suffix.lower == QLatin1StringView(ordinal))
                return suffix.end;
        }
        return std::nullopt;
    }

    std::optional<DayPhrase> withYear(CalendarDay day, qsizetype end) const
    {
        qsizetype next = m_scan.at(end) == u',' ? end + 1 : end;
        next = m_scan.skipSpaces(next);
        const auto year = next > end ? m_scan.number(next) : std::nullopt;
        if (year && year->digits == 4 && m_scan.endsToken(year->end)) {
            day.year = year->value;
            end = year->end;
        }
        return dayPhrase(day, end, false);
    }

    std::optional<DayPhrase> dayPhrase(CalendarDay day, qsizetype end, bool numericOnly) const
    {
        // A year-less date must exist in some year: 2000 was a leap year.
        if (!QDate(day.year.value_or(2000), day.month, day.day).isValid())
            return std::nullopt;
        return DayPhrase{day, end, numericOnly};
    }

    bool localeWritesDayFirst() const
    {
        const QString format = m_locale.dateFormat(QLocale::ShortFormat);
        return format.indexOf(u'd') < format.indexOf(u'M');
    }

    std::optional<Date> resolve(const Phrase &phrase) const
    {
        if (!phrase.day)
            return nextTime(*phrase.time);
        if (const auto *relative = std::get_if<RelativeDay>(&*phrase.day))
            return onDay(m_today.addDays(relative->offset), phrase.time, relative->evening);
        if (const auto *weekday = std::get_if<NamedWeekday>(&*phrase.day))
            return onWeekday(*weekday, phrase.time);
        const auto day = dayOf(std::get<CalendarDay>(*phrase.day));
        return day ? onDay(*day, phrase.time, false) : std::nullopt;
    }

    std::optional<Date> nextTime(ClockTime time) const
    {
        const Readings readings = readingsOf(time, false);
        if (const auto ahead = firstAhead(m_today, readings))
            return ahead;
        return moment(m_today.addDays(1), readings.front());
    }

    std::optional<Date> onDay(QDate day, std::optional<ClockTime> time, bool evening) const
    {
        if (!time)
            return untimed(day, evening);
        const Readings readings = readingsOf(*time, evening);
        if (const auto ahead = firstAhead(day, readings))
            return ahead;
        return moment(day, readings.front());
    }

    std::optional<Date> onWeekday(NamedWeekday named, std::optional<ClockTime> time) const
    {
        const int today = m_today.dayOfWeek();
        switch (named.week) {
        case NamedWeekday::Week::coming:
            for (const int week : {0, 7}) {
                const QDate day = m_today.addDays((named.weekday - today + 7) % 7 + week);
                const auto date = onDay(day, time, false);
                if (date && *date > m_now)
                    return date;
            }
            return std::nullopt;
        case NamedWeekday::Week::next: {
            const int first = m_locale.firstDayOfWeek();
            const QDate weekStart = m_today.addDays(-((today - first + 7) % 7));
            return onDay(weekStart.addDays(7 + (named.weekday - first + 7) % 7), time, false);
        }
        case NamedWeekday::Week::last: {
            const int back = (today - named.weekday + 7) % 7;
            return onDay(m_today.addDays(-(back == 0 ? 7 : back)), time, false);
        }
        }
        return std::nullopt;
    }

    std::optional<QDate> dayOf(CalendarDay day) const
    {
        if (day.year)
            return QDate(*day.year, day.month, day.day);
        // Eight years always hold a 29 February.
        for (int year = m_today.year(); year <= m_today.year() + 8; ++year) {
            const QDate date(year, day.month, day.day);
            if (date.isValid() && date >= m_today)
                return date;
        }
        return std::nullopt;
    }

    std::optional<Date> untimed(QDate day, bool evening) const
    {
        if (day != m_today)
            return moment(day, comingDayDefault);
        const auto preferred = moment(day, evening ? tonightDefault : todayDefault);
        if (preferred && *preferred > m_now)
            return preferred;
        return moment(day, lastMinuteOfDay);
    }

    static Readings readingsOf(ClockTime time, bool evening)
    {
        if (!time.ambiguous)
            return {time.minutes};
        const int morning = time.minutes % (12 * 60);
        const int afternoon = morning + 12 * 60;
        if (evening)
            return {afternoon < eveningStart ? morning + minutesPerDay : afternoon};
        if (morning < earliestDaytimeReading)
            return {afternoon};
        return {morning, afternoon};
    }

    std::optional<Date> firstAhead(QDate day, const Readings &readings) const
    {
        for (const int minutes : readings) {
            const auto date = moment(day, minutes);
            if (date && *date > m_now)
                return date;
        }
        return std::nullopt;
    }

    std::optional<Date> moment(QDate day, int minutes) const
    {
        const QTime time((minutes % minutesPerDay) / 60, minutes % 60);
        return m_calendar.date(day.addDays(minutes / minutesPerDay), time);
    }

    Scanner m_scan;
    Date m_now;
    const Calendar &m_calendar;
    const QLocale &m_locale;
    QDate m_today;
};

} // namespace

std::vector<DateMatch> DateDetector::matches(QStringView text, Date now, const Calendar &calendar,
                                             const QLocale &locale)
{
    return Detector(text, now, calendar, locale).all();
}
