#include "DateDetector.h"

#include "QuickDeadlines.h"
#include "TimeLocale.h"

#include <QLatin1StringView>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <optional>
#include <variant>

namespace {

constexpr int minutesPerDay = 24 * 60;
constexpr int halfDay = 12 * 60;
// "tonight at 1" is the small hours after the evening, not one in the afternoon.
constexpr int eveningStart = 17 * 60;
// On a 12-hour clock an hour without am/pm is not read as one in the night: "at 11" is not 23:00.
constexpr int nightStart = 22 * 60;
constexpr int nightEnd = 7 * 60;
// Minutes after midnight of the times a day named without one takes: the deadline picker's own.
constexpr int comingDayDefault = QuickDeadlines::morningHour * 60;
constexpr int endOfDayDefault = QuickDeadlines::endOfDayHour * 60;
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
constexpr int monday = 1;
constexpr int friday = 5;
constexpr int saturday = 6;

// Abbreviations that are also everyday words ("sat down", "the sun") count only with company:
// a preposition, "next"/"last"/"this", or a time.
constexpr std::array<QLatin1StringView, 3> commonWordWeekdays{
    QLatin1StringView("sat"), QLatin1StringView("sun"), QLatin1StringView("wed")};

enum class DayPart { none, morning, afternoon, evening, night };

constexpr std::array<Keyword, 4> dayPartWords{{
    {QLatin1StringView("morning"), int(DayPart::morning)},
    {QLatin1StringView("afternoon"), int(DayPart::afternoon)},
    {QLatin1StringView("evening"), int(DayPart::evening)},
    {QLatin1StringView("night"), int(DayPart::night)},
}};

constexpr std::array<Keyword, 14> countWords{{
    {QLatin1StringView("a"), 1},     {QLatin1StringView("an"), 1},     {QLatin1StringView("one"), 1},
    {QLatin1StringView("two"), 2},   {QLatin1StringView("three"), 3},  {QLatin1StringView("four"), 4},
    {QLatin1StringView("five"), 5},  {QLatin1StringView("six"), 6},    {QLatin1StringView("seven"), 7},
    {QLatin1StringView("eight"), 8}, {QLatin1StringView("nine"), 9},   {QLatin1StringView("ten"), 10},
    {QLatin1StringView("eleven"), 11}, {QLatin1StringView("twelve"), 12},
}};

// Days per unit; a month counts as 0 and is added as a calendar month.
constexpr int monthUnit = 0;
constexpr std::array<Keyword, 9> dayUnitWords{{
    {QLatin1StringView("day"), 1},   {QLatin1StringView("days"), 1},      {QLatin1StringView("week"), 7},
    {QLatin1StringView("wk"), 7},    {QLatin1StringView("wks"), 7},
    {QLatin1StringView("weeks"), 7}, {QLatin1StringView("fortnight"), 14}, {QLatin1StringView("month"), monthUnit},
    {QLatin1StringView("months"), monthUnit},
}};

// Seconds per unit of "in 2 hours" where it is no timer: not at the end of the line, or "in an hour".
constexpr std::array<Keyword, 8> clockUnitWords{{
    {QLatin1StringView("hour"), 3600},  {QLatin1StringView("hours"), 3600}, {QLatin1StringView("hr"), 3600},
    {QLatin1StringView("hrs"), 3600},   {QLatin1StringView("minute"), 60}, {QLatin1StringView("minutes"), 60},
    {QLatin1StringView("min"), 60},     {QLatin1StringView("mins"), 60},
}};

// What may follow "the 25th" when it is a day of the month rather than a rank ("the 2nd draft").
constexpr std::array<QLatin1StringView, 21> ordinalFollowers{
    QLatin1StringView("at"),      QLatin1StringView("by"),        QLatin1StringView("in"),
    QLatin1StringView("on"),      QLatin1StringView("for"),       QLatin1StringView("and"),
    QLatin1StringView("or"),      QLatin1StringView("to"),        QLatin1StringView("then"),
    QLatin1StringView("before"),  QLatin1StringView("after"),     QLatin1StringView("with"),
    QLatin1StringView("from"),    QLatin1StringView("until"),     QLatin1StringView("till"),
    QLatin1StringView("of"),      QLatin1StringView("morning"),   QLatin1StringView("afternoon"),
    QLatin1StringView("evening"), QLatin1StringView("night"),     QLatin1StringView("noon"),
};

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isNumberPunctuation(QChar c)
{
    return c == u'.' || c == u',' || c == u':' || c == u'/' || c == u'-';
}

// A run of letters as typed; compared without regard to case.
struct Word {
    QStringView text;
    qsizetype end = 0;

