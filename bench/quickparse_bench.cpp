// Times the quick parser on typical lines, as the Quick Note panel runs it on every keystroke, and on a
// long pasted line full of near-dates, which must not stall the panel either.
#include "BenchTiming.h"
#include "QuickParse.h"

#include <cstdio>

namespace {

double microsecondsPerParse(const QString &line, const Calendar &calendar, const QLocale &locale, Date now,
                            int parses, qsizetype &found)
{
    const double milliseconds = medianMilliseconds([&] {
        for (int i = 0; i < parses; ++i)
            found += QuickParse::parse(line, now, calendar, locale).deadline.has_value();
    });
    return milliseconds * 1000.0 / parses;
}

} // namespace

int main()
{
    const Calendar calendar = Calendar::named("Europe/Berlin");
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    const Date now = *calendar.date(QDate(2026, 3, 25), QTime(14, 0));
    // One line of each kind people type, the last two without a date.
    const QString lines[] = {
        QStringLiteral("standup with the team tomorrow at 9:30 for 15 min"),
        QStringLiteral("monday meeting with the design team at 3pm"),
        QStringLiteral("call the bank at quarter to 4"),
        QStringLiteral("train tomorrow 7.45"),
        QStringLiteral("tea at 4"),
        QStringLiteral("book the flights before new year's eve"),
        QStringLiteral("send invoice by 5pm"),
        QStringLiteral("water the plants 4m"),
        QStringLiteral("read the second draft and send notes to Ana"),
    };
    const QString longLine = QStringLiteral("the 2nd in a couple of the end of sat 12 at the next ").repeated(200);

    qsizetype found = 0;
    double total = 0;
    for (const QString &line : lines) {
        const double each = microsecondsPerParse(line, calendar, locale, now, 10000, found);
        total += each;
        std::printf("  %6.2f µs  \"%s\"\n", each, qPrintable(line));
    }
    if (found == 0)
        std::fprintf(stderr, "expected deadlines in the typical lines\n");
    const double pasted = microsecondsPerParse(longLine, calendar, locale, now, 20, found);
    std::printf("QuickParse::parse of a typical line: %.2f µs on average (goal: under 10 µs)\n",
                total / std::size(lines));
    std::printf("QuickParse::parse of a pasted line of %lld characters: %.0f µs per parse\n",
                static_cast<long long>(longLine.size()), pasted);
    return 0;
}
