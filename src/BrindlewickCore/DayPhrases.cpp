#include "DayPhrases.h"

#include "DayParts.h"
#include "Holidays.h"

using namespace Qt::Literals::StringLiterals;

namespace DateDetector {

namespace {

constexpr std::array<Keyword, 24> monthWords{{
    {"january"_L1, 1},   {"jan"_L1, 1},  {"february"_L1, 2}, {"feb"_L1, 2},  {"march"_L1, 3},
    {"mar"_L1, 3},       {"april"_L1, 4}, {"apr"_L1, 4},     {"may"_L1, 5},  {"june"_L1, 6},
    {"jun"_L1, 6},       {"july"_L1, 7},  {"jul"_L1, 7},     {"august"_L1, 8}, {"aug"_L1, 8},
    {"september"_L1, 9}, {"sept"_L1, 9},  {"sep"_L1, 9},     {"october"_L1, 10}, {"oct"_L1, 10},
    {"november"_L1, 11}, {"nov"_L1, 11},  {"december"_L1, 12}, {"dec"_L1, 12},
}};

// Qt's numbering: 1 is Monday.
constexpr std::array<Keyword, 17> weekdayWords{{
    {"monday"_L1, 1},   {"mon"_L1, 1},   {"tuesday"_L1, 2}, {"tues"_L1, 2},     {"tue"_L1, 2},
    {"wednesday"_L1, 3}, {"wed"_L1, 3},  {"thursday"_L1, 4}, {"thurs"_L1, 4},   {"thur"_L1, 4},
    {"thu"_L1, 4},      {"friday"_L1, 5}, {"fri"_L1, 5},    {"saturday"_L1, 6}, {"sat"_L1, 6},
    {"sunday"_L1, 7},   {"sun"_L1, 7},
}};
constexpr int monday = 1;
constexpr int friday = 5;
constexpr int saturday = 6;

// Abbreviations that are also everyday words ("sat down", "the sun") count only with company:
// a preposition, "next"/"last"/"this", or a time.
constexpr std::array<QLatin1StringView, 3> commonWordWeekdays{"sat"_L1, "sun"_L1, "wed"_L1};

// Days per unit; a month counts as 0 and is added as a calendar month.
constexpr int monthUnit = 0;
constexpr std::array<Keyword, 9> dayUnitWords{{
    {"day"_L1, 1},  {"days"_L1, 1},  {"week"_L1, 7},      {"wk"_L1, 7},          {"wks"_L1, 7},
    {"weeks"_L1, 7}, {"fortnight"_L1, 14}, {"month"_L1, monthUnit}, {"months"_L1, monthUnit},
}};

// What may follow "the 25th" when it is a day of the month rather than a rank ("the 2nd draft").
constexpr std::array<QLatin1StringView, 21> ordinalFollowers{
    "at"_L1,     "by"_L1,      "in"_L1,    "on"_L1,      "for"_L1,     "and"_L1,       "or"_L1,
    "to"_L1,     "then"_L1,    "before"_L1, "after"_L1,  "with"_L1,    "from"_L1,      "until"_L1,
    "till"_L1,   "of"_L1,      "morning"_L1, "afternoon"_L1, "evening"_L1, "night"_L1, "noon"_L1,
};

bool isCommonWord(const Word &word)
{
    return isAmong(commonWordWeekdays, word);
}

DayPhrase endOfDayPhrase(Day day, qsizetype end)
{
    DayPhrase phrase{day, end};
    phrase.endOfDay = true;
    return phrase;
}

// A year-less date must exist in some year: 2000 was a leap year.
std::optional<DayPhrase> dayPhrase(CalendarDay day, qsizetype end, bool numericOnly)
{
    if (!QDate(day.year.value_or(2000), day.month, day.day).isValid())
        return std::nullopt;
    return DayPhrase{day, end, numericOnly};
}

bool writesDayFirst(const QLocale &locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    return format.indexOf(u'd') < format.indexOf(u'M');
}

} // namespace

DayPhrases::DayPhrases(const Scanner &scan, QDate today, const QLocale &locale)
    : m_scan(scan), m_today(today), m_dayFirst(writesDayFirst(locale))
{
}

std::optional<DayPhrase> DayPhrases::dayAt(qsizetype i) const
{
    if (auto date = calendarDateAt(i))
        return date;
    const Word word = m_scan.word(i);
    if (word.is("today"_L1))
        return DayPhrase{m_today, word.end};
    if (word.is("tonight"_L1))
        return DayPhrase{m_today, word.end, false, false, DayPart::night};
    if (word.isAnyOf({"tomorrow"_L1, "tmrw"_L1, "tmr"_L1}))
        return DayPhrase{m_today.addDays(1), word.end};
    if (word.isAnyOf({"in"_L1, "within"_L1}))
        return relativeDayAt(m_scan.skipSpaces(word.end), false);
    if (word.isAnyOf({"this"_L1, "next"_L1, "last"_L1}))
        return modifiedDayAt(word);
    if (word.is("the"_L1))
        return theDayAt(word);
    if (auto named = namedDayAt(i))
        return named;
    if (auto weekday = weekdayPhraseAt(i))
        return weekday;
    return relativeDayAt(i, true);
}

std::optional<DayPhrase> DayPhrases::theDayAt(const Word &the) const
{
    const qsizetype next = m_scan.skipSpaces(the.end);
    if (next == the.end)
        return std::nullopt;
    if (auto date = calendarDateAt(next)) {
        date->needsCompany = false;
        return date;
    }
    if (const auto end = m_scan.words(next, {"weekend"_L1}))
        return DayPhrase{thisWeekend(), *end};
    return namedDayAt(next);
}

std::optional<DayPhrase> DayPhrases::namedDayAt(qsizetype i) const
{
    if (auto holiday = holidayAt(m_scan, i))
        return holiday;
    if (const auto end = m_scan.words(i, {"day"_L1, "after"_L1, "tomorrow"_L1}))
        return DayPhrase{m_today.addDays(2), *end};
    if (const auto end = endOfDayAt(i)) {
        // "eod friday", "end of day tomorrow"
        const auto link = m_scan.link(*end, {"on"_L1});
        if (const auto day = link ? dayAt(link->end) : std::nullopt)
            return endOfDayPhrase(day->day, day->end);
        return endOfDayPhrase(m_today, *end);
    }
    const auto period = endOfPeriodAt(i);
    if (period && period->is("week"_L1))
        return endOfDayPhrase(NamedWeekday{friday, NamedWeekday::Week::coming}, period->end);
    if (period && period->is("month"_L1))
        return endOfDayPhrase(QDate(m_today.year(), m_today.month(), m_today.daysInMonth()), period->end);
    return std::nullopt;
}

std::optional<qsizetype> DayPhrases::endOfDayAt(qsizetype i) const
{
    if (const auto end = m_scan.words(i, {"eod"_L1}))
        return end;
    const auto period = endOfPeriodAt(i);
    return period && period->is("day"_L1) ? std::optional(period->end) : std::nullopt;
}

std::optional<Word> DayPhrases::endOfPeriodAt(qsizetype i) const
{
    auto of = m_scan.words(i, {"end"_L1, "of"_L1});
    if (!of)
        return std::nullopt;
    if (const auto the = m_scan.words(m_scan.skipSpaces(*of), {"the"_L1}); the && m_scan.nextWord(*the).end > *the)
        of = the;
    const Word period = m_scan.nextWord(*of);
    return period.text.isEmpty() ? std::nullopt : std::optional(period);
}

std::optional<DayPhrase> DayPhrases::relativeDayAt(qsizetype i, bool fromNow) const
{
    const auto count = m_scan.count(i);
    const Word unit = count ? m_scan.nextWord(count->end) : Word{};
    const auto days = count ? lookUp(dayUnitWords, unit) : std::nullopt;
    if (!days)
        return std::nullopt;
    qsizetype end = unit.end;
    if (fromNow) {
        const Word from = m_scan.nextWord(end);
        const Word when = from.is("from"_L1) ? m_scan.nextWord(from.end) : Word{};
        if (!when.isAnyOf({"now"_L1, "today"_L1}))
            return std::nullopt;
        end = when.end;
    }
    const QDate day = *days == monthUnit ? m_today.addMonths(count->value) : m_today.addDays(qint64(*days) * count->value);
    return DayPhrase{day, end};
}

std::optional<DayPhrase> DayPhrases::modifiedDayAt(const Word &modifier) const
{
    const Word next = m_scan.nextWord(modifier.end);
    if (next.text.isEmpty())
        return std::nullopt;
    const bool isThis = modifier.is("this"_L1);
    const bool isNext = modifier.is("next"_L1);
    if (const auto weekday = weekdayAt(next.start())) {
        const auto week = isThis ? NamedWeekday::Week::coming
                          : isNext ? NamedWeekday::Week::next
                                   : NamedWeekday::Week::last;
        // "this sun" is more likely the sun than a Sunday; "next sun" is a day.
        return DayPhrase{NamedWeekday{weekday->first, week}, weekday->second, false, isThis && isCommonWord(next)};
    }
    if (isThis) {
        if (const auto part = dayPartAt(m_scan, next.start()))
            return DayPhrase{m_today, part->end, false, false, part->part};
        if (next.is("week"_L1))
            return endOfDayPhrase(NamedWeekday{friday, NamedWeekday::Week::coming}, next.end);
    }
    if (next.is("weekend"_L1) && (isThis || isNext))
        return DayPhrase{isThis ? thisWeekend() : thisWeekend().addDays(7), next.end};
    if (isNext && next.is("week"_L1))
        return DayPhrase{NamedWeekday{monday, NamedWeekday::Week::next}, next.end};
    if (isNext && next.is("month"_L1))
        return DayPhrase{QDate(m_today.year(), m_today.month(), 1).addMonths(1), next.end};
    return std::nullopt;
}

QDate DayPhrases::thisWeekend() const
{
    const int weekday = m_today.dayOfWeek();
    return weekday >= saturday ? m_today : m_today.addDays(saturday - weekday);
}

std::optional<DayPhrase> DayPhrases::weekdayPhraseAt(qsizetype i) const
{
    const auto weekday = weekdayAt(i);
    if (!weekday)
        return std::nullopt;
    if (const auto end = m_scan.words(m_scan.skipSpaces(weekday->second), {"next"_L1, "week"_L1});
        end && m_scan.skipSpaces(weekday->second) > weekday->second)
        return DayPhrase{NamedWeekday{weekday->first, NamedWeekday::Week::next}, *end};
    // "friday, dec 25": the date says more than its weekday.
    const auto link = m_scan.link(weekday->second, {});
    if (link && !link->byWord) {
        const Word the = m_scan.word(link->end);
        const qsizetype dateStart = the.is("the"_L1) ? m_scan.skipSpaces(the.end) : link->end;
        if (auto date = calendarDateAt(dateStart)) {
            date->numericOnly = date->needsCompany = false;
            return date;
        }
    }
    return DayPhrase{NamedWeekday{weekday->first, NamedWeekday::Week::coming}, weekday->second, false,
                     isCommonWord(m_scan.word(i))};
}

std::optional<std::pair<int, qsizetype>> DayPhrases::weekdayAt(qsizetype i) const
{
    return m_scan.name(weekdayWords, i);
}

std::optional<DayPhrase> DayPhrases::calendarDateAt(qsizetype i) const
{
    if (const auto month = m_scan.name(monthWords, i))
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

std::optional<DayPhrase> DayPhrases::isoDateAt(Number year) const
{
    const auto month = m_scan.number(year.end + 1);
    if (year.digits != 4 || !month || month->digits > 2 || m_scan.at(month->end) != u'-')
        return std::nullopt;
    const auto day = m_scan.number(month->end + 1);
    if (!day || day->digits > 2 || !m_scan.endsToken(day->end))
        return std::nullopt;
    return dayPhrase(CalendarDay{month->value, day->value, year.value}, day->end, true);
}

std::optional<DayPhrase> DayPhrases::numericDateAt(Number first) const
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
    const bool dayFirst = first.value > 12 || (second->value <= 12 && m_dayFirst);
    const CalendarDay day = dayFirst ? CalendarDay{second->value, first.value, year}
                                     : CalendarDay{first.value, second->value, year};
    return dayPhrase(day, end, true);
}

std::optional<DayPhrase> DayPhrases::dayFirstDateAt(Number day) const
{
    const auto dayEnd = ordinalEnd(day);
    if (!dayEnd)
        return std::nullopt;
    qsizetype next = m_scan.skipSpaces(*dayEnd);
    const Word of = m_scan.word(next);
    if (next > *dayEnd && of.is("of"_L1) && m_scan.skipSpaces(of.end) > of.end)
        next = m_scan.skipSpaces(of.end);
    const auto month = next > *dayEnd ? m_scan.name(monthWords, next) : std::nullopt;
    if (!month)
        return *dayEnd > day.end ? dayOfMonthAt(day.value, *dayEnd) : std::nullopt;
    return withYear(CalendarDay{month->first, day.value, std::nullopt}, month->second);
}

std::optional<DayPhrase> DayPhrases::dayOfMonthAt(int day, qsizetype end) const
{
    if (day < 1 || day > 31)
        return std::nullopt;
    const Word follower = m_scan.nextWord(end);
    if (!follower.text.isEmpty() && !isAmong(ordinalFollowers, follower))
        return std::nullopt;
    return DayPhrase{MonthDay{day}, end, false, true};
}

std::optional<DayPhrase> DayPhrases::monthFirstDateAt(int month, qsizetype monthEnd) const
{
    const qsizetype next = m_scan.skipSpaces(monthEnd);
    const auto day = next > monthEnd ? m_scan.number(next) : std::nullopt;
    const auto dayEnd = day ? ordinalEnd(*day) : std::nullopt;
    if (!dayEnd)
        return std::nullopt;
    return withYear(CalendarDay{month, day->value, std::nullopt}, *dayEnd);
}

std::optional<qsizetype> DayPhrases::ordinalEnd(Number day) const
{
    if (day.digits > 2)
        return std::nullopt;
    const Word suffix = m_scan.word(day.end);
    if (suffix.text.isEmpty())
        return m_scan.endsToken(day.end) ? std::optional(day.end) : std::nullopt;
    if (suffix.isAnyOf({"st"_L1, "nd"_L1, "rd"_L1, "th"_L1}))
        return suffix.end;
    return std::nullopt;
}

std::optional<DayPhrase> DayPhrases::withYear(CalendarDay day, qsizetype end) const
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

} // namespace DateDetector