    qsizetype start() const { return end - text.size(); }

    bool is(QLatin1StringView word) const
    {
        return text.size() == word.size() && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool isAnyOf(std::initializer_list<const char *> words) const
    {
        return std::any_of(words.begin(), words.end(), [this](const char *word) { return is(QLatin1StringView(word)); });
    }
};

template <std::size_t N>
std::optional<int> lookUp(const std::array<Keyword, N> &table, const Word &word)
{
    for (const Keyword &keyword : table) {
        if (word.is(keyword.word))
            return keyword.value;
    }
    return std::nullopt;
}

template <std::size_t N>
bool isAmong(const std::array<QLatin1StringView, N> &words, const Word &word)
{
    return std::any_of(words.begin(), words.end(), [&word](QLatin1StringView w) { return word.is(w); });
}

// A time of day as written, in minutes after the start of the day it falls on; values past 24:00
// fall on the next day ("midnight" is 24:00). `ambiguous` marks an hour of 1 to 12 written without
// am/pm, which may mean either half of the day.
struct ClockTime {
    int minutes = 0;
    bool ambiguous = false;
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

// "the 25th": that day of this month, or of the next month that has it once it is past.
struct MonthDay {
    int day = 1;
};

using Day = std::variant<QDate, NamedWeekday, CalendarDay, MonthDay>;

// When in its day a phrase falls: a clock time, a part of the day, or the end of the working day.
struct When {
    std::optional<ClockTime> time;
    DayPart part = DayPart::none;
    bool endOfDay = false;
};

struct DayPhrase {
    Day day;
    qsizetype end = 0;
    bool numericOnly = false;
    // A phrase that is an ordinary word as often as a date: it counts only after a preposition.
    bool needsCompany = false;
    DayPart part = DayPart::none;
    bool endOfDay = false;
};

struct TimePhrase {
    ClockTime time;
    qsizetype end = 0;
    // A lone hour ("9"): a time only after a word such as "at".
    bool bare = false;
};

struct PartPhrase {
    DayPart part = DayPart::none;
    qsizetype end = 0;
    bool needsCompany = false;
};

struct Phrase {
    std::optional<Day> day;
    When when;
    qsizetype end = 0;
    bool numericOnly = false;
    bool needsCompany = false;
    // "in 2 hours": seconds from now, instead of a day and a time.
    std::optional<double> later = std::nullopt;
};

struct Number {
    int value = 0;
    int digits = 0;
    qsizetype end = 0;
};

struct Link {
    qsizetype end = 0;
    bool byWord = false;
};

// What a leading word lets through: a lone hour after "at" or "by", four digits only after "at".
struct TimeRules {
    bool bareHour = false;
    bool fourDigits = false;
};

struct Preposition {
    qsizetype end = 0;
    TimeRules rules;
};

using Readings = QVarLengthArray<int, 2>;

bool isNight(int minutes)
{
    const int time = minutes % minutesPerDay;
    return time >= nightStart || time < nightEnd;
}

int partMinutes(DayPart part)
{
    switch (part) {
    case DayPart::morning: return comingDayDefault;
    case DayPart::afternoon: return 15 * 60;
    case DayPart::evening: return 18 * 60;
    case DayPart::night: return QuickDeadlines::tonightHour * 60;
    case DayPart::none: break;
    }
    return endOfDayDefault;
}

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

    // The letters from `i` on; empty when a digit runs on from them ("tomorrow5pm").
    Word word(qsizetype i) const
    {
        qsizetype end = i;
        while (end < size() && at(end).isLetter())
            ++end;
        if (at(end).isNumber())
            return Word{QStringView(), i};
        return Word{m_text.mid(i, end - i), end};
    }

    // The word after the spaces that follow `i`; empty when no space separates them.
    Word nextWord(qsizetype i) const
    {
        const qsizetype next = skipSpaces(i);
        return next > i ? word(next) : Word{QStringView(), i};
    }

