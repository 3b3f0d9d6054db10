#include "DateDetector.h"

#include "ClockTimes.h"
#include "DateResolver.h"
#include "DateScanner.h"
#include "DayAndTimeApart.h"
#include "DayParts.h"
#include "DayPhrases.h"

using namespace Qt::Literals::StringLiterals;

namespace DateDetector {

namespace {

struct Preposition {
    qsizetype end = 0;
    TimeRules rules;
};

// Seconds per unit of "in 2 hours" where it is no timer: not at the end of the line, or "in an hour".
constexpr std::array<Keyword, 8> clockUnitWords{{
    {"hour"_L1, 3600}, {"hours"_L1, 3600},  {"hr"_L1, 3600},  {"hrs"_L1, 3600},
    {"minute"_L1, 60}, {"minutes"_L1, 60},  {"min"_L1, 60},   {"mins"_L1, 60},
}};

// Puts the rules together into phrases: a day with its time, a time with its day, a part of the
// day, a moment from now.
class Detector {
public:
    Detector(QStringView text, Date now, const Calendar &calendar, const QLocale &locale)
        : m_scan(text), m_resolver(now, calendar, locale), m_days(m_scan, m_resolver.today(), locale)
    {
    }

    std::vector<DateMatch> all() const
    {
        std::vector<DateMatch> matches;
        for (const PlacedPhrase &placed : joinedApart(phrases())) {
            if (const auto date = m_resolver.resolve(placed.phrase))
                matches.push_back(DateMatch{placed.start, placed.phrase.end - placed.start, *date});
        }
        return matches;
    }

private:
    std::vector<PlacedPhrase> phrases() const
    {
        std::vector<PlacedPhrase> found;
        qsizetype i = 0;
        while (i < m_scan.size()) {
            if (m_scan.startsPhrase(i)) {
                if (auto placed = placedPhraseAt(i)) {
                    i = placed->phrase.end;
                    found.push_back(std::move(*placed));
                    continue;
                }
            }
            ++i;
        }
        return found;
    }

    std::optional<PlacedPhrase> placedPhraseAt(qsizetype start) const
    {
        const auto preposition = prepositionAt(start);
        const auto phrase = phraseAt(preposition ? preposition->end : start,
                                     preposition ? preposition->rules : TimeRules{});
        if (!phrase || (phrase->needsCompany && !preposition))
            return std::nullopt;
        // "by 1/2" is more often a fraction than a date: a numeric date keeps its preposition out,
        // so it stays the bare number it is.
        return PlacedPhrase{preposition && phrase->numericOnly ? preposition->end : start, *phrase};
    }

    // "monday meeting at 3pm": a day and the time after it as one phrase.
    std::vector<PlacedPhrase> joinedApart(const std::vector<PlacedPhrase> &phrases) const
    {
        std::vector<PlacedPhrase> joined;
        for (std::size_t k = 0; k < phrases.size(); ++k) {
            const auto both = k + 1 < phrases.size() ? dayAndTimeApart(m_scan, phrases[k], phrases[k + 1]) : std::nullopt;
            joined.push_back(both.value_or(phrases[k]));
            if (both)
                ++k;
        }
        return joined;
    }

    std::optional<Preposition> prepositionAt(qsizetype i) const
    {
        if (m_scan.at(i) == u'@')
            return Preposition{m_scan.skipSpaces(i + 1), {.bareHour = true, .fourDigits = true, .dotted = true}};
        const Word word = m_scan.word(i);
        const qsizetype next = m_scan.skipSpaces(word.end);
        if (next == word.end)
            return std::nullopt;
        if (word.is("on"_L1))
            return Preposition{next, {}};
        if (word.is("at"_L1))
            return Preposition{next, {.bareHour = true, .fourDigits = true, .dotted = true}};
        if (word.isAnyOf({"by"_L1, "before"_L1, "until"_L1, "till"_L1}))
            return Preposition{next, {.bareHour = true, .dotted = true}};
        return std::nullopt;
    }

