#include "DayParts.h"

using namespace Qt::Literals::StringLiterals;

namespace DateDetector {

namespace {

constexpr std::array<Keyword, 4> dayPartWords{{
    {"morning"_L1, int(DayPart::morning)},
    {"afternoon"_L1, int(DayPart::afternoon)},
    {"evening"_L1, int(DayPart::evening)},
    {"night"_L1, int(DayPart::night)},
}};

} // namespace

std::optional<PartPhrase> dayPartAt(const Scanner &scan, qsizetype i)
{
    const Word word = scan.word(i);
    const auto part = lookUp(dayPartWords, word);
    if (!part)
        return std::nullopt;
    return PartPhrase{DayPart(*part), word.end};
}

std::optional<PartPhrase> partAloneAt(const Scanner &scan, qsizetype i)
{
    if (const auto lead = scan.words(i, {"in"_L1, "the"_L1})) {
        const auto part = dayPartAt(scan, scan.skipSpaces(*lead));
        return part && scan.skipSpaces(*lead) > *lead ? part : std::nullopt;
    }
    const Word word = scan.word(i);
    const qsizetype next = word.is("the"_L1) ? scan.skipSpaces(word.end) : i;
    if (next == word.end)
        return std::nullopt;
    auto part = dayPartAt(scan, next);
    if (part)
        part->needsCompany = true;
    return part;
}

std::optional<PartPhrase> partAfter(const Scanner &scan, qsizetype i)
{
    const qsizetype next = scan.skipSpaces(i);
    if (next == i)
        return std::nullopt;
    if (const auto part = dayPartAt(scan, next))
        return part;
    for (const auto &lead : {std::initializer_list<QLatin1StringView>{"in"_L1, "the"_L1}, {"at"_L1}, {"this"_L1}}) {
        const auto end = scan.words(next, lead);
        const qsizetype partStart = end ? scan.skipSpaces(*end) : next;
        if (end && partStart > *end)
            return dayPartAt(scan, partStart);
    }
    return std::nullopt;
}

} // namespace DateDetector
