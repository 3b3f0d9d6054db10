#include "NoteTimer.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

const Date t0{800000000};

TEST(NoteTimer, DurationIsClampedToOneSecondThroughNinetyNineHours)
{
    struct Case { double requested; double expected; };
    for (const Case c : {Case{0, 1}, Case{-5, 1}, Case{NAN, 1}, Case{90, 90}, Case{400000, 356400},
                         Case{356400, 356400}}) {
        EXPECT_EQ(NoteTimer(c.requested).duration, c.expected) << c.requested;
    }
}

TEST(NoteTimer, StateFollowsFieldsAndTime)
{
    NoteTimer timer(300);
    EXPECT_EQ(timer.state(t0), NoteTimer::State::ready);
    EXPECT_EQ(timer.remaining(t0), 300);
    timer.start(t0);
    EXPECT_EQ(timer.state(t0 + 299.5), NoteTimer::State::running);
    EXPECT_EQ(timer.state(t0 + 300), NoteTimer::State::finished);
    EXPECT_EQ(timer.remaining(t0 + 300), 0);
    EXPECT_EQ(timer.remaining(t0 + 1000), 0);
    EXPECT_DOUBLE_EQ(timer.fraction(t0 + 75), 0.75);

    // Read from a hand-edited file: both fields set (the end decides), no duration at all.
    timer.pausedLeft = 70;
    EXPECT_EQ(timer.state(t0 + 299), NoteTimer::State::running);
    EXPECT_EQ(timer.state(t0 + 300), NoteTimer::State::finished);
    timer.duration = 0;
    EXPECT_EQ(timer.fraction(t0), 0);
}

TEST(NoteTimer, StartOnRunningChangesNothingAndOnFinishedRunsTheWholeDurationAgain)
{
    NoteTimer timer(300);
    timer.start(t0);
    const NoteTimer running = timer;
    timer.start(t0 + 10);
    EXPECT_EQ(timer, running);
    timer.start(t0 + 400);
    EXPECT_EQ(timer.endsAt, t0 + 700);
    EXPECT_FALSE(timer.pausedLeft);
}

TEST(NoteTimer, PauseThenStartResumesWithWhatWasLeftAndResetKeepsTheDuration)
{
    NoteTimer timer(300);
    timer.start(t0);
    timer.pause(t0 + 100);
    EXPECT_EQ(timer.state(t0 + 5000), NoteTimer::State::paused);
    EXPECT_EQ(timer.pausedLeft, 200);
    EXPECT_FALSE(timer.endsAt);
    timer.start(t0 + 1000);
    EXPECT_EQ(timer.endsAt, t0 + 1200);
    EXPECT_FALSE(timer.pausedLeft);

    NoteTimer finished(60);
    finished.start(t0);
    const NoteTimer before = finished;
    finished.pause(t0 + 61);
    EXPECT_EQ(finished, before);

    timer.reset();
    EXPECT_EQ(timer, NoteTimer(300));
}

TEST(NoteTimer, AddingTimeDependsOnTheState)
{
    NoteTimer running(356300);
    running.start(t0);
    running.add(300, t0 + 1);
    EXPECT_EQ(running.endsAt, t0 + 356600);
    EXPECT_EQ(running.duration, NoteTimer::longest);

    NoteTimer finished(25 * 60);
    finished.start(t0);
    finished.add(300, t0 + 2000);
    EXPECT_EQ(finished.duration, 300);
    EXPECT_EQ(finished.endsAt, t0 + 2300);
    EXPECT_EQ(finished.state(t0 + 2000), NoteTimer::State::running);

    NoteTimer paused(600);
    paused.start(t0);
    paused.pause(t0 + 100);
    paused.add(300, t0 + 200);
    EXPECT_EQ(paused.pausedLeft, 800);
    EXPECT_EQ(paused.duration, 900);

    NoteTimer ready(600);
    ready.add(300, t0);
    EXPECT_EQ(ready, NoteTimer(900));
}

} // namespace
