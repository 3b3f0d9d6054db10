#include "LayoutChecks.h"
#include "NoteViewFixture.h"

#include "NoteView/NoteFooter.h"
#include "NoteView/Popover.h"
#include "NoteView/TimerPicker.h"
#include "Theme/ChipButton.h"
#include "Theme/PaperIconButton.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"

#include <QSpinBox>

namespace {

class TimerPickerTest : public NoteViewTest {
protected:
    TimerPicker &open(const QUuid &noteId)
    {
        picker = std::make_unique<TimerPicker>(*model, noteId, [this] { ++closes; });
        picker->show();
        QApplication::processEvents();
        return *picker;
    }

    ChipButton *chip(const QString &title) const
    {
        for (ChipButton *chip : picker->findChildren<ChipButton *>())
            if (chip->text() == title)
                return chip;
        return nullptr;
    }

    void TearDown() override
    {
        picker.reset();
        NoteViewTest::TearDown();
    }

    std::unique_ptr<TimerPicker> picker;
    int closes = 0;
};

NoteTimer runningSince(double duration, Date start)
{
    NoteTimer timer(duration);
    timer.start(start);
    return timer;
}

TEST_F(TimerPickerTest, OpensAtTheNotesTimerOrTwentyFiveMinutes)
{
    struct Case {
        const char *name;
        std::optional<NoteTimer> timer;
        bool inBook;
        int hours;
        int minutes;
        bool remove;
        bool start;
    };
    const Case cases[] = {
        {"no timer", std::nullopt, true, 0, 25, false, true},
        {"45 min ready", NoteTimer(45 * 60), true, 0, 45, true, true},
        {"45 min running", runningSince(45 * 60, t0 - 10), true, 0, 45, true, true},
        {"90 s", NoteTimer(90), true, 0, 1, true, true},
        {"30 s", NoteTimer(30), true, 0, 0, true, false},
        {"2 h 5 min", NoteTimer(2 * 3600 + 5 * 60), true, 2, 5, true, true},
        {"note gone", NoteTimer(600), false, 0, 25, false, true},
    };
    for (const Case &c : cases) {
        StickyNote timed = note(c.name);
        timed.timer = c.timer;
        const QUuid id = c.inBook ? put(timed) : timed.id;
        TimerPicker &p = open(id);
        EXPECT_EQ(p.hours(), c.hours) << c.name;
        EXPECT_EQ(p.minutes(), c.minutes) << c.name;
        EXPECT_EQ(p.removeButton() != nullptr, c.remove) << c.name;
        EXPECT_EQ(p.startButton()->isEnabled(), c.start) << c.name;
        QTest::keyClick(p.minutesBox(), Qt::Key_Return);
        EXPECT_EQ(closes, c.start ? 1 : 0) << c.name << ": Return starts exactly when Start is on";
        if (c.inBook && !c.start) {
            EXPECT_EQ(stored(id).timer, c.timer) << c.name;
        }
        closes = 0;
    }
    click(picker->startButton());
    EXPECT_EQ(closes, 1) << "the buttons of a gone note still close the picker";
    EXPECT_EQ(model->book().notes.size(), 6) << "and add no note";
}

TEST_F(TimerPickerTest, PresetChipsSetAndStartATimerAndClose)
{
    const QUuid id = put(note("Chips"));
    TimerPicker &p = open(id);
    QStringList titles;
    for (ChipButton *chip : p.findChildren<ChipButton *>())
        titles << chip->text();
    EXPECT_EQ(titles, QStringList({"1 min", "3 min", "5 min", "10 min", "15 min", "25 min", "30 min", "45 min",
                                   "1 h", "1 h 30", "2 h"}));
    click(chip("1 h 30"));
    ASSERT_TRUE(stored(id).timer);
    EXPECT_EQ(stored(id).timer->duration, 5400);
    EXPECT_EQ(stored(id).timer->state(t0), NoteTimer::State::running);
    EXPECT_EQ(closes, 1);
}

TEST_F(TimerPickerTest, EveryChipShowsWholeInsideThePadding)
{
    TimerPicker &p = open(put(note("Chips")));
    const QRect inside = p.rect().marginsRemoved(QMargins(16, 16, 16, 16));
    for (ChipButton *chip : p.findChildren<ChipButton *>()) {
        const QRect place(chip->mapTo(&p, QPoint()), chip->size());
        EXPECT_EQ(LayoutChecks::visibleRect(chip, &p), place) << chip->text().toStdString() << " is cut";
        EXPECT_TRUE(inside.contains(place)) << chip->text().toStdString() << " reaches into the padding";
    }
    EXPECT_EQ(LayoutChecks::overlapping(&p), QStringList());
}

TEST_F(TimerPickerTest, StartAndReturnUseTheSteppersAndAreOffAtZero)
{
    const QUuid id = put(note("Steppers"));
    TimerPicker &p = open(id);
    p.hoursBox()->setValue(0);
    p.minutesBox()->setValue(0);
    EXPECT_FALSE(p.startButton()->isEnabled());
    QTest::keyClick(p.minutesBox(), Qt::Key_Return);
    EXPECT_FALSE(stored(id).timer);
    EXPECT_EQ(closes, 0);

    p.minutesBox()->setValue(1);
    EXPECT_TRUE(p.startButton()->isEnabled());
    click(p.startButton());
    ASSERT_TRUE(stored(id).timer);
    EXPECT_EQ(stored(id).timer->duration, 60);
    EXPECT_EQ(stored(id).timer->state(t0), NoteTimer::State::running);
    EXPECT_EQ(closes, 1);

    p.hoursBox()->setValue(1);
    p.minutesBox()->setValue(5);
    QTest::keyClick(p.minutesBox(), Qt::Key_Return);
    EXPECT_EQ(stored(id).timer->duration, 3900);
    EXPECT_EQ(closes, 2);
}

TEST_F(TimerPickerTest, SteppersStopAtNinetyNineHoursAndFiftyNineMinutes)
{
    TimerPicker &p = open(put(note("Long")));
    p.hoursBox()->setValue(150);
    p.minutesBox()->setValue(75);
    EXPECT_EQ(p.hours(), 99);
    EXPECT_EQ(p.minutes(), 59);
    QTest::keyClick(p.hoursBox(), Qt::Key_Up);
    EXPECT_EQ(p.hours(), 99);
    EXPECT_EQ(p.hoursBox()->accessibleName(), "Hours");
    EXPECT_EQ(p.minutesBox()->accessibleName(), "Minutes");
}

TEST_F(TimerPickerTest, RemoveTimerTakesAFinishedTimerAwayAndCloses)
{
    StickyNote rung = note("Rung");
    NoteTimer finished(60);
    finished.start(t0 - 120);
    rung.timer = finished;
    rung.alertedTimerEnd = t0 - 60;
    const QUuid id = put(rung);
    model->setRinging({id});
    TimerPicker &p = open(id);
    ASSERT_NE(p.removeButton(), nullptr);
    click(p.removeButton());
    EXPECT_FALSE(stored(id).timer);
    EXPECT_FALSE(stored(id).alertedTimerEnd);
    EXPECT_FALSE(model->ringing().contains(id));
    EXPECT_EQ(closes, 1);
}

TEST_F(TimerPickerTest, StartingFromTheNoteViewClosesItsPopover)
{
    const QUuid id = put(note("Popover"));
    NoteView &v = show(id);
    v.openPopover(PopoverRequest::Kind::timer);
    auto *p = v.popover()->findChild<TimerPicker *>();
    ASSERT_NE(p, nullptr);
    click(p->startButton());
    EXPECT_EQ(stored(id).timer->duration, 25 * 60);
    EXPECT_EQ(v.popover(), nullptr);
    EXPECT_TRUE(v.footer()->startPauseButton()->isVisible());
}

} // namespace
