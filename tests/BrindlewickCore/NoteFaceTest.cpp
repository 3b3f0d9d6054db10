#include "NoteFace.h"
#include "StickyNote.h"

#include <gtest/gtest.h>

namespace {

const Date t0{800000000};

NoteFrame frameOfWidth(double width)
{
    return NoteFrame{10, 20, width, 200};
}

TEST(NoteFace, TapeFollowsTheSavedWidthWithinBounds)
{
    struct Case { std::optional<NoteFrame> frame; double width; };
    const Case cases[] = {
        {std::nullopt, 125},
        {NoteFrame{}, 125},
        {frameOfWidth(150), 96},
        {frameOfWidth(192), 96},
        {frameOfWidth(250), 125},
        {frameOfWidth(300), 150},
        {frameOfWidth(340), 170},
        {frameOfWidth(900), 170},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(NoteFace::tapeWidth(c.frame), c.width) << (c.frame ? c.frame->width : -1);
}

NoteTimer timerEndingAt(Date end)
{
    NoteTimer timer(600);
    timer.start(end - 600);
    return timer;
}

TEST(NoteFace, RingTitleNamesTheRunDownTimerFirst)
{
    using Reason = NoteFace::RingReason;
    struct Case { const char *name; std::optional<NoteTimer> timer; std::optional<Date> deadline; Reason reason; };
    const Case cases[] = {
        {"run-down timer and passed deadline", timerEndingAt(t0 - 5), t0 - 60, Reason::timeUp},
        {"timer ending exactly now", timerEndingAt(t0), std::nullopt, Reason::timeUp},
        {"deadline exactly now", std::nullopt, t0, Reason::dueNow},
        {"running timer, passed deadline", timerEndingAt(t0 + 30), t0 - 1, Reason::dueNow},
        {"ready timer, passed deadline", NoteTimer(60), t0 - 1, Reason::dueNow},
        {"neither due", timerEndingAt(t0 + 30), t0 + 60, Reason::timeUp},
        {"nothing at all", std::nullopt, std::nullopt, Reason::timeUp},
    };
    for (const Case &c : cases) {
        StickyNote note(QUuid::createUuid(), "x", NoteColor::lemon, t0 - 1000);
        note.timer = c.timer;
        note.deadline = c.deadline;
        EXPECT_EQ(NoteFace::ringReason(note, t0), c.reason) << c.name;
    }
}

TEST(NoteFace, TimerPickerOpensAtTheTimerInWholeMinutes)
{
    struct Case { std::optional<NoteTimer> timer; NoteFace::PickerLength length; };
    const Case cases[] = {
        {std::nullopt, {0, 25}},
        {NoteTimer(90), {0, 1}},
        {NoteTimer(59), {0, 0}},
        {NoteTimer(45 * 60), {0, 45}},
        {NoteTimer(2 * 3600 + 5 * 60 + 59), {2, 5}},
        {NoteTimer(NoteTimer::longest), {99, 0}},
    };
    for (const Case &c : cases) {
        const NoteFace::PickerLength length = NoteFace::pickerLength(c.timer);
        EXPECT_EQ(length, c.length) << (c.timer ? c.timer->duration : -1);
    }
}

} // namespace