    // Where the given words end when they follow one another from `i`, one or more spaces apart.
    std::optional<qsizetype> words(qsizetype i, std::initializer_list<const char *> expected) const
    {
        qsizetype end = i;
        for (const char *text : expected) {
            const Word found = end == i ? word(end) : nextWord(end);
            if (!found.is(QLatin1StringView(text)))
                return std::nullopt;
            end = found.end;
        }
        return end;
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
        : m_scan(text), m_now(now), m_calendar(calendar), m_locale(locale), m_today(calendar.day(now)),
          m_twelveHourClock(TimeLocale::usesTwelveHourClock(locale))
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
                                     preposition ? preposition->rules : TimeRules{});
        if (!phrase || (phrase->needsCompany && !preposition))
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
            return Preposition{m_scan.skipSpaces(i + 1), {true, true}};
        const Word word = m_scan.word(i);
        const qsizetype next = m_scan.skipSpaces(word.end);
        if (next == word.end)
            return std::nullopt;
        if (word.is(QLatin1StringView("on")))
            return Preposition{next, {}};
        if (word.is(QLatin1StringView("at")))
            return Preposition{next, {true, true}};
        if (word.isAnyOf({"by", "before", "until", "till"}))
            return Preposition{next, {true, false}};
        return std::nullopt;
    }

    std::optional<Phrase> phraseAt(qsizetype i, TimeRules rules) const
    {
        if (auto later = laterAt(i))
            return later;
        if (const auto day = dayAt(i))
            return withTimeAfter(*day);
        if (const auto time = timeAt(i, rules); time && (!time->bare || rules.bareHour))
            return withDayAfter(*time);
        if (const auto part = partAt(i))
            return withTimeAfter(*part);
        return std::nullopt;
    }

    // "tomorrow", "tomorrow evening", "friday at 3pm", "friday evening at 7", "tomorrow at 8 in the evening"
    Phrase withTimeAfter(const DayPhrase &day) const
    {
        Phrase phrase{day.day, When{std::nullopt, day.part, day.endOfDay}, day.end, day.numericOnly,
                      day.needsCompany};
        if (phrase.when.part == DayPart::none) {
            if (const auto part = partAfter(phrase.end)) {
                phrase.when.part = part->part;
                phrase.end = part->end;
                phrase.numericOnly = phrase.needsCompany = false;
            }
        }
        // "friday eod", "tomorrow end of day"
        const qsizetype next = m_scan.skipSpaces(phrase.end);
        if (const auto end = next > phrase.end ? endOfDayAt(next) : std::nullopt) {
            phrase.when.endOfDay = true;
            phrase.end = *end;
            phrase.numericOnly = phrase.needsCompany = false;
        }
        addTimeAfter(phrase);
        return phrase;
    }

    // "in the morning", "evening at 7", "in the afternoon tomorrow"
    Phrase withTimeAfter(const PartPhrase &part) const
    {
        Phrase phrase{std::nullopt, When{std::nullopt, part.part, false}, part.end, false, part.needsCompany};
        addTimeAfter(phrase);
        addDayAfter(phrase);
        return phrase;
    }

    void addDayAfter(Phrase &phrase) const
    {
        const auto link = linkAfter(phrase.end, {"on"});
        if (const auto day = link ? dayAt(link->end) : std::nullopt) {
            phrase.day = day->day;
            phrase.end = day->end;
        }
    }

    // "in 2 hours", "in an hour", "in half an hour", "within 45 minutes"
    std::optional<Phrase> laterAt(qsizetype i) const
    {
        const Word in = m_scan.word(i);
        const qsizetype next = m_scan.skipSpaces(in.end);
        if (!in.isAnyOf({"in", "within"}) || next == in.end)
            return std::nullopt;
        if (const auto end = m_scan.words(next, {"half", "an", "hour"}))
            return Phrase{std::nullopt, When{}, *end, false, false, 1800.0};
        const auto count = countAt(next);
        const Word unit = count ? m_scan.nextWord(count->end) : Word{};
        const auto seconds = count ? lookUp(clockUnitWords, unit) : std::nullopt;
        if (!seconds)
            return std::nullopt;
        return Phrase{std::nullopt, When{}, unit.end, false, false, double(count->value) * *seconds};
    }

