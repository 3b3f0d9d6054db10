#include "AlertPlanner.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Kind = PlannedAlert::Kind;

const Calendar newYork = Calendar::named("America/New_York");
const QLocale english(QLocale::English, QLocale::UnitedStates);
// Friday 14 March 2025 in New York.
const QDate friday(2025, 3, 14);

Date at(QTime time, int dayOffset = 0)
{
    return *newYork.date(friday.addDays(dayOffset), time);
}

StickyNote note(const QString &text = QStringLiteral("Send invoice\nto the printer"))
{
    return StickyNote(QUuid::createUuid(), text, NoteColor::lemon, at(QTime(8, 0)));
}

StickyNote withDeadline(Date deadline, Date setAt)
{
    StickyNote result = note();
    result.setDeadline(deadline, setAt);
    return result;
}

StickyNote withRunningTimer(double duration, Date startedAt)
{
    StickyNote result = note(QStringLiteral("Tea"));
    result.timer = NoteTimer(duration);
    result.timer->start(startedAt);
    return result;
}

struct KindAndTime {
    Kind kind;
    Date fireAt;
    bool operator==(const KindAndTime &) const = default;
};

std::vector<KindAndTime> kindsAndTimes(const QList<PlannedAlert> &alerts)
{
    std::vector<KindAndTime> result;
    for (const PlannedAlert &alert : alerts)
        result.push_back({alert.kind, alert.fireAt});
    return result;
}

QList<PlannedAlert> allOf(const StickyNote &note, std::optional<double> warnBefore = 900)
{
    return AlertPlanner::all(note, at(QTime(9, 0)), warnBefore, newYork, english);
}

