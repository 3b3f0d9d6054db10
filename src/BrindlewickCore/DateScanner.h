#pragma once

#include <QLatin1StringView>
#include <QStringView>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>
#include <utility>

// The date detector's reading of a text by characters, words and numbers; positions are UTF-16
// indexes, as QString counts them.
namespace DateDetector {

inline bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A word of a table, in lower case, and what it stands for.
struct Keyword {
    QLatin1StringView word;
    int value;
};

// A run of letters as typed; compared without regard to case with the lower-case words of the tables.
struct Word {
    QStringView text;
    qsizetype end = 0;

    qsizetype start() const { return end - text.size(); }
    bool isEmpty() const { return text.isEmpty(); }

    // Folding ASCII case is enough: every word the rules know is plain English.
    bool is(QLatin1StringView word) const
    {
        if (text.size() != word.size())
            return false;
        for (qsizetype k = 0; k < word.size(); ++k) {
            if ((text[k].unicode() | 0x20) != word[k].unicode())
                return false;
        }
        return true;
    }
    bool isAnyOf(std::initializer_list<QLatin1StringView> words) const
    {
        return std::any_of(words.begin(), words.end(), [this](QLatin1StringView word) { return is(word); });
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

struct Number {
    int value = 0;
    int digits = 0;
    qsizetype end = 0;
};

// What stands between a day and its time: spaces, a comma, perhaps a linking word ("at", "@").
struct Link {
    qsizetype end = 0;
    bool byWord = false;
};

class Scanner {
public:
    explicit Scanner(QStringView text);

    qsizetype size() const { return m_text.size(); }
    QChar at(qsizetype i) const { return i < m_text.size() ? m_text[i] : QChar(); }
    QStringView text() const { return m_text; }

    // Where a phrase may begin: a letter, digit or "@" that does not continue a word or a number.
    bool startsPhrase(qsizetype i) const;
    // True when nothing at `i` continues the word or number that ended there.
    bool endsToken(qsizetype i) const;
    qsizetype skipSpaces(qsizetype i) const
    {
        while (i < size() && at(i).isSpace())
            ++i;
        return i;
    }

    // The letters from `i` on; empty when a digit runs on from them ("tomorrow5pm").
    Word word(qsizetype i) const
    {
        const qsizetype end = i < size() ? m_letterRunEnds[i] : i;
        if (at(end).isNumber())
            return Word{QStringView(), i};
        return Word{m_text.sliced(i, end - i), end};
    }

    // The word after the spaces that follow `i`; empty when no space separates them.
    Word nextWord(qsizetype i) const
    {
        const qsizetype next = skipSpaces(i);
        return next > i ? word(next) : Word{QStringView(), i};
    }
    // Where the given words end when they follow one another from `i`, one or more spaces apart.
    std::optional<qsizetype> words(qsizetype i, std::initializer_list<QLatin1StringView> expected) const;
    // Up to four digits.
    std::optional<Number> number(qsizetype i) const;
    // "one" to "twelve".
    std::optional<Number> numberWord(qsizetype i) const;
    // A number of things, in digits or words: "3", "three", "a", "a couple of".
    std::optional<Number> count(qsizetype i) const;
    // "am", "pm", "a.m." or "p.m."; whether it is pm and where it ends.
    std::optional<std::pair<bool, qsizetype>> meridiem(qsizetype i) const;
    // What follows `i` before a time or a day: spaces, a comma, and one of `words` or "@".
    std::optional<Link> link(qsizetype i, std::initializer_list<QLatin1StringView> words) const;

    // The value a table gives the word at `i`, and where it ends, with a full stop after an
    // abbreviation ("Fri.", "Dec.").
    template <std::size_t N>
    std::optional<std::pair<int, qsizetype>> name(const std::array<Keyword, N> &table, qsizetype i) const
    {
        const Word found = word(i);
        const auto value = lookUp(table, found);
        if (!value)
            return std::nullopt;
        const bool dotted = at(found.end) == u'.' && !isAsciiDigit(at(found.end + 1));
        return std::pair{*value, dotted ? found.end + 1 : found.end};
    }

private:
    QStringView m_text;
    // Where the run of letters at each position ends: every rule asks for the word where it stands.
    QVarLengthArray<qsizetype, 128> m_letterRunEnds;
};

} // namespace DateDetector
