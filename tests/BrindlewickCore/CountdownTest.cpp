#include "Countdown.h"
#include "StickyNote.h"

#include "TestNotes.h"

#include <gtest/gtest.h>

namespace {

using namespace TestNotes;
using State = NoteTimer::State;

const Date t0{800000000};

NoteTimer runningTimer(double duration, double left)
{
    return TestNotes::runningTimer(duration, left, t0);
}

TEST(Countdowns, TimerUrgencyAndFractionFollowTheStateAndTheTimeLeft)
{
    struct Case { const char *name; NoteTimer timer; State state; double remaining; double fraction; Urgency urgency; };
    const Case cases[] = {
        {"100 s just started", runningTimer(100, 100), State::running, 100, 1, Urgency::calm},
        {"last minute beats a large fraction", runningTimer(100, 60), State::running, 60, 0.6, Urgency::urgent},
        {"five minutes at 60 s left", runningTimer(300, 60), State::running, 60, 0.2, Urgency::urgent},
        {"five minutes at 61 s left", runningTimer(300, 61), State::running, 61, 61.0 / 300, Urgency::soon},
        {"hour above a quarter", runningTimer(3600, 901), State::running, 901, 901.0 / 3600, Urgency::calm},
        {"hour at a quarter", runningTimer(3600, 900), State::running, 900, 0.25, Urgency::soon},
        {"hour just above a tenth", runningTimer(3600, 361), State::running, 361, 361.0 / 3600, Urgency::soon},
        {"hour at a tenth", runningTimer(3600, 360), State::running, 360, 0.1, Urgency::urgent},
        {"paused with 10 s left", pausedTimer(600, 10), State::paused, 10, 10.0 / 600, Urgency::calm},
        {"ready", NoteTimer(600), State::ready, 600, 1, Urgency::calm},
        {"finished", runningTimer(600, -30), State::finished, 0, 0, Urgency::over},
        {"ends exactly now", runningTimer(600, 0), State::finished, 0, 0, Urgency::over},
    };
    for (const Case &c : cases) {
        const Countdown countdown = Countdowns::timer(c.timer, t0);
        EXPECT_EQ(countdown.kind, Countdown::Kind::timer(c.state)) << c.name;
        EXPECT_DOUBLE_EQ(countdown.remaining, c.remaining) << c.name;
        EXPECT_DOUBLE_EQ(countdown.fraction, c.fraction) << c.name;
        EXPECT_EQ(countdown.urgency, c.urgency) << c.name;
    }
}

TEST(Countdowns, DeadlineUrgencyChangesAtTheHourAndTheDay)
{
    struct Case { double left; Urgency urgency; };
    for (const Case c : {Case{-300, Urgency::over}, Case{0, Urgency::over}, Case{1, Urgency::urgent},
                         Case{3600, Urgency::urgent}, Case{3601, Urgency::soon}, Case{86400, Urgency::soon},
                         Case{86401, Urgency::calm}}) {
        const Countdown countdown = Countdowns::deadline(t0 + c.left, t0 - 7 * 86400, t0);
        EXPECT_EQ(countdown.urgency, c.urgency) << c.left;
        EXPECT_EQ(countdown.remaining, c.left) << c.left;
    }
}

TEST(Countdowns, DeadlineFractionIsTheShareOfItsSpanLeft)
{
    struct Case { const char *name; double setAt; double deadline; double fraction; };
    const Case cases[] = {
        {"set four days ahead, three days left", -86400, 3 * 86400, 0.75},
        {"set an hour ahead, ten minutes left", -3000, 600, 1.0 / 6},
        {"set two days ahead, one day left", -86400, 86400, 0.5},
        {"set two days ahead, an hour and a half left", -172800 + 5400, 5400, 5400.0 / 172800},
        {"passed", -86400, -10, 0},
        {"set at its own time, before it", 60, 60, 1},
        {"set at its own time, after it", -60, -60, 0},
        {"set after its own time, before it", 120, 60, 1},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(Countdowns::deadline(t0 + c.deadline, t0 + c.setAt, t0).fraction, c.fraction) << c.name;
}

StickyNote noteWith(std::optional<NoteTimer> timer, std::optional<double> deadlineIn)
{
    StickyNote note(QUuid::createUuid(), "Tea", NoteColor::mint, t0 - 86400);
    note.timer = timer;
    if (deadlineIn)
        note.setDeadline(t0 + *deadlineIn, t0 - 3600);
    return note;
}

TEST(Countdowns, PrimaryPicksTheCountdownANoteShows)
{
    struct Case { const char *name; StickyNote note; std::optional<Countdown::Kind> kind; };
    const Case cases[] = {
        {"neither", noteWith(std::nullopt, std::nullopt), std::nullopt},
        {"timer only", noteWith(NoteTimer(60), std::nullopt), Countdown::Kind::timer(State::ready)},
        {"deadline only", noteWith(std::nullopt, 60), Countdown::Kind::deadline()},
        {"ready timer gives way to a deadline in a week", noteWith(NoteTimer(60), 7 * 86400),
         Countdown::Kind::deadline()},
        {"deadline over, running timer not", noteWith(runningTimer(600, 300), -3600), Countdown::Kind::deadline()},
        {"timer over, deadline not", noteWith(runningTimer(600, -1), 60), Countdown::Kind::timer(State::finished)},
        {"both over, deadline further behind", noteWith(runningTimer(600, -1), -300), Countdown::Kind::deadline()},
        {"neither over, paused timer nearer", noteWith(pausedTimer(1200, 600), 7200),
         Countdown::Kind::timer(State::paused)},
        {"neither over, deadline nearer", noteWith(runningTimer(1200, 600), 500), Countdown::Kind::deadline()},
        {"equal remaining gives the timer", noteWith(runningTimer(1200, 600), 600),
         Countdown::Kind::timer(State::running)},
    };
    for (const Case &c : cases) {
        const auto countdown = Countdowns::primary(c.note, t0);
        ASSERT_EQ(countdown.has_value(), c.kind.has_value()) << c.name;
        if (countdown) {
            EXPECT_EQ(countdown->kind, *c.kind) << c.name;
        }
    }
}

TEST(Countdowns, PrimaryMeasuresADeadlineFromWhenItWasSetElseFromCreation)
{
    StickyNote note(QUuid::createUuid(), "Report", NoteColor::sky, t0 - 4 * 86400);
    note.deadline = t0 + 4 * 86400;
    EXPECT_DOUBLE_EQ(Countdowns::primary(note, t0)->fraction, 0.5);
    note.deadlineSetAt = t0 - 4 * 86400 / 3.0;
    EXPECT_DOUBLE_EQ(Countdowns::primary(note, t0)->fraction, 0.75);
}

// Views sleep through a countdown's steady time, so it must never run past a change of its texts
// or urgency, and should end at the change.
TEST(Countdowns, ADeadlineStaysSteadyExactlyUntilItsTextOrUrgencyChanges)
{
    const Date deadline = t0 + 100000;
    for (const double left : {100000.0, 86400.5, 86399.0, 3600.25, 3599.0, 3540.0, 125.5, 60.0, 0.5, 0.0, -0.5,
                              -59.5, -60.0, -61.0, -3599.2, -3600.0, -7200.7, -200000.0}) {
        const Date now = deadline - left;
        const Countdown at = Countdowns::deadline(deadline, t0, now);
        const double steady = at.steadyFor();
        const auto reads = [&](double later) {
            const Countdown then = Countdowns::deadline(deadline, t0, now + later);
            return std::pair(then.textKey(), then.urgency);
        };
        for (const double share : {0.0, 0.5, 0.999})
            EXPECT_EQ(reads(steady * share), reads(0)) << left << " +" << steady * share;
        EXPECT_NE(reads(steady + 0.001), reads(0)) << left << " steady " << steady;
    }
}

// The tape sleeps through its fill's steady time, so the fill must keep its whole pixel until then
// and leave it just after, also between an hour and two days away, where it shrinks as left ÷ span.
TEST(Countdowns, ADeadlinesFillStaysOnItsPixelExactlyUntilItSteps)
{
    constexpr double pixels = 250;
    const Date deadline = t0 + 2 * 86400;
    const auto reach = [&](Date now) { return std::floor(pixels * Countdowns::deadline(deadline, t0, now).fraction); };
    for (const double left : {150000.0, 86399.3, 40000.5, 3601.0, 3000.0}) {
        const Date now = deadline - left;
        const double steady = Countdowns::deadline(deadline, t0, now).fillSteadyFor(pixels);
        ASSERT_GT(steady, 0) << left;
        ASSERT_LT(steady, 2 * 86400 / pixels + 1) << left;
        EXPECT_EQ(reach(now + steady * 0.999), reach(now)) << left;
        EXPECT_LT(reach(now + steady + 0.01), reach(now)) << left;
    }
}

// Tapes compare keys instead of texts on every tick: a text never changes while its key stays.
TEST(Countdowns, EqualTextKeysReadAlike)
{
    const Date deadline = t0 + 200000;
    const NoteTimer timer = runningTimer(7200, 7200);
    for (double later = 0; later < 200000; later += later < 8000 ? 0.5 : 37) {
        const Date now = t0 + later;
        const auto deadlineAt = [&](Date at) { return Countdowns::deadline(deadline, t0, at); };
        const auto timerAt = [&](Date at) { return Countdowns::timer(timer, at); };
        for (const auto &[a, b] : {std::pair(deadlineAt(now), deadlineAt(now + 0.5)),
                                   std::pair(timerAt(now), timerAt(now + 0.5))}) {
            if (a.textKey() == b.textKey()) {
                ASSERT_EQ(a.shortText(), b.shortText()) << later;
                ASSERT_EQ(a.spokenText(), b.spokenText()) << later;
            }
        }
    }
}

TEST(Urgency, IsMadeOnlyFromItsFourRawValues)
{
    for (int raw = -1; raw <= 4; ++raw)
        EXPECT_EQ(urgencyFromRawValue(raw).has_value(), raw >= 0 && raw <= 3) << raw;
    EXPECT_EQ(urgencyFromRawValue(3), Urgency::over);
}

} // namespace
