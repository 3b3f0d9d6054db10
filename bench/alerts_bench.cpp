// Times the once-a-second alert check and the plain-text export over 10,000 live notes.
#include "AlertPlanner.h"
#include "BenchTiming.h"
#include "NoteExport.h"

#include <cstdio>

namespace {

constexpr double warnBefore = 600;

// Half with running timers, half with deadlines, a tenth with both (so a tenth with neither);
// nothing falls due at `now`.
QList<StickyNote> liveNotes(int count, Date now)
{
    QList<StickyNote> notes;
    notes.reserve(count);
    for (int i = 0; i < count; ++i) {
        StickyNote note(QUuid::createUuid(), QStringLiteral("Note %1\nwith a second line").arg(i), NoteColor::sky,
                        now - 86400);
        if (i % 10 < 5) {
            note.timer = NoteTimer(600 + i % 3000);
            note.timer->start(now);
        }
        if (i % 10 >= 4 && i % 10 < 9)
            note.setDeadline(now + 3600 + i, now);
        notes.append(note);
    }
    return notes;
}

} // namespace

int main()
{
    const Date now = Date::current();
    const Calendar calendar = Calendar::current();
    const QLocale locale;
    const QList<StickyNote> notes = liveNotes(10000, now);

    qsizetype fallen = 0;
    const double due = medianMilliseconds([&] {
        fallen += AlertPlanner::due(notes, now, warnBefore, calendar, locale).size();
    }, 51);
    const double dueByDefault = medianMilliseconds([&] { fallen += AlertPlanner::due(notes, now, warnBefore).size(); }, 51);
    if (fallen != 0)
        std::fprintf(stderr, "expected nothing to fall due, got %lld alerts\n", static_cast<long long>(fallen));
    std::printf("AlertPlanner::due, 10000 live notes, nothing due: %.3f ms (goal: under 2 ms)\n", due);
    std::printf("  the same with the user's calendar and locale looked up per call: %.3f ms\n", dueByDefault);

    qsizetype ahead = 0;
    const double upcoming = medianMilliseconds([&] {
        ahead = AlertPlanner::upcoming(notes, now, warnBefore, calendar, locale).size();
    });
    std::printf("AlertPlanner::upcoming, %lld alerts ahead: %.1f ms\n", static_cast<long long>(ahead), upcoming);

    const double exportText = medianMilliseconds([&] { NoteExport::text(notes, now, calendar, locale); });
    std::printf("NoteExport::text, 10000 notes: %.1f ms\n", exportText);
    return 0;
}