    void addTimeAfter(Phrase &phrase) const
    {
        const auto link = linkAfter(phrase.end, {"at", "by"});
        const auto time = link ? timeAt(link->end, TimeRules{link->byWord, link->byWord}) : std::nullopt;
        if (!time)
            return;
        if (time->bare && !link->byWord)
            return;
        const auto part = phrase.when.part == DayPart::none ? partAfter(time->end) : std::nullopt;
        phrase.when.time = time->time;
        phrase.end = time->end;
        if (part) {
            phrase.when.part = part->part;
            phrase.end = part->end;
        }
        phrase.numericOnly = phrase.needsCompany = false;
    }

    // "5pm", "at 8 in the morning", "5pm tomorrow", "at 3pm on friday", "at 7 tonight"
    Phrase withDayAfter(const TimePhrase &time) const
    {
        Phrase phrase{std::nullopt, When{time.time}, time.end};
        if (const auto part = partAfter(phrase.end)) {
            phrase.when.part = part->part;
            phrase.end = part->end;
        }
        const auto link = linkAfter(phrase.end, {"on"});
        if (const auto day = link ? dayAt(link->end) : std::nullopt) {
            phrase.day = day->day;
            phrase.end = day->end;
            if (phrase.when.part == DayPart::none)
                phrase.when.part = day->part;
            if (const auto part = phrase.when.part == DayPart::none ? partAfter(phrase.end) : std::nullopt) {
                phrase.when.part = part->part;
                phrase.end = part->end;
            }
        }
        return phrase;
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
        if (next > word.end && word.isAnyOf(words))
            return Link{next, true};
        return Link{end, false};
    }

    std::optional<TimePhrase> timeAt(qsizetype i, TimeRules rules) const
    {
        const Word word = m_scan.word(i);
        if (word.isAnyOf({"noon", "midday"}))
            return TimePhrase{{halfDay, false}, word.end};
        if (word.is(QLatin1StringView("midnight")))
            return TimePhrase{{minutesPerDay, false}, word.end};
        const auto hour = m_scan.number(i);
        if (!hour)
            return std::nullopt;
        if (hour->digits > 2)
            return runTogetherTimeAt(*hour, rules.fourDigits);
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
        if (const auto half = m_scan.meridiem(m_scan.skipSpaces(end)))
            return withMeridiem(hour->value, minute.value_or(0), *half);
        // Without am/pm, "5.30" is a number.
        const bool clockLike = minute && separator == u':';
        if (!m_scan.endsToken(end) || (minute && !clockLike))
            return std::nullopt;
        if (hour->value > 23 || (!minute && hour->value == 0))
            return std::nullopt;
        const bool zeroPadded = hour->digits == 2 && hour->value < 10;
        const bool ambiguous = hour->value >= 1 && hour->value <= 12 && !zeroPadded;
        return TimePhrase{{hour->value * 60 + minute.value_or(0), ambiguous}, end, !minute};
    }

    static std::optional<TimePhrase> withMeridiem(int hour, int minute, std::pair<bool, qsizetype> half)
    {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        const int hours = hour % 12 + (half.first ? 12 : 0);
        return TimePhrase{{hours * 60 + minute, false}, half.second};
    }

    // "930am", and "1730" after "at": hours and minutes written without a colon.
    std::optional<TimePhrase> runTogetherTimeAt(Number digits, bool fourDigitsAllowed) const
    {
        const int hour = digits.value / 100;
        const int minute = digits.value % 100;
        if (minute >= 60)
            return std::nullopt;
        if (const auto half = m_scan.meridiem(m_scan.skipSpaces(digits.end)))
            return withMeridiem(hour, minute, *half);
        // "at 1730" and "at 0930" are 24-hour times; "at 930" is more often a count than a time.
        if (!fourDigitsAllowed || digits.digits != 4 || !m_scan.endsToken(digits.end) || hour > 23)
            return std::nullopt;
        return TimePhrase{{hour * 60 + minute, false}, digits.end};
    }

    // A part of the day on its own: "in the morning", or "evening" and "the evening" after a preposition.
    std::optional<PartPhrase> partAt(qsizetype i) const
    {
        if (const auto lead = m_scan.words(i, {"in", "the"})) {
            const auto part = dayPartAt(m_scan.skipSpaces(*lead));
            return part && m_scan.skipSpaces(*lead) > *lead ? part : std::nullopt;
        }
        const Word word = m_scan.word(i);
        const qsizetype next = word.is(QLatin1StringView("the")) ? m_scan.skipSpaces(word.end) : i;
        if (next == word.end)
            return std::nullopt;
        auto part = dayPartAt(next);
        if (part)
            part->needsCompany = true;
        return part;
    }