    std::optional<Phrase> phraseAt(qsizetype i, TimeRules rules) const
    {
        if (auto later = laterAt(i))
            return later;
        if (const auto day = m_days.dayAt(i))
            return withTimeAfter(*day);
        if (const auto time = clockTimeAt(m_scan, i, rules); time && (!time->bare || rules.bareHour))
            return withDayAfter(*time);
        if (const auto part = partAloneAt(m_scan, i))
            return withTimeAfter(*part);
        return std::nullopt;
    }

    // "tomorrow", "tomorrow evening", "friday at 3pm", "friday evening at 7", "tomorrow at 8 in the evening"
    Phrase withTimeAfter(const DayPhrase &day) const
    {
        Phrase phrase{day.day, When{std::nullopt, day.part, day.endOfDay}, day.end, day.numericOnly,
                      day.needsCompany};
        if (phrase.when.part == DayPart::none) {
            if (const auto part = partAfter(m_scan, phrase.end)) {
                phrase.when.part = part->part;
                phrase.end = part->end;
                phrase.numericOnly = phrase.needsCompany = false;
            }
        }
        // "friday eod", "tomorrow end of day"
        const qsizetype next = m_scan.skipSpaces(phrase.end);
        if (const auto end = next > phrase.end ? m_days.endOfDayAt(next) : std::nullopt) {
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
        const auto link = m_scan.link(phrase.end, {"on"_L1});
        if (const auto day = link ? m_days.dayAt(link->end) : std::nullopt) {
            phrase.day = day->day;
            phrase.end = day->end;
        }
    }

    // "in 2 hours", "in an hour", "in half an hour", "within 45 minutes"
    std::optional<Phrase> laterAt(qsizetype i) const
    {
        const Word in = m_scan.word(i);
        const qsizetype next = m_scan.skipSpaces(in.end);
        if (!in.isAnyOf({"in"_L1, "within"_L1}) || next == in.end)
            return std::nullopt;
        if (const auto end = m_scan.words(next, {"half"_L1, "an"_L1, "hour"_L1}))
            return Phrase{std::nullopt, When{}, *end, false, false, 1800.0};
        const auto count = m_scan.count(next);
        const Word unit = count ? m_scan.nextWord(count->end) : Word{};
        const auto seconds = count ? lookUp(clockUnitWords, unit) : std::nullopt;
        if (!seconds)
            return std::nullopt;
        return Phrase{std::nullopt, When{}, unit.end, false, false, double(count->value) * *seconds};
    }

    void addTimeAfter(Phrase &phrase) const
    {
        const auto link = m_scan.link(phrase.end, {"at"_L1, "by"_L1});
        const TimeRules rules{.bareHour = link && link->byWord, .fourDigits = link && link->byWord, .dotted = true};
        const auto time = link ? clockTimeAt(m_scan, link->end, rules) : std::nullopt;
        if (!time)
            return;
        if (time->bare && !link->byWord)
            return;
        const auto part = phrase.when.part == DayPart::none ? partAfter(m_scan, time->end) : std::nullopt;
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
        if (const auto part = partAfter(m_scan, phrase.end)) {
            phrase.when.part = part->part;
            phrase.end = part->end;
        }
        const auto link = m_scan.link(phrase.end, {"on"_L1});
        if (const auto day = link ? m_days.dayAt(link->end) : std::nullopt) {
            phrase.day = day->day;
            phrase.end = day->end;
            if (phrase.when.part == DayPart::none)
                phrase.when.part = day->part;
            if (const auto part = phrase.when.part == DayPart::none ? partAfter(m_scan, phrase.end) : std::nullopt) {
                phrase.when.part = part->part;
                phrase.end = part->end;
            }
        }
        return phrase;
    }

    Scanner m_scan;
    DateResolver m_resolver;
    DayPhrases m_days;
};

} // namespace

std::vector<DateMatch> matches(QStringView text, Date now, const Calendar &calendar, const QLocale &locale)
{
    return Detector(text, now, calendar, locale).all();
}

} // namespace DateDetector
