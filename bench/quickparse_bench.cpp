// Times the quick parser on a typical line, as the Quick Note panel runs it on every keystroke.
#include "BenchTiming.h"
#include "QuickParse.h"

#include <cstdio>

int main()
{
    const Calendar calendar = Calendar::named("Europe/Berlin");
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    const Date now = *calendar.date(QDate(2026, 3, 25), QTime(14, 0));
    const QString line = QStringLiteral("standup with the team tomorrow at 9:30 for 15 min");
    constexpr int parses = 10000;

    qsizetype found = 0;
    const double milliseconds = medianMilliseconds([&] {
        for (int i = 0; i < parses; ++i)
            found += QuickParse::parse(line, now, calendar, locale).deadline.has_value();
    });
    if (found == 0)
        std::fprintf(stderr, "expected a deadline in \"%s\"\n", qPrintable(line));
    std::printf("QuickParse::parse of \"%s\": %.2f µs per parse (goal: under 100 µs)\n", qPrintable(line),
                milliseconds * 1000.0 / parses);
    return 0;
}
