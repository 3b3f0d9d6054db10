#include "DateScanner.h"

using namespace Qt::Literals::StringLiterals;

namespace DateDetector {

namespace {

constexpr std::array<Keyword, 12> numberWords{{
    {"one"_L1, 1},   {"two"_L1, 2},   {"three"_L1, 3},  {"four"_L1, 4},    {"five"_L1, 5},  {"six"_L1, 6},
    {"seven"_L1, 7}, {"eight"_L1, 8}, {"nine"_L1, 9},   {"ten"_L1, 10},    {"eleven"_L1, 11}, {"twelve"_L1, 12},
}};

bool isNumberPunctuation(QChar c)
{
    return c == u'.' || c == u',' || c == u':' || c == u'/' || c == u'-';
}

} // namespace

Scanner::Scanner(QStringView text) : m_text(text), m_letterRunEnds(text.size())
{
    qsizetype end = text.size();
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (!text[i].isLetter())
            end = i;
        m_letterRunEnds[i] = end;
    }
}

bool Scanner::startsPhrase(qsizetype i) const
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

bool Scanner::endsToken(qsizetype i) const
{
    const QChar c = at(i);
    if (c.isLetterOrNumber())
        return false;
    return !(isNumberPunctuation(c) && isAsciiDigit(at(i + 1)));
}

std::optional<qsizetype> Scanner::words(qsizetype i, std::initializer_list<QLatin1StringView> expected) const
{
    qsizetype end = i;
    for (const QLatin1StringView text : expected) {
        const Word found = end == i ? word(end) : nextWord(end);
        if (!found.is(text))
            return std::nullopt;
        end = found.end;
    }
    return end;
}

std::optional<Number> Scanner::number(qsizetype i) const
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

std::optional<Number> Scanner::numberWord(qsizetype i) const
{
    const Word found = word(i);
    const auto value = lookUp(numberWords, found);
    return value ? std::optional(Number{*value, 0, found.end}) : std::nullopt;
}

std::optional<Number> Scanner::count(qsizetype i) const
{
    if (const auto digits = number(i))
        return digits->value > 0 && endsToken(digits->end) ? digits : std::nullopt;
    if (const auto end = words(i, {"a"_L1, "couple"_L1, "of"_L1}))
        return Number{2, 0, *end};
    if (const Word article = word(i); article.isAnyOf({"a"_L1, "an"_L1}))
        return Number{1, 0, article.end};
    return numberWord(i);
}

std::optional<std::pair<bool, qsizetype>> Scanner::meridiem(qsizetype i) const
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

std::optional<Link> Scanner::link(qsizetype i, std::initializer_list<QLatin1StringView> words) const
{
    qsizetype end = skipSpaces(i);
    if (at(end) == u',')
        end = skipSpaces(end + 1);
    if (end == i)
        return std::nullopt;
    if (at(end) == u'@')
        return Link{skipSpaces(end + 1), true};
    const Word found = word(end);
    const qsizetype next = skipSpaces(found.end);
    if (next > found.end && found.isAnyOf(words))
        return Link{next, true};
    return Link{end, false};
}

} // namespace DateDetector
