// Lists 10,000 live notes the way the library and the tray do, and prints how long each takes.
#include "BenchTiming.h"
#include "NoteList.h"

#include <cstdio>
#include <iterator>

namespace {

const char *const subjects[] = {"Buy milk and eggs", "Call the venue about Friday", "Café with Nimsa",
                                "Renew the passport", "Review the launch post", "Send the invoice (4471)",
                                "Laundry: move to the dryer", "Masala chai steeping ☕️"};

// Half running timers, half deadlines, and a tenth of the notes with both.
QList<StickyNote> generatedNotes(int count, Date now)
{
    QList<StickyNote> notes;
    notes.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString text = QStringLiteral("%1 #%2\nSome details on a second line, and a third one.")
                                 .arg(QString::fromUtf8(subjects[i % std::size(subjects)]))
                                 .arg(i);
        StickyNote note(QUuid::createUuid(), text, NoteColors::allCases[i % 7], now - 86400 - i);
        note.edited = now - (i % 500);
        note.tucked = i % 3 == 0;
        const bool both = i % 10 == 0;
        if (i % 2 == 0 || both) {
            note.timer = NoteTimer(600 + i);
            note.timer->start(now - (i % 700));
        }
        if (i % 2 == 1 || both)
            note.setDeadline(now + (i % 2000) * 97.0 - 20000, now - 86400);
        notes.append(note);
    }
    return notes;
}

} // namespace

int main()
{
    const Date now = Date::current();
    const Calendar calendar = Calendar::named("Europe/Berlin");
    const QList<StickyNote> notes = generatedNotes(10000, now);
    const NoteQuery twoWords(QStringLiteral("milk EGGS"));
    const NoteQuery accented(QStringLiteral("cafe nimsa"));
    qsizetype shown = 0;

    const auto visible = [&](NoteFilter filter, const NoteQuery &query, NoteSort sort) {
        return medianMilliseconds([&] { shown = NoteList::visible(notes, filter, query, sort, now, calendar).size(); });
    };
    const double searched = visible(NoteFilter::all, twoWords, NoteSort::urgency);
    std::printf("visible, all, \"milk EGGS\", by time left: %.2f ms (%lld shown; goal under 10 ms)\n", searched,
                static_cast<long long>(shown));
    const double searchedAccented = visible(NoteFilter::all, accented, NoteSort::edited);
    std::printf("visible, all, \"cafe nimsa\", by last edit: %.2f ms (%lld shown)\n", searchedAccented,
                static_cast<long long>(shown));
    const double everything = visible(NoteFilter::all, NoteQuery(), NoteSort::urgency);
    std::printf("visible, all, no query, by time left: %.2f ms (%lld shown)\n", everything,
                static_cast<long long>(shown));
    const double today = visible(NoteFilter::today, twoWords, NoteSort::urgency);
    std::printf("visible, due today, \"milk EGGS\", by time left: %.2f ms (%lld shown)\n", today,
                static_cast<long long>(shown));

    std::optional<NoteList::NoteCountdown> found;
    const double soonest = medianMilliseconds([&] { found = NoteList::soonest(notes, now, false); });
    const double soonestTucked = medianMilliseconds([&] { found = NoteList::soonest(notes, now, true); });
    std::printf("soonest: %.2f ms, tucked only: %.2f ms (remaining %.0f s)\n", soonest, soonestTucked,
                found ? found->countdown.remaining : 0.0);

    int counted = 0;
    const double counts = medianMilliseconds([&] {
        for (NoteFilter filter : NoteFilters::allCases)
            counted += NoteList::count(notes, filter, now, calendar);
    });
    std::printf("count for all eight filters: %.2f ms\n", counts);
    return counted > 0 ? 0 : 1;
}
