// Times the open tray over 100,000 tucked notes: building it, a tick of the clock while it is open
// (against one without it), and scrolling its row from end to end. Only the cards in view are built, so none of these grows with
// the number of notes beyond reading and sorting them once.
#include "BenchTiming.h"

#include "NotchTray/CardRow.h"
#include "NotchTray/OpenTray.h"
#include "NotchTray/TrayState.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace {

constexpr int tuckedCount = 100000;
constexpr Date now{786000000};

NoteBook tuckedBook()
{
    NoteBook book;
    book.notes.reserve(tuckedCount);
    for (int i = 0; i < tuckedCount; ++i) {
        StickyNote note(QUuid::createUuid(), QStringLiteral("Tucked %1\nsecond line").arg(i), NoteColor::sky, now);
        note.tucked = true;
        if (i % 2 == 0) {
            note.timer = NoteTimer(600 + i % 3000);
            note.timer->start(now);
        }
        book.notes.append(note);
    }
    return book;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    AppModel model(Paths{dir.filePath(QStringLiteral("data"))}, SettingsStore(dir.filePath(QStringLiteral("s.json"))),
                   std::make_unique<RecordingNotifier>());
    Date clock = now;
    model.clock = [&clock] { return clock; };
    model.load();
    model.setBook(tuckedBook());
    const auto tick = [&] {
        clock = clock + 1;
        model.tick();
    };
    const double bareTick = medianMilliseconds(tick);

    const TrayGeometry geometry = TrayState::currentGeometry();
    std::unique_ptr<OpenTray> open;
    const double build = medianMilliseconds([&] {
        open = std::make_unique<OpenTray>(model, geometry, [] {});
        open->resize(geometry.openSize().toSize());
        open->show();
    });
    const double openTick = medianMilliseconds(tick);
    CardRow *row = open->row();
    const double scroll = medianMilliseconds([&] { row->scrollTo(row->offset() == 0 ? 1 << 30 : 0); });
    std::printf("over %d tucked notes: a clock tick %.1f ms without the tray, %.1f ms with it open; opening it "
                "%.1f ms; scrolling its row end to end %.2f ms, with %lld cards built\n",
                tuckedCount, bareTick, openTick, build, scroll, static_cast<long long>(row->cards().size()));
    return 0;
}