    // A part of the day after a day or a time: "evening", "in the evening", "at night", "this evening".
    std::optional<PartPhrase> partAfter(qsizetype i) const
    {
        const qsizetype next = m_scan.skipSpaces(i);
        if (next == i)
            return std::nullopt;
        if (const auto part = dayPartAt(next))
            return part;
        for (const auto &lead : {std::initializer_list<const char *>{"in", "the"}, {"at"}, {"this"}}) {
            const auto end = m_scan.words(next, lead);
            const qsizetype partStart = end ? m_scan.skipSpaces(*end) : next;
            if (end && partStart > *end)
                return dayPartAt(partStart);
        }
        return std::nullopt;
    }

    std::optional<PartPhrase> dayPartAt(qsizetype i) const
    {
        const Word word = m_scan.word(i);
        const auto part = lookUp(dayPartWords, word);
        if (!part)
            return std::nullopt;
        return PartPhrase{DayPart(*part), word.end};
    }

    std::optional<DayPhrase> dayAt(qsizetype i) const
    {
        if (auto date = calendarDateAt(i))
            return date;
        const Word word = m_scan.word(i);
        if (word.is(QLatin1StringView("today")))
            return DayPhrase{m_today, word.end};
        if (word.is(QLatin1StringView("tonight")))
            return DayPhrase{m_today, word.end, false, false, DayPart::night};
        if (word.isAnyOf({"tomorrow", "tmrw", "tmr"}))
            return DayPhrase{m_today.addDays(1), word.end};
        if (word.isAnyOf({"in", "within"}))
            return relativeDayAt(m_scan.skipSpaces(word.end), false);
        if (word.isAnyOf({"this", "next", "last"}))
            return modifiedDayAt(word);
        if (word.is(QLatin1StringView("the")))
            return theDayAt(word);
        if (auto named = namedDayAt(i))
            return named;
        if (auto weekday = weekdayPhraseAt(i))
            return weekday;
        return relativeDayAt(i, true);
    }

    // "the 25th", "the 25th of December", "the weekend", "the day after tomorrow", "the end of the week"
    std::optional<DayPhrase> theDayAt(const Word &the) const
    {
        const qsizetype next = m_scan.skipSpaces(the.end);
        if (next == the.end)
            return std::nullopt;
        if (auto date = calendarDateAt(next)) {
            date->needsCompany = false;
            return date;
        }
        if (const auto end = m_scan.words(next, {"weekend"}))
            return DayPhrase{thisWeekend(), *end};
        return namedDayAt(next);
    }

    // Fixed phrases: "day after tomorrow", "end of (the) day/week/month", "eod".
    std::optional<DayPhrase> namedDayAt(qsizetype i) const
    {
        if (const auto end = m_scan.words(i, {"day", "after", "tomorrow"}))
            return DayPhrase{m_today.addDays(2), *end};
        if (const auto end = endOfDayAt(i)) {
            // "eod friday", "end of day tomorrow"
            const auto link = linkAfter(*end, {"on"});
            if (const auto day = link ? dayAt(link->end) : std::nullopt)
                return endOfDayPhrase(day->day, day->end);
            return endOfDayPhrase(m_today, *end);
        }
        const auto period = endOfPeriodAt(i);
        if (period && period->is(QLatin1StringView("week")))
            return endOfDayPhrase(NamedWeekday{friday, NamedWeekday::Week::coming}, period->end);
        if (period && period->is(QLatin1StringView("month")))
            return endOfDayPhrase(QDate(m_today.year(), m_today.month(), m_today.daysInMonth()), period->end);
        return std::nullopt;
    }

    // "eod", "end of day", "end of the day"
    std::optional<qsizetype> endOfDayAt(qsizetype i) const
    {
        if (const auto end = m_scan.words(i, {"eod"}))
            return end;
        const auto period = endOfPeriodAt(i);
        return period && period->is(QLatin1StringView("day")) ? std::optional(period->end) : std::nullopt;
    }

