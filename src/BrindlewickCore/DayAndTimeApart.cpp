#include "DayAndTimeApart.h"

using namespace Qt::Literals::StringLiterals;

namespace DateDetector {

namespace {

// Words that offer a choice or a next step: "tomorrow or 6pm", "friday then call at 5".
constexpr std::array<QLatin1StringView, 7> separatingWords{
    "or"_L1, "then"_L1, "but"_L1, "unless"_L1, "except"_L1, "instead"_L1, "otherwise"_L1,
};

bool endsClause(QChar c)
{
    switch (c.unicode()) {
    case u'.': case u';': case u':': case u'!': case u'?':
    case u'(': case u')': case u'[': case u']': case u'{': case u'}':
        return true;
    }
    return c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph
           || c == u'\n' || c == u'\r';
}

bool onlyOrdinaryWordsBetween(const Scanner &scan, qsizetype from, qsizetype to)
{
    qsizetype i = from;
    while (i < to) {
        const QChar c = scan.at(i);
        if (c.isNumber() || endsClause(c))
            return false;
        if (!c.isLetter()) {
            ++i;
            continue;
        }
        const Word word = scan.word(i);
        // Letters that run into a digit ("room5") count as a number.
        if (word.isEmpty() || isAmong(separatingWords, word))
            return false;
        i = word.end;
    }
    return true;
}

bool isDayAlone(const Phrase &phrase)
{
    if (!phrase.day || phrase.when.time || phrase.when.endOfDay || phrase.numericOnly)
        return false;
    const auto *weekday = std::get_if<NamedWeekday>(&*phrase.day);
    return !weekday || weekday->week != NamedWeekday::Week::last;
}

bool isTimeAlone(const Phrase &phrase)
{
    return !phrase.day && phrase.when.time && !phrase.later;
}

} // namespace

std::optional<PlacedPhrase> dayAndTimeApart(const Scanner &scan, const PlacedPhrase &day, const PlacedPhrase &time)
{
    if (!isDayAlone(day.phrase) || !isTimeAlone(time.phrase))
        return std::nullopt;
    const DayPart dayPart = day.phrase.when.part;
    const DayPart timePart = time.phrase.when.part;
    // "tomorrow morning ... at 8 in the evening" says two things.
    if (dayPart != DayPart::none && timePart != DayPart::none && dayPart != timePart)
        return std::nullopt;
    if (!onlyOrdinaryWordsBetween(scan, day.phrase.end, time.start))
        return std::nullopt;
    PlacedPhrase joined = day;
    joined.phrase.when.time = time.phrase.when.time;
    joined.phrase.when.part = dayPart != DayPart::none ? dayPart : timePart;
    joined.phrase.end = time.phrase.end;
    return joined;
}

} // namespace DateDetector
