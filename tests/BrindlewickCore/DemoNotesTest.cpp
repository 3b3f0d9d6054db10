#include "DemoNotes.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QRectF laptopScreen(0, 0, 1512, 950);

Date at(const Calendar &calendar, QDate day, QTime time)
{
    return *calendar.date(day, time);
}

TEST(DemoNotes, TenNotesWithFixedIdsTextsAndDates)
{
    const Calendar berlin = Calendar::named("Europe/Berlin");
    const Date now = at(berlin, QDate(2024, 6, 12), QTime(14, 35));
    const QList<StickyNote> notes = DemoNotes::make(now, berlin, laptopScreen);

    ASSERT_EQ(notes.size(), 10);
    const double createdOffsets[] = {-18000, -90, -420, -10800, -93600, -345600, -1200, -172800, -259200, -1036800};
    for (int i = 0; i < 10; ++i) {
        const StickyNote &note = notes[i];
        EXPECT_EQ(note.id.toString(QUuid::WithoutBraces).toUpper(),
                  QStringLiteral("5717C4A0-0000-4000-8000-%1").arg(i + 1, 12, 10, QChar(u'0')));
        EXPECT_EQ(note.created, now + createdOffsets[i]) << i + 1;
        EXPECT_EQ(note.edited, note.created + 30) << i + 1;
        EXPECT_FALSE(note.alertedTimerEnd || note.alertedDeadline || note.alertedWarning) << i + 1;
    }

    EXPECT_EQ(notes[1].text, QStringLiteral("Masala chai steeping \u2615\uFE0F"));
    EXPECT_EQ(notes[3].text, QStringLiteral("Standup\n\u2022 ship the tray animation\n\u2022 review Lioro\u2019s PR\n"
                                            "\u2022 ask about the 14\" MacBook Air"));
    EXPECT_EQ(notes[3].title(), QStringLiteral("Standup"));

    const NoteColor colors[] = {NoteColor::lemon, NoteColor::peach, NoteColor::sky,      NoteColor::mint,
                                NoteColor::rose,  NoteColor::lilac, NoteColor::mint,     NoteColor::graphite,
                                NoteColor::sky,   NoteColor::lemon};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(notes[i].color, colors[i]) << i + 1;

    EXPECT_EQ(notes[8].doneAt, now - 86400);
    EXPECT_FALSE(notes[8].deletedAt);
    EXPECT_EQ(notes[9].deletedAt, now - 172800);
    EXPECT_FALSE(notes[9].doneAt);
    EXPECT_TRUE(notes[0].pinned);

    EXPECT_EQ(DemoNotes::make(now, berlin, laptopScreen), notes);
}

TEST(DemoNotes, TimersAndDeadlinesCountFromNow)
{
    const Calendar calendar = Calendar::named("America/New_York");
    const Date now = at(calendar, QDate(2024, 2, 20), QTime(14, 35));
    const QList<StickyNote> notes = DemoNotes::make(now, calendar, laptopScreen);

    struct TimerCase { int number; NoteTimer::State state; double remaining; double duration; };
    for (const TimerCase c : {TimerCase{2, NoteTimer::State::running, 151, 240},
                              TimerCase{3, NoteTimer::State::running, 1092, 1500},
                              TimerCase{7, NoteTimer::State::paused, 1860, 2700}}) {
        const StickyNote &note = notes[c.number - 1];
        ASSERT_TRUE(note.timer) << c.number;
        EXPECT_EQ(note.timer->state(now), c.state) << c.number;
        EXPECT_EQ(note.timer->remaining(now), c.remaining) << c.number;
        EXPECT_EQ(note.timer->duration, c.duration) << c.number;
    }

    EXPECT_EQ(notes[0].deadline, now + 8700);
    EXPECT_EQ(notes[4].deadline, now - 1080);
    for (int number : {1, 5, 6})
        EXPECT_EQ(notes[number - 1].deadlineSetAt, notes[number - 1].created) << number;
}

TEST(DemoNotes, AppointmentIsAtTenOnTheNinthDayInTheCalendarsOwnDays)
{
    struct Case {
        const char *zone;
        QDate today;
        QTime time;
        QDate appointmentDay;
    };
    const Case cases[] = {
        {"Europe/Berlin", QDate(2024, 6, 12), QTime(14, 35), QDate(2024, 6, 21)},
        // Summer time starts on 31 March: ten o'clock, not eleven.
        {"Europe/Berlin", QDate(2024, 3, 25), QTime(14, 35), QDate(2024, 4, 3)},
        // Late evening: already the next day in UTC.
        {"America/New_York", QDate(2024, 10, 30), QTime(23, 30), QDate(2024, 11, 8)},
        // Early morning: still the day before in UTC.
        {"Asia/Kolkata", QDate(2024, 1, 1), QTime(2, 0), QDate(2024, 1, 10)},
    };
    for (const Case &c : cases) {
        const Calendar calendar = Calendar::named(c.zone);
        const Date now = at(calendar, c.today, c.time);
        const StickyNote passport = DemoNotes::make(now, calendar, laptopScreen)[5];
        ASSERT_TRUE(passport.deadline) << c.zone;
        EXPECT_EQ(calendar.local(*passport.deadline), QDateTime(c.appointmentDay, QTime(10, 0), calendar.zone()))
            << c.zone << " " << c.today.toString(Qt::ISODate).toStdString();
    }
}

TEST(DemoNotes, ExactlyTheLiveUntuckedNotesHaveFramesLaidOutFromTheScreenTop)
{
    const Calendar calendar = Calendar::named("UTC");
    const Date now{740000000};
    const QRectF secondScreen(1512, 100, 1920, 1050);

    const QList<StickyNote> onLaptop = DemoNotes::make(now, calendar, laptopScreen);
    const QList<StickyNote> onSecond = DemoNotes::make(now, calendar, secondScreen);
    for (const StickyNote &note : onLaptop)
        EXPECT_EQ(note.frame.has_value(), note.isLive() && !note.tucked) << note.text.toStdString();
    for (int number : {2, 7, 8})
        EXPECT_TRUE(onLaptop[number - 1].tucked) << number;

    struct Case { int number; QRectF onLaptop; QRectF onSecond; };
    const Case cases[] = {
        {1, QRectF(60, 650, 250, 230), QRectF(1572, 850, 250, 230)},
        {3, QRectF(340, 590, 270, 250), QRectF(1852, 790, 270, 250)},
        {4, QRectF(80, 360, 250, 230), QRectF(1592, 560, 250, 230)},
        {5, QRectF(370, 360, 240, 190), QRectF(1882, 560, 240, 190)},
        {6, QRectF(650, 650, 240, 210), QRectF(2162, 850, 240, 210)},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(onLaptop[c.number - 1].frame->rect(), c.onLaptop) << c.number;
        EXPECT_EQ(onSecond[c.number - 1].frame->rect(), c.onSecond) << c.number;
    }
}

} // namespace
