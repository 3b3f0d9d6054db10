// Loads and saves a notebook of 10,000 notes and prints how long each takes.
#include "BenchTiming.h"
#include "NoteStore.h"

#include <QTemporaryDir>
#include <cstdio>

namespace {

NoteBook generatedBook(int count, Date now)
{
    NoteBook book;
    for (int i = 0; i < count; ++i) {
        StickyNote note(QUuid::createUuid(), QStringLiteral("Note %1\nwith a second line of text").arg(i),
                        NoteColors::allCases[i % 7], now - i * 37.25);
        note.frame = NoteFrame{100.0 + i % 300, 200.5, 250, 230};
        if (i % 2 == 0) {
            note.timer = NoteTimer(600 + i);
            note.timer->start(now);
        } else {
            note.setDeadline(now + 3600 + i, now);
        }
        book.notes.append(note);
    }
    return book;
}

} // namespace

int main()
{
    QTemporaryDir folder;
    const NoteStore store(folder.path());
    const Date now = Date::current();
    const NoteBook book = generatedBook(10000, now);

    const double save = medianMilliseconds([&] {
        if (store.save(book))
            std::fprintf(stderr, "save failed\n");
    });
    const double load = medianMilliseconds([&] {
        if (!std::holds_alternative<NoteBook>(store.load(now)))
            std::fprintf(stderr, "load failed\n");
    });
    std::printf("notebook of 10000 notes: save %.1f ms, load %.1f ms (goal: each under 100 ms)\n", save, load);
    return 0;
}
