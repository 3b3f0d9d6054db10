// Times the quick parser on a typical line, as the Quick Note panel runs it on every keystroke, and on a
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
    const QString line = QStringLiteral("standup with the team tomorrow at 9:30 for 15 min");
    const QString longLine = QStringLiteral("the 2nd in a couple of the end of sat 12 at the next ").repeated(200);

    qsizetype found = 0;
    const double typical = microsecondsPerParse(line, calendar, locale, now, 10000, found);
    if (found == 0)
        std::fprintf(stderr, "expected a deadline in \"%s\"\n", qPrintable(line));
    const double pasted = microsecondsPerParse(longLine, calendar, locale, now, 20, found);
    std::printf("QuickParse::parse of \"%s\": %.2f µs per parse (goal: under 100 µs)\n", qPrintable(line), typical);
    std::printf("QuickParse::parse of a pasted line of %lld characters: %.0f µs per parse\n",
                static_cast<long long>(longLine.size()), pasted);
    return 0;
}
