#include "AppModelFixture.h"
#include "HungDisk.h"

#include <QSignalSpy>

namespace {

class AppModelTickTest : public AppModelTest {
protected:
    AppModelTickTest()
    {
        model->load();
        model->onRing = [this](const StickyNote &rang) { rings.append(rang); };
    }

    // A timer that ran out `ago` seconds before t0.
    QUuid timerRanOut(const QString &text, double ago)
    {
        StickyNote n = note(text);
        n.timer = NoteTimer(60);
        n.timer->start(t0 - ago - 60);
        return put(n);
    }

    // A deadline `ahead` seconds after t0, set an hour before t0.
    QUuid deadlineIn(const QString &text, double ahead)
    {
        StickyNote n = note(text);
        n.setDeadline(t0 + ahead, t0 - 3600);
        return put(n);
    }

    QList<StickyNote> rings;
};

TEST_F(AppModelTickTest, ATickWithNothingDuePublishesOnlyTheTime)
{
    deadlineIn("Later", 7200);
    const NoteBook before = model->book();
    QSignalSpy bookChanged(model.get(), &AppModel::bookChanged);
    QSignalSpy nowChanged(model.get(), &AppModel::nowChanged);
    for (int i = 0; i < 2; ++i)
        model->tick();
    EXPECT_EQ(nowChanged.count(), 2) << "every tick publishes, also an unchanged time";
    EXPECT_EQ(bookChanged.count(), 0);
    EXPECT_EQ(model->book(), before);
    EXPECT_FALSE(model->savePending());
    EXPECT_EQ(model->soundsPlayed(), 0);
}

TEST_F(AppModelTickTest, AnAlertRingsOnceAndIsStampedOnItsNote)
{
    const QUuid id = timerRanOut("Tea", 3);
    const StickyNote before = stored(id);
    now = t0;
    model->tick();
    const StickyNote after = stored(id);
    EXPECT_EQ(after.alertedTimerEnd, t0 - 3);
    EXPECT_EQ(after.edited, before.edited);
    EXPECT_EQ(model->ringing(), QSet<QUuid>{id});
    ASSERT_EQ(rings.size(), 1);
    EXPECT_EQ(rings[0], after);
    EXPECT_TRUE(model->savePending());

    now = t0 + 1;
    model->tick();
    EXPECT_EQ(rings.size(), 1);
    EXPECT_EQ(model->soundsPlayed(), 1);
}

TEST_F(AppModelTickTest, TheSoundPlaysOncePerTickOnlyWhileNotificationsAreNotAllowed)
{
    struct Case { NotifyPermission permission; bool playSound; int sounds; };
    for (const Case c : {Case{NotifyPermission::notAsked, true, 1}, Case{NotifyPermission::denied, true, 1},
                         Case{NotifyPermission::denied, false, 0}, Case{NotifyPermission::allowed, true, 0}}) {
        rebuild();
        model->load();
        model->setPermission(c.permission);
        model->setPlaySound(c.playSound);
        const QUuid a = timerRanOut("Tea", 3);
        const QUuid b = deadlineIn("Call", -1);
        model->tick();
        EXPECT_EQ(model->soundsPlayed(), c.sounds);
        EXPECT_EQ(sounds, c.sounds);
        EXPECT_EQ(model->ringing(), QSet<QUuid>({a, b})) << "ringing does not depend on the permission";
        sounds = 0;
    }
}

TEST_F(AppModelTickTest, AHeadsUpShowsAsTheBannerOnlyWhileNotificationsAreNotAllowed)
{
    for (NotifyPermission permission : {NotifyPermission::notAsked, NotifyPermission::denied,
                                        NotifyPermission::allowed}) {
        rebuild();
        model->load();
        model->onRing = [this](const StickyNote &rang) { rings.append(rang); };
        model->setPermission(permission);
        const QUuid first = deadlineIn("Report", 600);
        const QUuid second = deadlineIn("Invoice", 300);
        model->tick();
        EXPECT_EQ(stored(first).alertedWarning, t0 + 600 - 900);
        EXPECT_EQ(stored(second).alertedWarning, t0 + 300 - 900);
        EXPECT_TRUE(model->ringing().isEmpty());
        EXPECT_TRUE(rings.isEmpty());
        if (permission == NotifyPermission::allowed) {
            EXPECT_EQ(model->banner(), std::nullopt);
        } else {
            ASSERT_TRUE(model->banner());
            EXPECT_EQ(model->banner()->text, "Due in 15 min: Invoice");
            EXPECT_TRUE(model->banner()->undo.isEmpty());
        }
    }
}

TEST_F(AppModelTickTest, ATimerAndADeadlineOfOneNoteInOneTickBothRing)
{
    StickyNote both = note("Both");
    both.timer = NoteTimer(60);
    both.timer->start(t0 - 70);
    both.setDeadline(t0 - 5, t0 - 3600);
    put(both);
    model->tick();
    EXPECT_EQ(stored(both.id).alertedTimerEnd, t0 - 10);
    EXPECT_EQ(stored(both.id).alertedDeadline, t0 - 5);
    EXPECT_EQ(model->ringing(), QSet<QUuid>{both.id});
    EXPECT_EQ(rings.size(), 2);
    EXPECT_EQ(rings.last(), stored(both.id));
}

TEST_F(AppModelTickTest, TheFirstTickAtStartRaisesWhatFellDueWhileClosedWithoutRingBack)
{
    StickyNote missed = note("Missed");
    missed.timer = NoteTimer(60);
    missed.timer->start(t0 - 7200);
    StickyNote soon = note("Soon");
    soon.setDeadline(t0 + 60, t0 - 3600);
    ASSERT_EQ(NoteStore(dataFolder()).save(NoteBook({missed, soon})), std::nullopt);
    rebuild();
    notifier->state = NotifyPermission::allowed;
    model->start();
    EXPECT_EQ(model->ringing(), QSet<QUuid>{missed.id});
    EXPECT_EQ(stored(missed.id).alertedTimerEnd, t0 - 7140);
    EXPECT_EQ(sounds, 1) << "the permission is read only after the first tick";
    ASSERT_TRUE(model->banner());
    EXPECT_EQ(model->banner()->text, "Due in 15 min: Soon");
    EXPECT_EQ(model->permission(), NotifyPermission::allowed);
    QStringList raised;
    for (const PlannedAlert &alert : notifier->raisedAlerts)
        raised.append(alert.title);
    EXPECT_EQ(raised, (QStringList{"Time’s up: Missed", "Due in 15 min: Soon"}))
        << "the notifier is told, to show them late";

    model->saveNow();
    rebuild();
    model->start();
    EXPECT_TRUE(notifier->raisedAlerts.isEmpty()) << "the stamps keep them from a second start";
}

// The notifier posts an alert at its second; the tick that stamps it comes a moment later. A run that
// ends in between stamps it on the way out, or the next start would show it once more.
TEST_F(AppModelTickTest, TheEndOfARunStampsWhatIsDueWithoutRingingAndWithdrawsItsNotifications)
{
    const QUuid tea = timerRanOut("Tea", 0.5);
    const QUuid inThisSecond = timerRanOut("Soup", -0.5);
    const QUuid inTheNext = timerRanOut("Rice", -1);
    model->finishRun();
    EXPECT_TRUE(rings.isEmpty());
    EXPECT_EQ(sounds, 0);
    ASSERT_EQ(notifier->raisedAlerts.size(), 2) << "what is due, and what the notifier shows in this second";
    EXPECT_EQ(notifier->raisedAlerts[0].noteID, tea);
    EXPECT_EQ(notifier->raisedAlerts[1].noteID, inThisSecond);
    EXPECT_TRUE(notifier->withdrewAll);
    EXPECT_TRUE(notifier->raisedWereSaved) << "what the notifier kept against a crash may go";

    rebuild();
    now = t0 + 2;
    model->start();
    EXPECT_EQ(stored(tea).alertedTimerEnd, t0 - 0.5) << "the stamp was saved";
    ASSERT_EQ(notifier->raisedAlerts.size(), 1);
    EXPECT_EQ(notifier->raisedAlerts[0].noteID, inTheNext);

    HungDisk disk;
    model->writer().beforeWrite = [&disk] { disk.write(); };
    model->setQuitWait(std::chrono::milliseconds(50));
    model->finishRun();
    EXPECT_FALSE(notifier->raisedWereSaved) << "the stamp of the last run is not on the disk: the notifier keeps its own";
    disk.answer();
}

// The notification server comes and goes, and the user turns notifications off and on in Settings.
TEST_F(AppModelTickTest, ThePermissionFollowsTheNotifierAndTheSwitchAndAlertsFollowThePermission)
{
    deadlineIn("Call", 7200);
    QSignalSpy changed(model.get(), &AppModel::permissionChanged);
    notifier->state = NotifyPermission::allowed;
    notifier->onPermissionChange(NotifyPermission::allowed);
    EXPECT_EQ(model->permission(), NotifyPermission::allowed);
    EXPECT_EQ(notifier->scheduled.size(), 2);

    notifier->onPermissionChange(NotifyPermission::denied);
    EXPECT_EQ(model->permission(), NotifyPermission::denied);
    EXPECT_TRUE(notifier->scheduled.isEmpty());

    model->revokePermission();
    EXPECT_EQ(model->permission(), NotifyPermission::notAsked);
    EXPECT_TRUE(notifier->scheduled.isEmpty());
    model->requestPermission();
    EXPECT_EQ(model->permission(), NotifyPermission::allowed);
    EXPECT_EQ(notifier->scheduled.size(), 2);
    EXPECT_EQ(changed.count(), 4);
}

TEST_F(AppModelTickTest, ARestartedTimerRingsAgain)
{
    const QUuid id = timerRanOut("Tea", 3);
    model->tick();
    model->startTimer(id);
    EXPECT_TRUE(model->ringing().isEmpty());
    now = t0 + 60;
    model->tick();
    EXPECT_EQ(model->ringing(), QSet<QUuid>{id});
    EXPECT_EQ(rings.size(), 2);
}

// Sets TZ for the life of the guard, then puts back what was there.
class ZoneSetting {
public:
    explicit ZoneSetting(const QByteArray &zone) : m_was(qgetenv("TZ")), m_wasSet(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
    }
    ~ZoneSetting()
    {
        if (m_wasSet)
            qputenv("TZ", m_was);
        else
            qunsetenv("TZ");
    }

private:
    QByteArray m_was;
    bool m_wasSet;
};

TEST_F(AppModelTickTest, TheCalendarFollowsTheDesktopsZoneFromTheNextTick)
{
    const QByteArray before = model->calendar().zone().id();
    const QByteArray other = before == "Pacific/Auckland" ? "America/Lima" : "Pacific/Auckland";
    {
        const ZoneSetting zone(other);
        EXPECT_EQ(model->calendar().zone().id(), before);
        model->tick();
        EXPECT_EQ(model->calendar().zone().id(), other);
    }
    model->tick();
    EXPECT_EQ(model->calendar().zone().id(), before);
}

} // namespace
