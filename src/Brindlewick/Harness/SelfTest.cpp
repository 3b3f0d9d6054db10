#include "SelfTest.h"

#include "DemoData.h"
#include "DemoWorld.h"

#include "NoteWindows/NotePanel.h"
#include "NoteWindows/NoteWindows.h"
#include "NoteWindows/ScreenSpace.h"
#include "State/RecordingNotifier.h"
#include "Theme/Appearance.h"

#include "Calendar.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Runs the event loop until `done` holds, for at most two seconds; whether it came to hold.
bool waitUntil(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A demo world that records what the model asked of the windows and, once desk() is called,
// passes it on to real note windows, wired as the application wires them.
struct Stage : DemoWorld {
    explicit Stage(const QString &root) : DemoWorld(root)
    {
        model().onRing = [this](const StickyNote &note) {
            rung.append(note.id);
            if (windows && !note.tucked)
                windows->ring(note);
        };
        model().onShow = [this](const QUuid &id) {
            shown.append(id);
            if (windows)
                windows->show(id);
        };
    }

    // Panels the windows let go of are deleted from the event loop; they go before the model does.
    ~Stage()
    {
        windows.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    NoteWindows &desk()
    {
        if (!windows) {
            windows = std::make_unique<NoteWindows>(model());
            windows->sync();
        }
        return *windows;
    }

    // The note has a panel on the desktop, or has none.
    bool onDesk(int number) const { return windows && windows->panel(id(number)); }
    bool panelsOnly(std::initializer_list<int> numbers) const
    {
        for (int number = 1; number <= 10; ++number) {
            if (onDesk(number) != (std::find(numbers.begin(), numbers.end(), number) != numbers.end()))
                return false;
        }
        return true;
    }

    bool ringsOnly(std::initializer_list<int> numbers) const
    {
        QSet<QUuid> ids;
        for (int number : numbers)
            ids.insert(id(number));
        return model().ringing() == ids;
    }

    QList<QUuid> rung;
    QList<QUuid> shown;
    std::unique_ptr<NoteWindows> windows;
};

struct Check {
    const char *name;
    std::function<bool(Stage &)> run;
};

bool hasTimeLeft(const StickyNote &note, Date now, double seconds)
{
    return note.timer && note.timer->state(now) == NoteTimer::State::running && note.timer->remaining(now) == seconds;
}

StickyNote withoutAlertStamps(StickyNote note)
{
    note.alertedTimerEnd.reset();
    note.alertedDeadline.reset();
    note.alertedWarning.reset();
    return note;
}

// An undo puts the note back as it was, but as changed when it was undone.
bool putBack(const StickyNote &note, const StickyNote &before)
{
    StickyNote undone = before;
    undone.changedAt = note.changedAt;
    return note == undone && note.changedAt.has_value();
}

// The ten notes as saved (but for the stamps of the first tick), desktop and tray as the demo lays
// them out, no welcome.
bool loadsTheWorld(Stage &stage)
{
    const AppModel &model = stage.model();
    const NoteStore::Loaded saved = model.store().load(model.now());
    const NoteBook *book = std::get_if<NoteBook>(&saved);
    if (!book || book->notes.size() != 10 || model.book().notes.size() != 10)
        return false;
    for (qsizetype i = 0; i < book->notes.size(); ++i) {
        if (withoutAlertStamps(model.book().notes[i]) != book->notes[i])
            return false;
    }
    return model.desktopNotes().size() == 5 && model.tuckedNotes().size() == 3 && !model.showWelcome();
}

// The deadline that passed while the application was closed rings at start, once, with a sound.
bool firstTickRingsTheOverdueNote(Stage &stage)
{
    return stage.ringsOnly({5}) && stage.note(5).alertedDeadline && stage.model().soundsPlayed() == 1 &&
           stage.rung.isEmpty();
}

bool ticksMoveTheClock(Stage &stage)
{
    AppModel &model = stage.model();
    model.advance(60);
    return stage.elapsed() == 60 && hasTimeLeft(stage.note(2), model.now(), 91) && stage.rung.isEmpty() &&
           stage.ringsOnly({5}) && model.soundsPlayed() == 1;
}

bool timerEndRingsOnce(Stage &stage)
{
    AppModel &model = stage.model();
    model.advance(150);
    const bool quietBefore = stage.rung.isEmpty();
    model.advance(1);
    const bool rang = stage.rung == QList{stage.id(2)} && stage.ringsOnly({2, 5}) && stage.note(2).alertedTimerEnd &&
                      model.soundsPlayed() == 2;
    model.advance(30);
    return quietBefore && rang && stage.rung.size() == 1 && model.soundsPlayed() == 2;
}

// With notifications off, the heads-up before a deadline is a banner, not a ring.
bool warningShowsABanner(Stage &stage)
{
    AppModel &model = stage.model();
    model.advance(8700 - 15 * 60);
    const StickyNote invoice = stage.note(1);
    return model.banner() && model.banner()->text.endsWith(invoice.title()) && invoice.alertedWarning &&
           !model.ringing().contains(invoice.id) && !stage.rung.contains(invoice.id);
}

bool snoozeRingsAgainLater(Stage &stage)
{
    AppModel &model = stage.model();
    model.advance(151);
    model.snooze(stage.id(2), 300);
    const bool answered = !model.ringing().contains(stage.id(2)) && hasTimeLeft(stage.note(2), model.now(), 300);
    model.advance(299);
    const bool waited = stage.rung.size() == 1;
    model.advance(1);
    return answered && waited && stage.rung == QList{stage.id(2), stage.id(2)};
}

bool snoozeMovesAPassedDeadline(Stage &stage)
{
    AppModel &model = stage.model();
    model.snooze(stage.id(5), 300);
    return stage.note(5).deadline == model.now() + 300 && model.ringing().isEmpty();
}

bool doneAndUndo(Stage &stage)
{
    AppModel &model = stage.model();
    const StickyNote before = stage.note(4);
    model.toggleDone(before.id);
    const bool done = stage.note(4).isDone() && model.desktopNotes().size() == 4 && model.banner() &&
                      model.banner()->text == QStringLiteral("Marked “Standup” done");
    model.undo();
    return done && putBack(stage.note(4), before) && !model.banner() && model.desktopNotes().size() == 5;
}

bool deleteAndUndo(Stage &stage)
{
    AppModel &model = stage.model();
    const StickyNote before = stage.note(3);
    model.deleteNotes({before.id});
    const bool deleted = stage.note(3).isDeleted() && model.banner() &&
                         model.banner()->text == QStringLiteral("Deleted “Write the launch post”");
    model.undo();
    return deleted && putBack(stage.note(3), before) && hasTimeLeft(stage.note(3), model.now(), 1092);
}

bool restoreBringsNotesBack(Stage &stage)
{
    AppModel &model = stage.model();
    model.restore(stage.id(9));
    model.restore(stage.id(10));
    return stage.note(9).isLive() && stage.note(10).isLive() && model.desktopNotes().size() == 7;
}

bool quickNotes(Stage &stage)
{
    AppModel &model = stage.model();
    const std::optional<QUuid> tea = model.quickNote(QStringLiteral("Tea 4m"));
    const std::optional<QUuid> call = model.quickNote(QStringLiteral("Call the bakery tomorrow"), NoteColor::sky, true);
    const std::optional<QUuid> blank = model.quickNote(QStringLiteral("   "));
    if (!tea || !call || blank || model.book().notes.size() != 12)
        return false;
    const StickyNote teaNote = stage.note(*tea);
    const StickyNote callNote = stage.note(*call);
    const std::optional<Date> nineTomorrow =
        Calendar::current().date(Calendar::current().day(model.now()).addDays(1), QTime(9, 0));
    return teaNote.text == QStringLiteral("Tea") && hasTimeLeft(teaNote, model.now(), 240) &&
           teaNote.color == model.defaultColor() && !teaNote.tucked && callNote.tucked &&
           callNote.color == NoteColor::sky && callNote.deadline == nineTomorrow &&
           model.tuckedNotes().size() == 4;
}

bool savesAndLoads(Stage &stage)
{
    AppModel &model = stage.model();
    model.setText(stage.id(4), QStringLiteral("Standup moved to 11"));
    model.saveNow();
    model.finishSaves(std::chrono::seconds(10));
    AppModel reader(model.paths(), model.defaults(), std::make_unique<RecordingNotifier>());
    reader.clock = model.clock;
    reader.load();
    return reader.book() == model.book() && reader.book().notes.size() == 10;
}

// One panel per desktop note, at the note's size, showing that note; pinned ones float everywhere.
bool panelsForDesktopNotes(Stage &stage)
{
    NoteWindows &desk = stage.desk();
    if (!stage.panelsOnly({1, 3, 4, 5, 6}))
        return false;
    for (int number : {1, 3, 4, 5, 6}) {
        const NotePanel *panel = desk.panel(stage.id(number));
        const StickyNote note = stage.note(number);
        if (!panel->isVisible() || panel->noteID() != note.id || !note.frame ||
            QSizeF(panel->size()) != note.frame->rect().size() || panel->isFloating() != note.pinned)
            return false;
    }
    return desk.panel(stage.id(1))->isOnAllDesktops() && !desk.panel(stage.id(4))->isOnAllDesktops();
}

bool panelsFollowTheNotebook(Stage &stage)
{
    AppModel &model = stage.model();
    stage.desk();
    model.toggleDone(stage.id(4));
    model.setTucked(stage.id(3), true);
    model.setTucked(stage.id(7), false);
    if (!waitUntil([&] { return stage.panelsOnly({1, 5, 6, 7}); }))
        return false;
    model.setNotesHidden(true);
    if (!waitUntil([&] { return stage.panelsOnly({}); }))
        return false;
    // A new note brings the hidden ones back.
    const std::optional<QUuid> quick = model.quickNote(QStringLiteral("Stretch 20m"));
    return quick && waitUntil([&] { return stage.panelsOnly({1, 5, 6, 7}) && stage.windows->panel(*quick); }) &&
           stage.shown.isEmpty();
}

// A desktop note that rings shakes its panel; a tucked one makes none.
bool ringingShakesThePanel(Stage &stage)
{
    NoteWindows &desk = stage.desk();
    stage.model().advance(151);
    const bool trayQuiet = stage.rung == QList{stage.id(2)} && !desk.panel(stage.id(2));
    stage.model().advance(1092 - 151);
    const NotePanel *launch = desk.panel(stage.id(3));
    return trayQuiet && stage.rung.last() == stage.id(3) && launch &&
           (launch->isShaking() || Appearance::reduceMotion());
}

// A tucked note shows on its own under the tray, takes the focus, and goes when another note takes it.
bool peeksUnderTheTray(Stage &stage)
{
    NoteWindows &desk = stage.desk();
    const QRectF tray(700, 1000, 500, 40);
    desk.peekAnchor = [tray] { return std::optional(tray); };
    desk.show(stage.id(2));
    const QPointer<NotePanel> peek = desk.panel(stage.id(2));
    const QSizeF size = NoteWindows::smallestPeek;
    const QRectF underTray(tray.center().x() - size.width() / 2, tray.y() - 8 - size.height(), size.width(),
                           size.height());
    const bool shown = desk.peeking() == stage.id(2) && peek && peek->isVisible() && peek->isFloating() &&
                       ScreenSpace::fromQt(peek->geometry()) == underTray && stage.note(2).tucked;
    if (!shown || !waitUntil([&] { return peek && peek->isActiveWindow(); }))
        return false;
    desk.sync();
    if (desk.panel(stage.id(2)) != peek)
        return false;

    desk.show(stage.id(4));
    const QPointer<NotePanel> standup = desk.panel(stage.id(4));
    return waitUntil([&] { return standup && standup->isActiveWindow(); }) &&
           waitUntil([&] { return !desk.peeking() && !desk.panel(stage.id(2)); }) &&
           stage.panelsOnly({1, 3, 4, 5, 6});
}

const Check checks[] = {
    {"demo world loads", loadsTheWorld},
    {"first tick rings the overdue deadline", firstTickRingsTheOverdueNote},
    {"ticks move the clock", ticksMoveTheClock},
    {"timer end rings once", timerEndRingsOnce},
    {"deadline warning shows a banner", warningShowsABanner},
    {"snooze rings again later", snoozeRingsAgainLater},
    {"snooze moves a passed deadline", snoozeMovesAPassedDeadline},
    {"done and undo", doneAndUndo},
    {"delete and undo", deleteAndUndo},
    {"restore brings notes back", restoreBringsNotesBack},
    {"quick notes", quickNotes},
    {"saves and loads", savesAndLoads},
    {"panels for desktop notes", panelsForDesktopNotes},
    {"panels follow the notebook", panelsFollowTheNotebook},
    {"ringing shakes the panel", ringingShakesThePanel},
    {"peeks under the tray", peeksUnderTheTray},
};

// Every check on a fresh world, so one failure cannot spoil the next.
QStringList runChecks(const QString &world)
{
    QStringList lines;
    for (const Check &check : checks) {
        Stage stage(world);
        const bool passed = check.run(stage);
        lines.append(QStringLiteral("%1 %2").arg(passed ? QStringLiteral("PASS") : QStringLiteral("FAIL"),
                                                 QString::fromUtf8(check.name)));
    }
    return lines;
}

bool writeReport(const QString &dir, const QStringList &lines)
{
    QDir().mkpath(dir);
    QSaveFile file(QDir(dir).filePath(QStringLiteral("selftest.txt")));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(lines.join(u'\n').toUtf8() + '\n');
    return file.commit();
}

} // namespace

namespace SelfTest {

int execute(const QString &dir)
{
    const QString world = QDir(dir).filePath(QStringLiteral("world"));
    QStringList lines = runChecks(world);
    DemoData::remove(world);
    for (const QString &line : lines)
        std::fputs((line + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
    const qsizetype failed = std::count_if(lines.cbegin(), lines.cend(),
                                           [](const QString &line) { return line.startsWith(u"FAIL "); });
    lines.append(failed == 0 ? QStringLiteral("ALL PASS") : QStringLiteral("%1 FAILED").arg(failed));
    const bool written = writeReport(dir, lines);
    return failed == 0 && written ? 0 : 1;
}

void run(const QString &dir)
{
    QTimer::singleShot(0, qApp, [dir] { QCoreApplication::exit(execute(dir)); });
}

} // namespace SelfTest