    // The word after "end of" or "end of the".
    std::optional<Word> endOfPeriodAt(qsizetype i) const
    {
        auto of = m_scan.words(i, {"end", "of"});
        if (!of)
            return std::nullopt;
        if (const auto the = m_scan.words(m_scan.skipSpaces(*of), {"the"}); the && m_scan.nextWord(*the).end > *the)
            of = the;
        const Word period = m_scan.nextWord(*of);
        return period.text.isEmpty() ? std::nullopt : std::optional(period);
    }

    static DayPhrase endOfDayPhrase(Day day, qsizetype end)
    {
        DayPhrase phrase{day, end};
        phrase.endOfDay = true;
        return phrase;
    }

    // "in 3 days", "within two weeks", "in a month"; with `fromNow`, "3 days from now" and "a week from today".
    std::optional<DayPhrase> relativeDayAt(qsizetype i, bool fromNow) const
    {
        const auto count = countAt(i);
        const Word unit = count ? m_scan.nextWord(count->end) : Word{};
        const auto days = count ? lookUp(dayUnitWords, unit) : std::nullopt;
        if (!days)
            return std::nullopt;
        qsizetype end = unit.end;
        if (fromNow) {
            const Word from = m_scan.nextWord(end);
            const Word when = from.is(QLatin1StringView("from")) ? m_scan.nextWord(from.end) : Word{};
            if (!when.isAnyOf({"now", "today"}))
                return std::nullopt;
            end = when.end;
        }
        const QDate day = *days == monthUnit ? m_today.addMonths(count->value) : m_today.addDays(qint64(*days) * count->value);
        return DayPhrase{day, end};
    }

    // A number of units, in digits or words: "3", "three", "a", "a couple of".
    std::optional<Number> countAt(qsizetype i) const
    {
        if (const auto digits = m_scan.number(i))
            return digits->value > 0 && m_scan.endsToken(digits->end) ? digits : std::nullopt;
        if (const auto end = m_scan.words(i, {"a", "couple", "of"}))
            return Number{2, 0, *end};
        const Word word = m_scan.word(i);
        const auto value = lookUp(countWords, word);
        return value ? std::optional(Number{*value, 0, word.end}) : std::nullopt;
    }

    // "this friday", "next friday", "last monday", "this evening", "this/next weekend", "next week",
    // "this week" (its end), "next month" (its first day).
    std::optional<DayPhrase> modifiedDayAt(const Word &modifier) const
    {
        const Word next = m_scan.nextWord(modifier.end);
        if (next.text.isEmpty())
            return std::nullopt;
        const bool isThis = modifier.is(QLatin1StringView("this"));
        const bool isNext = modifier.is(QLatin1StringView("next"));
        if (const auto weekday = weekdayAt(next.start())) {
            const auto week = isThis ? NamedWeekday::Week::coming
                              : isNext ? NamedWeekday::Week::next
                                       : NamedWeekday::Week::last;
            // "this sun" is more likely the sun than a Sunday; "next sun" is a day.
            return DayPhrase{NamedWeekday{weekday->first, week}, weekday->second, false, isThis && isCommonWord(next)};
        }
        if (isThis) {
            if (const auto part = lookUp(dayPartWords, next))
                return DayPhrase{m_today, next.end, false, false, DayPart(*part)};
            if (next.is(QLatin1StringView("week")))
                return endOfDayPhrase(NamedWeekday{friday, NamedWeekday::Week::coming}, next.end);
        }
        if (next.is(QLatin1StringView("weekend")) && (isThis || isNext))
            return DayPhrase{isThis ? thisWeekend() : thisWeekend().addDays(7), next.end};
        if (isNext && next.is(QLatin1StringView("week")))
            return DayPhrase{NamedWeekday{monday, NamedWeekday::Week::next}, next.end};
        if (isNext && next.is(QLatin1StringView("month")))
            return DayPhrase{QDate(m_today.year(), m_today.month(), 1).addMonths(1), next.end};
        return std::nullopt;
    }

    // Saturday of this weekend, or today while the weekend is on.
    QDate thisWeekend() const
    {
        const int weekday = m_today.dayOfWeek();
        return weekday >= saturday ? m_today : m_today.addDays(saturday - weekday);
    }