TEST(AlertPlanner, OnlyLiveNotesWithARunOrRunDownTimerOrADeadlineHaveAlerts)
{
    StickyNote both = withRunningTimer(300, at(QTime(9, 0)));
    both.setDeadline(at(QTime(17, 0)), at(QTime(9, 0)));
    StickyNote done = both;
    done.doneAt = at(QTime(9, 30));
    StickyNote deleted = both;
    deleted.deletedAt = at(QTime(9, 30));
    StickyNote ready = note();
    ready.timer = NoteTimer(300);
    StickyNote paused = withRunningTimer(300, at(QTime(9, 0)));
    paused.timer->pause(at(QTime(9, 1)));
    const StickyNote finished = withRunningTimer(300, at(QTime(7, 0)));

    struct Case { const char *name; StickyNote note; std::vector<KindAndTime> alerts; };
    const Case cases[] = {
        {"done", done, {}},
        {"deleted", deleted, {}},
        {"plain", note(), {}},
        {"ready timer", ready, {}},
        {"paused timer", paused, {}},
        {"timer that ran down, in the past", finished, {{Kind::timerEnded, at(QTime(7, 5))}}},
        {"timer and deadline, in kind order though the heads-up is earlier", both,
         {{Kind::timerEnded, at(QTime(9, 5))}, {Kind::due, at(QTime(17, 0))}, {Kind::dueSoon, at(QTime(16, 45))}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(kindsAndTimes(allOf(c.note)), c.alerts) << c.name;
}

TEST(AlertPlanner, HeadsUpOnlyWhenAskedForAndLaterThanTheDeadlineWasSet)
{
    StickyNote setLongAgo = note();
    setLongAgo.deadline = at(QTime(10, 20));
    struct Case { const char *name; StickyNote note; std::optional<double> warnBefore; std::optional<Date> warnAt; };
    const Case cases[] = {
        {"no heads-up wanted", withDeadline(at(QTime(17, 0)), at(QTime(9, 0))), std::nullopt, std::nullopt},
        {"zero", withDeadline(at(QTime(17, 0)), at(QTime(9, 0))), 0, std::nullopt},
        {"negative", withDeadline(at(QTime(17, 0)), at(QTime(9, 0))), -900, std::nullopt},
        {"set closer than the heads-up time", withDeadline(at(QTime(10, 10)), at(QTime(10, 0))), 900, std::nullopt},
        {"heads-up exactly when set", withDeadline(at(QTime(10, 15)), at(QTime(10, 0))), 900, std::nullopt},
        {"set far enough ahead", withDeadline(at(QTime(10, 20)), at(QTime(10, 0))), 900, at(QTime(10, 5))},
        {"no set date: measured from creation", setLongAgo, 900, at(QTime(10, 5))},
    };
    for (const Case &c : cases) {
        std::optional<Date> warnAt;
        for (const PlannedAlert &alert : allOf(c.note, c.warnBefore)) {
            if (alert.kind == Kind::dueSoon)
                warnAt = alert.fireAt;
        }
        EXPECT_EQ(warnAt, c.warnAt) << c.name;
    }
}

TEST(AlertPlanner, TextsNameTheNoteAndAreWordedAsOfTheirOwnMoment)
{
    StickyNote tea = withRunningTimer(25 * 60, at(QTime(9, 0)));
    tea.timer->pause(at(QTime(9, 20)));
    tea.timer->start(at(QTime(9, 30)));
    const QList<PlannedAlert> timerAlerts = allOf(tea);
    ASSERT_EQ(timerAlerts.size(), 1);
    EXPECT_EQ(timerAlerts[0].title, "Time’s up: Tea");
    EXPECT_EQ(timerAlerts[0].body, "Your 25 min timer has finished.");

    const QList<PlannedAlert> afternoon = allOf(withDeadline(at(QTime(17, 0)), at(QTime(9, 0))));
    ASSERT_EQ(afternoon.size(), 2);
    EXPECT_EQ(afternoon[0].title, "Due now: Send invoice");
    EXPECT_EQ(afternoon[0].body, "It was due today, 5:00 pm.");
    EXPECT_EQ(afternoon[1].title, "Due in 15 min: Send invoice");
    EXPECT_EQ(afternoon[1].body, "Due today, 5:00 pm.");

    const QList<PlannedAlert> evening = allOf(withDeadline(at(QTime(9, 0), 1), at(QTime(9, 0))), 12 * 3600);
    ASSERT_EQ(evening.size(), 2);
    EXPECT_EQ(evening[1].title, "Due in 12 h: Send invoice");
    EXPECT_EQ(evening[1].body, "Due tomorrow, 9:00 am.");
}

TEST(AlertPlanner, TextsFollowTheCalendarAndLocaleGiven)
{
    const Calendar berlin = Calendar::named("Europe/Berlin");
    StickyNote report = note(QStringLiteral("Bericht"));
    report.setDeadline(*berlin.date(friday, QTime(17, 0)), *berlin.date(friday, QTime(9, 0)));
    const QList<PlannedAlert> alerts =
        AlertPlanner::all(report, *berlin.date(friday, QTime(9, 0)), 16 * 3600, berlin, QLocale(QLocale::German));
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0].body, "It was due today, 17:00.");
    EXPECT_EQ(alerts[0].fireAt, *newYork.date(friday, QTime(12, 0)));
}

TEST(AlertPlanner, DueReturnsWhatFellDueAndWasNotRaised)
{
    const StickyNote deadline = withDeadline(at(QTime(10, 20)), at(QTime(10, 0)));
    StickyNote restarted = withRunningTimer(300, at(QTime(9, 0)));
    restarted.alertedTimerEnd = at(QTime(8, 0));
    StickyNote raised = restarted;
    raised.alertedTimerEnd = at(QTime(9, 5));

    struct Case { const char *name; QList<StickyNote> notes; Date now; std::vector<KindAndTime> alerts; };
    const Case cases[] = {
        {"nothing yet", {deadline}, at(QTime(10, 4, 59)), {}},
        {"heads-up on the second", {deadline}, at(QTime(10, 5)), {{Kind::dueSoon, at(QTime(10, 5))}}},
        {"past both: the due alert only", {deadline}, at(QTime(10, 30)), {{Kind::due, at(QTime(10, 20))}}},
        {"stamp from an earlier run does not block", {restarted}, at(QTime(9, 6)), {{Kind::timerEnded, at(QTime(9, 5))}}},
        {"stamped with this end", {raised}, at(QTime(9, 6)), {}},
        {"note order, not time order", {deadline, restarted}, at(QTime(10, 30)),
         {{Kind::due, at(QTime(10, 20))}, {Kind::timerEnded, at(QTime(9, 5))}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(kindsAndTimes(AlertPlanner::due(c.notes, c.now, 900, newYork, english)), c.alerts) << c.name;
}

TEST(AlertPlanner, MarkRaisedStampsOnlyItsOwnKind)
{
    StickyNote note = withRunningTimer(300, at(QTime(9, 0)));
    note.setDeadline(at(QTime(9, 3)), at(QTime(8, 0)));
    const Date now = at(QTime(9, 10));
    const QList<PlannedAlert> fallen = AlertPlanner::due({note}, now, 900, newYork, english);
    ASSERT_EQ(kindsAndTimes(fallen), (std::vector<KindAndTime>{{Kind::timerEnded, at(QTime(9, 5))},
                                                               {Kind::due, at(QTime(9, 3))}}));
    AlertPlanner::markRaised(fallen[0], note);
    EXPECT_EQ(kindsAndTimes(AlertPlanner::due({note}, now, 900, newYork, english)),
              (std::vector<KindAndTime>{{Kind::due, at(QTime(9, 3))}}));
    AlertPlanner::markRaised(fallen[1], note);
    EXPECT_TRUE(AlertPlanner::due({note}, now, 900, newYork, english).isEmpty());
}

TEST(AlertPlanner, UpcomingListsAlertsAfterNowByTimeKeepingNoteOrderOnTies)
{
    const StickyNote first = withDeadline(at(QTime(17, 0)), at(QTime(9, 0)));
    const StickyNote second = withDeadline(at(QTime(17, 0)), at(QTime(9, 0)));
    StickyNote timerNow = withRunningTimer(600, at(QTime(9, 50)));
    timerNow.alertedTimerEnd = at(QTime(10, 0));
    const StickyNote soonest = withRunningTimer(60, at(QTime(9, 59, 30)));

    const QList<PlannedAlert> alerts =
        AlertPlanner::upcoming({first, second, timerNow, soonest}, at(QTime(10, 0)), 900, newYork, english);
    ASSERT_EQ(kindsAndTimes(alerts), (std::vector<KindAndTime>{{Kind::timerEnded, at(QTime(10, 0, 30))},
                                                               {Kind::dueSoon, at(QTime(16, 45))},
                                                               {Kind::dueSoon, at(QTime(16, 45))},
                                                               {Kind::due, at(QTime(17, 0))},
                                                               {Kind::due, at(QTime(17, 0))}}));
    EXPECT_EQ(alerts[1].noteID, first.id);
    EXPECT_EQ(alerts[2].noteID, second.id);

    // A fire time equal to now is no longer ahead, but it has fallen due.
    StickyNote unstamped = timerNow;
    unstamped.alertedTimerEnd.reset();
    EXPECT_TRUE(AlertPlanner::upcoming({unstamped}, at(QTime(10, 0)), 900, newYork, english).isEmpty());
    EXPECT_EQ(AlertPlanner::due({unstamped}, at(QTime(10, 0)), 900, newYork, english).size(), 1);
}

// Posted late (the program was not running, or no notification server was there), an alert says when it
// was due, and a heads-up what is true then: how long is left, and when the deadline is.
TEST(AlertPlanner, AnAlertShownLateSaysWhenItWasDueAndAHeadsUpHowLongIsLeft)
{
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    const PlannedAlert tea{QUuid::createUuid(), Kind::timerEnded, at(QTime(14, 5, 30)), "Time’s up: Tea",
                           "Your 4 min timer has finished."};
    StickyNote standup = note(QStringLiteral("Standup"));
    standup.setDeadline(at(QTime(12, 22)), at(QTime(11, 0)));
    const PlannedAlert headsUp = allOf(standup).last();
    const PlannedAlert due = allOf(standup).first();
    StickyNote midnight = note(QStringLiteral("Midnight"));
    midnight.setDeadline(at(QTime(0, 5), 1), at(QTime(11, 0)));
    const PlannedAlert overMidnight = allOf(midnight).last();
    ASSERT_EQ(headsUp.kind, Kind::dueSoon);
    ASSERT_EQ(due.kind, Kind::due);
    ASSERT_EQ(overMidnight.fireAt, at(QTime(23, 50)));

    struct Case {
        PlannedAlert alert;
        Date shownAt;
        QLocale locale;
        QString title;
        QString body;
    };
    const QList<Case> cases{
        {tea, tea.fireAt, english, tea.title, "Your 4 min timer has finished."},
        {tea, tea.fireAt + 59.9, english, tea.title, "Your 4 min timer has finished."},
        {tea, tea.fireAt + 60, english, tea.title, "Your 4 min timer has finished.\nDue 2:05 PM"},
        {tea, tea.fireAt + 60, british, tea.title, "Your 4 min timer has finished.\nDue 14:05"},
        {tea, at(QTime(9, 0), 1), english, tea.title, "Your 4 min timer has finished.\nDue yesterday, 2:05 PM"},
        {tea, at(QTime(9, 0), 9), british, tea.title, "Your 4 min timer has finished.\nDue 14 Mar, 14:05"},
        {due, due.fireAt + 59.9, english, "Due now: Standup", "It was due today, 12:22 pm."},
        {due, due.fireAt + 60, british, "Due now: Standup", "It was due today, 12:22."},
        {due, at(QTime(18, 44)), english, "Due now: Standup", "It was due today, 12:22 pm."},
        {due, at(QTime(9, 0), 1), english, "Due now: Standup", "It was due yesterday, 12:22 pm."},
        {headsUp, at(QTime(12, 6, 59, 500)), english, "Due in 15 min: Standup", "Due today, 12:22 pm."},
        {headsUp, at(QTime(12, 7, 0, 900)), english, "Due in 15 min: Standup", "Due today, 12:22 pm."},
        {headsUp, at(QTime(12, 12)), english, "Due in 10 min: Standup", "Due today, 12:22 pm."},
        {headsUp, at(QTime(12, 12)), british, "Due in 10 min: Standup", "Due today, 12:22."},
        {headsUp, at(QTime(12, 21, 58)), english, "Due in 2 s: Standup", "Due today, 12:22 pm."},
        {headsUp, at(QTime(12, 21, 59, 500)), english, "Due now: Standup", "Due today, 12:22 pm."},
        {overMidnight, overMidnight.fireAt, english, "Due in 15 min: Midnight", "Due tomorrow, 12:05 am."},
        {overMidnight, at(QTime(0, 1), 1), english, "Due in 4 min: Midnight", "Due today, 12:05 am."},
    };
    for (const Case &c : cases) {
        const PlannedAlert shown = AlertPlanner::shownAt(c.alert, c.shownAt, newYork, c.locale);
        SCOPED_TRACE(c.alert.title.toStdString() + " shown after " + std::to_string(c.shownAt - c.alert.fireAt));
        EXPECT_EQ(shown.title, c.title);
        EXPECT_EQ(shown.body, c.body);
        EXPECT_EQ(shown.identifier(), c.alert.identifier());
        EXPECT_EQ(shown.fireAt, c.alert.fireAt);
    }
}

} // namespace
