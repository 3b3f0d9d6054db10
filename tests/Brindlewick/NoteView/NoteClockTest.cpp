#include "NoteViewFixture.h"
#include "ScopedEnv.h"
#include "TestNotes.h"

#include "NoteView/DeadlineButton.h"
#include "NoteView/NoteFooter.h"
#include "NoteView/NoteHeader.h"
#include "Theme/PaperIconButton.h"
#include "Theme/TiltedTape.h"

namespace {

// Everything on a note's face that the clock moves.
struct Face {
    QString tapeText;
    QString tapeSpoken;
    std::optional<Urgency> urgency;
    int fillPixels = 0;
    QString due;
    bool overdue = false;
    QString startPause;

    bool operator==(const Face &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Face &face)
{
    return out << '"' << face.tapeText.toStdString() << "\" / \"" << face.tapeSpoken.toStdString() << "\" urgency "
               << (face.urgency ? int(*face.urgency) : -1) << " fill " << face.fillPixels << " due \""
               << face.due.toStdString() << "\" overdue " << face.overdue << " \"" << face.startPause.toStdString()
               << '"';
}

Face faceOf(const NoteView &view)
{
    const TiltedTape *tape = view.header()->tape();
    const std::optional<Countdown> &countdown = tape->countdown();
    const NoteFooter *footer = view.footer();
    return {countdown ? TimeTape::labelText(*countdown, tape->tapeRect().size()) : QString(),
            tape->accessibleName(),
            countdown ? std::optional(countdown->urgency) : std::nullopt,
            TimeTape::face(countdown, tape->tapeRect().size(), 1).fillPixels,
            footer->deadlineButton()->text(),
            footer->deadlineButton()->isOverdue(),
            footer->startPauseButton()->isVisibleTo(footer) ? footer->startPauseButton()->accessibleName() : QString()};
}

class NoteClockTest : public NoteViewTest {
protected:
    // What a note opened at the model's time shows.
    Face freshFace(const QUuid &id)
    {
        NoteView fresh(*model, id, false, false);
        fresh.setGeometry(view->geometry());
        fresh.show();
        QApplication::processEvents();
        return faceOf(fresh);
    }
};

// Notes look again at the clock only when their faces can change; none may miss the moment. A note
// followed second by second must show what a note opened at that second shows.
TEST_F(NoteClockTest, ANoteThatFollowsTheClockShowsWhatANoteOpenedAtThatMomentShows)
{
    const Date midnight = Calendar::current().startOfNextDay(t0);
    StickyNote minutes = note("Minutes and fill steps");
    minutes.setDeadline(t0 + 600, t0 - 60);
    StickyNote hour = note("Becomes urgent an hour before");
    hour.setDeadline(t0 + 3600 + 20, t0 - 7200);
    StickyNote passing = note("Passes, then overdue");
    passing.setDeadline(t0 + 10, t0 - 600);
    StickyNote handOver = note("A paused timer gives the tape to a nearer deadline");
    handOver.timer = TestNotes::pausedTimer(900, 300);
    handOver.setDeadline(t0 + 330, t0 - 600);
    StickyNote running = note("A running timer ends");
    running.timer = TestNotes::runningTimer(600, 5.5, t0);
    StickyNote tomorrow = note("Due tomorrow until midnight");
    tomorrow.setDeadline(midnight + 1825, t0 - 600);
    struct Case { StickyNote note; Date from; double seconds; double step; };
    const QList<Case> cases{
        {minutes, t0, 130, 1},     {hour, t0, 40, 1},    {passing, t0, 80, 1},
        {handOver, t0, 40, 1},     {running, t0, 8, 0.5}, {tomorrow, midnight - 10, 20, 1},
        {passing, t0 + 30, 1, 0.25},
    };
    for (const Case &c : cases) {
        moveClockTo(c.from);
        const QUuid id = put(c.note);
        show(id);
        for (double later = 0; later <= c.seconds; later += c.step) {
            moveClockTo(c.from + later);
            ASSERT_EQ(faceOf(*view), freshFace(id)) << c.note.text.toStdString() << " +" << later;
        }
    }
}

TEST_F(NoteClockTest, ANoteLooksAgainWhenTheClockIsSetBackOrTheZoneChanges)
{
    StickyNote due = note("Due in two hours");
    due.setDeadline(t0 + 7230.5, t0 - 600);
    const QUuid id = put(due);
    show(id);
    moveClockTo(t0 + 1200);
    moveClockTo(t0 + 100);
    EXPECT_EQ(faceOf(*view), freshFace(id)) << "set back";

    const QByteArray zone = model->calendar().zone().id() == "Pacific/Auckland" ? "America/Lima" : "Pacific/Auckland";
    const Face before = faceOf(*view);
    const ScopedEnv tz("TZ", zone);
    moveClockTo(now + 0.25);
    EXPECT_NE(faceOf(*view).due, before.due);
    EXPECT_EQ(faceOf(*view), freshFace(id)) << "another zone";
}

} // namespace

namespace {

// What the window shows on the screen, as the display holds it, not as a fresh paint would make it.
QImage onScreen(const QWidget &window)
{
    return window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_ARGB32);
}

// A minute's step repaints only the tape; what shows must be what a note opened then shows whole,
// ringing or not.
TEST_F(NoteClockTest, AfterAMinutesStepTheNoteOnScreenIsTheNoteOpenedThen)
{
    for (const bool ringing : {false, true}) {
        StickyNote due = note(ringing ? "Overdue and ringing, its tape steps" : "Its tape steps");
        due.setDeadline(ringing ? t0 - 30 : t0 + 600, t0 - 600);
        const QUuid id = put(due);
        moveClockTo(t0 + 0.5);
        show(id);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        ASSERT_EQ(model->ringing().contains(id), ringing);
        const QImage before = onScreen(*view);
        moveClockTo(t0 + 60.5);
        QApplication::processEvents();
        const QImage stepped = onScreen(*view);
        ASSERT_NE(stepped, before) << "the tape's minutes moved";

        NoteView fresh(*model, id, false, false);
        fresh.setGeometry(view->geometry().translated(view->width() + 20, 0));
        fresh.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
        QApplication::processEvents();
        EXPECT_EQ(stepped, onScreen(fresh)) << (ringing ? "ringing" : "quiet");
    }
}

} // namespace