    // "friday", "fri.", "monday next week", "friday, dec 25", "friday the 25th"
    std::optional<DayPhrase> weekdayPhraseAt(qsizetype i) const
    {
        const auto weekday = weekdayAt(i);
        if (!weekday)
            return std::nullopt;
        if (const auto end = m_scan.words(m_scan.skipSpaces(weekday->second), {"next", "week"});
            end && m_scan.skipSpaces(weekday->second) > weekday->second)
            return DayPhrase{NamedWeekday{weekday->first, NamedWeekday::Week::next}, *end};
        // "friday, dec 25": the date says more than its weekday.
        const auto link = linkAfter(weekday->second, {});
        if (link && !link->byWord) {
            const Word the = m_scan.word(link->end);
            const qsizetype dateStart = the.is(QLatin1StringView("the")) ? m_scan.skipSpaces(the.end) : link->end;
            if (auto date = calendarDateAt(dateStart)) {
                date->numericOnly = date->needsCompany = false;
                return date;
            }
        }
        return DayPhrase{NamedWeekday{weekday->first, NamedWeekday::Week::coming}, weekday->second, false,
                         isCommonWord(m_scan.word(i))};
    }

    static bool isCommonWord(const Word &word) { return isAmong(commonWordWeekdays, word); }

    // The weekday a name or abbreviation ("fri", "Fri.") spells, and where it ends.
    std::optional<std::pair<int, qsizetype>> weekdayAt(qsizetype i) const
    {
        return nameAt(weekdayWords, i);
    }

