#include "Holidays.h"

using namespace Qt::Literals::StringLiterals;

namespace DateDetector {

namespace {

struct Holiday {
    // In lower case, without apostrophes; a longer name comes before a shorter one it begins with.
    QLatin1StringView name;
    int month = 1;
    int day = 1;
    bool needsCompany = false;
    // A night's name picks the evening for an hour given with it: "bonfire night at 7" is 19:00.
    DayPart part = DayPart::none;
};

constexpr std::array<Holiday, 30> holidays{{
    {"new years day"_L1, 1, 1},
    {"new years eve"_L1, 12, 31},
    {"new years"_L1, 1, 1, true},
    {"new year"_L1, 1, 1, true},
    {"nye"_L1, 12, 31},
    {"hogmanay"_L1, 12, 31},
    {"valentines day"_L1, 2, 14},
    {"valentines"_L1, 2, 14, true},
    {"st patricks day"_L1, 3, 17},
    {"saint patricks day"_L1, 3, 17},
    {"st paddys day"_L1, 3, 17},
    {"april fools day"_L1, 4, 1},
    {"cinco de mayo"_L1, 5, 5},
    {"juneteenth"_L1, 6, 19},
    {"independence day"_L1, 7, 4, true},
    {"fourth of july"_L1, 7, 4},
    {"july fourth"_L1, 7, 4},
    {"halloween"_L1, 10, 31, true},
    {"bonfire night"_L1, 11, 5, false, DayPart::night},
    {"guy fawkes night"_L1, 11, 5, false, DayPart::night},
    {"veterans day"_L1, 11, 11},
    {"remembrance day"_L1, 11, 11},
    {"armistice day"_L1, 11, 11},
    {"christmas eve"_L1, 12, 24},
    {"christmas day"_L1, 12, 25},
    {"christmas"_L1, 12, 25, true},
    {"xmas eve"_L1, 12, 24},
    {"xmas day"_L1, 12, 25},
    {"xmas"_L1, 12, 25, true},
    {"boxing day"_L1, 12, 26},
}};

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == u'\u2019' || c == u'\u02bc';
}

// Where the text spells `name` from `i`: letters in any case, apostrophes anywhere inside ("new
// year's", "april fools' day"), and for each space of the name one or more spaces, perhaps after
// the full stop of an abbreviation ("St. Patrick's Day").
std::optional<qsizetype> spelledAt(const Scanner &scan, qsizetype i, QLatin1StringView name)
{
    qsizetype at = i;
    for (const char expected : name) {
        while (at > i && isApostrophe(scan.at(at)))
            ++at;
        if (expected == ' ') {
            const qsizetype gap = scan.at(at) == u'.' ? at + 1 : at;
            at = scan.skipSpaces(gap);
            if (at == gap)
                return std::nullopt;
        } else if ((scan.at(at).unicode() | 0x20) == expected) {
            ++at;
        } else {
            return std::nullopt;
        }
    }
    return scan.at(at).isLetterOrNumber() ? std::nullopt : std::optional(at);
}

} // namespace

std::optional<DayPhrase> holidayAt(const Scanner &scan, qsizetype i)
{
    const char16_t initial = scan.at(i).unicode() | 0x20;
    for (const Holiday &holiday : holidays) {
        if (holiday.name.front() != QLatin1Char(initial))
            continue;
        if (const auto end = spelledAt(scan, i, holiday.name))
            return DayPhrase{CalendarDay{holiday.month, holiday.day, std::nullopt}, *end, false, holiday.needsCompany,
                             holiday.part};
    }
    return std::nullopt;
}

} // namespace DateDetector