    template <std::size_t N>
    std::optional<std::pair<int, qsizetype>> nameAt(const std::array<Keyword, N> &table, qsizetype i) const
    {
        const Word word = m_scan.word(i);
        const auto value = lookUp(table, word);
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

    // "25 December", "25th of Dec 2027", and "25th" alone as a day of the month
    std::optional<DayPhrase> dayFirstDateAt(Number day) const
    {
        const auto dayEnd = ordinalEnd(day);
        if (!dayEnd)
            return std::nullopt;
        qsizetype next = m_scan.skipSpaces(*dayEnd);
        const Word of = m_scan.word(next);
        if (next > *dayEnd && of.is(QLatin1StringView("of")) && m_scan.skipSpaces(of.end) > of.end)
            next = m_scan.skipSpaces(of.end);
        const auto month = next > *dayEnd ? nameAt(monthWords, next) : std::nullopt;
        if (!month)
            return *dayEnd > day.end ? dayOfMonthAt(day.value, *dayEnd) : std::nullopt;
        return withYear(CalendarDay{month->first, day.value, std::nullopt}, month->second);
    }

    // "25th" on its own names a day of the month, unless a word follows that makes it a rank.
    std::optional<DayPhrase> dayOfMonthAt(int day, qsizetype end) const
    {
        if (day < 1 || day > 31)
            return std::nullopt;
        const Word follower = m_scan.nextWord(end);
        if (!follower.text.isEmpty() && !isAmong(ordinalFollowers, follower))
            return std::nullopt;
        return DayPhrase{MonthDay{day}, end, false, true};
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
        if (suffix.text.isEmpty())
            return m_scan.endsToken(day.end) ? std::optional(day.end) : std::nullopt;
        if (suffix.isAnyOf({"st", "nd", "rd", "th"}))
            return suffix.end;
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
        if (phrase.later)
            return m_now + *phrase.later;
        if (!phrase.day)
            return withoutDay(phrase.when);
        if (const auto *day = std::get_if<QDate>(&*phrase.day))
            return onDay(*day, phrase.when);
        if (const auto *weekday = std::get_if<NamedWeekday>(&*phrase.day))
            return onWeekday(*weekday, phrase.when);
        if (const auto *monthDay = std::get_if<MonthDay>(&*phrase.day)) {
            const auto day = nextDayOfMonth(monthDay->day);
            return day ? onDay(*day, phrase.when) : std::nullopt;
        }
        const auto day = dayOf(std::get<CalendarDay>(*phrase.day));
        return day ? onDay(*day, phrase.when) : std::nullopt;
    }

    // A time alone is today's reading, even when it has just passed: the caller moves it a day on.
    // An hour that may be either half of the day, on a 12-hour clock, is the first daytime
    // reading still ahead ("at 8" typed at 14:00 is 20:00; "10:30" is 10:30 tomorrow).
    std::optional<Date> withoutDay(const When &when) const
    {
        if (!when.time)
            return partOfDay(m_today, when.part);
        const Readings readings = readingsOf(*when.time, when.part);
        if (!choosesHalfOfDay(*when.time, when.part))
            return moment(m_today, readings.front());
        Readings daytime;
        std::copy_if(readings.begin(), readings.end(), std::back_inserter(daytime), [](int r) { return !isNight(r); });
        if (const auto ahead = firstAhead(m_today, daytime))
            return ahead;
        return moment(m_today.addDays(1), daytime.front());
    }

    std::optional<Date> onDay(QDate day, const When &when) const
    {
        if (!when.time)
            return when.part == DayPart::none ? untimed(day, when.endOfDay) : partOfDay(day, when.part);
        const Readings readings = readingsOf(*when.time, when.part);
        if (const auto ahead = firstAhead(day, readings))
            return ahead;
        return moment(day, readings.front());
    }

    std::optional<Date> onWeekday(NamedWeekday named, const When &when) const
    {
        const int today = m_today.dayOfWeek();
        switch (named.week) {
        case NamedWeekday::Week::coming:
            for (const int week : {0, 7}) {
                const QDate day = m_today.addDays((named.weekday - today + 7) % 7 + week);
                const auto date = onDay(day, when);
                if (date && *date > m_now)
                    return date;
            }
            return std::nullopt;
        case NamedWeekday::Week::next: {
            const int first = m_locale.firstDayOfWeek();
            const QDate weekStart = m_today.addDays(-((today - first + 7) % 7));
            return onDay(weekStart.addDays(7 + (named.weekday - first + 7) % 7), when);
        }
        case NamedWeekday::Week::last: {
            const int back = (today - named.weekday + 7) % 7;
            return onDay(m_today.addDays(-(back == 0 ? 7 : back)), when);
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

    // The day of this month, or of the first month after it that has such a day.
    std::optional<QDate> nextDayOfMonth(int dayOfMonth) const
    {
        const QDate firstOfMonth(m_today.year(), m_today.month(), 1);
        for (int months = 0; months <= 2; ++months) {
            const QDate month = firstOfMonth.addMonths(months);
            const QDate date(month.year(), month.month(), dayOfMonth);
            if (date.isValid() && date >= m_today)
                return date;
        }
        return std::nullopt;
    }

    // A day without a time: today's end of the working day (or, once that has passed, the day's last
    // minute), another day's morning, or the end of the working day when the phrase names it.
    std::optional<Date> untimed(QDate day, bool endOfDay) const
    {
        if (day != m_today)
            return moment(day, endOfDay ? endOfDayDefault : comingDayDefault);
        return endingToday(endOfDayDefault);
    }

    // The evening and the night last until the end of today; a morning that has gone has gone.
    std::optional<Date> partOfDay(QDate day, DayPart part) const
    {
        const int minutes = partMinutes(part);
        if (day == m_today && (part == DayPart::evening || part == DayPart::night))
            return endingToday(minutes);
        return moment(day, minutes);
    }

    std::optional<Date> endingToday(int minutes) const
    {
        const auto preferred = moment(m_today, minutes);
        if (preferred && *preferred > m_now)
            return preferred;
        return moment(m_today, lastMinuteOfDay);
    }

    // Whether the hour, written without am/pm and without a part of the day, needs the 12-hour
    // clock's choice between its two readings; on a 24-hour clock it is read as written.
    bool choosesHalfOfDay(ClockTime time, DayPart part) const
    {
        return time.ambiguous && part == DayPart::none && m_twelveHourClock;
    }

    // The readings of a time in the order they are tried; on a 12-hour clock daytime ones come first.
    Readings readingsOf(ClockTime time, DayPart part) const
    {
        if (!time.ambiguous)
            return {time.minutes};
        const int morning = time.minutes % halfDay;
        const int afternoon = morning + halfDay;
        switch (part) {
        case DayPart::morning: return {morning};
        case DayPart::afternoon: return {afternoon};
        case DayPart::evening:
        case DayPart::night: return {afternoon < eveningStart ? morning + minutesPerDay : afternoon};
        case DayPart::none: break;
        }
        if (!m_twelveHourClock)
            return {time.minutes};
        if (isNight(morning))
            return {afternoon, morning};
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
    bool m_twelveHourClock;
};

} // namespace

std::vector<DateMatch> DateDetector::matches(QStringView text, Date now, const Calendar &calendar,
                                             const QLocale &locale)
{
    return Detector(text, now, calendar, locale).all();
}
