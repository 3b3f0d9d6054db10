#include "NoteViewFixture.h"

#include "NoteView/DeadlineButton.h"
#include "NoteView/DeadlinePicker.h"
#include "NoteView/NoteFooter.h"
#include "NoteView/PaperCalendar.h"
#include "NoteView/Popover.h"
#include "QuickDeadlines.h"
#include "Theme/ChipButton.h"
#include "Theme/PaperStyle.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"
#include "Theme/Theme.h"
#include "TimeText.h"

#include <QAbstractItemView>
#include <QTimeEdit>
#include <QToolButton>

namespace {

class DeadlinePickerTest : public NoteViewTest {
protected:
    DeadlinePicker &open(const QUuid &noteId)
    {
        picker = std::make_unique<DeadlinePicker>(*model, noteId, [this] { ++closes; });
        picker->show();
        QApplication::processEvents();
        return *picker;
    }

    // A moment by the local wall clock on the day of t0.
    static Date local(QTime time, int days = 0)
    {
        const Calendar calendar = Calendar::current();
        return *calendar.date(calendar.day(t0).addDays(days), time);
    }

    void TearDown() override
    {
        picker.reset();
        NoteViewTest::TearDown();
    }

    std::unique_ptr<DeadlinePicker> picker;
    int closes = 0;
};

TEST_F(DeadlinePickerTest, WithoutADeadlineItOpensAtTheNextFullHour)
{
    struct Case { QTime at; QTime shown; int dayShift; };
    const Case cases[] = {
        {QTime(10, 50), QTime(12, 0), 0},
        {QTime(10, 20), QTime(11, 0), 0},
        {QTime(10, 0), QTime(11, 0), 0},
        {QTime(23, 50), QTime(1, 0), 1},
    };
    const QUuid id = put(note("Open"));
    for (const Case &c : cases) {
        moveClockTo(local(c.at));
        DeadlinePicker &p = open(id);
        EXPECT_EQ(p.calendar()->selectedDate(), Calendar::current().day(t0).addDays(c.dayShift)) << c.at.toString().toStdString();
        EXPECT_EQ(p.timeEdit()->time(), c.shown) << c.at.toString().toStdString();
        EXPECT_EQ(p.date(), local(c.shown, c.dayShift));
        EXPECT_EQ(p.removeButton(), nullptr);
    }
}

TEST_F(DeadlinePickerTest, WithADeadlineItOpensThereAndRemoveClearsIt)
{
    StickyNote due = note("Due");
    due.deadline = local(QTime(16, 30), 3);
    due.deadlineSetAt = t0 - 60;
    const QUuid id = put(due);
    DeadlinePicker &p = open(id);
    EXPECT_EQ(p.calendar()->selectedDate(), Calendar::current().day(t0).addDays(3));
    EXPECT_EQ(p.timeEdit()->time(), QTime(16, 30));
    EXPECT_EQ(p.date(), *due.deadline);
    ASSERT_NE(p.removeButton(), nullptr);
    EXPECT_EQ(p.removeButton()->text(), "Remove");
    click(p.removeButton());
    EXPECT_FALSE(stored(id).deadline);
    EXPECT_EQ(closes, 1);
}

TEST_F(DeadlinePickerTest, DayAndTimeEditOneMomentAndReturnSetsIt)
{
    moveClockTo(local(QTime(9, 10)));
    const QUuid id = put(note("Edit"));
    DeadlinePicker &p = open(id);
    ASSERT_EQ(p.timeEdit()->time(), QTime(10, 0));
    p.calendar()->setSelectedDate(Calendar::current().day(t0).addDays(2));
    EXPECT_EQ(p.date(), local(QTime(10, 0), 2));
    p.timeEdit()->setTime(QTime(18, 45));
    EXPECT_EQ(p.date(), local(QTime(18, 45), 2));

    QTest::keyClick(p.timeEdit(), Qt::Key_Return);
    EXPECT_EQ(stored(id).deadline, local(QTime(18, 45), 2));
    EXPECT_EQ(closes, 1);

    p.calendar()->setSelectedDate(Calendar::current().day(t0));
    p.timeEdit()->setTime(QTime(8, 0));
    click(p.setButton());
    EXPECT_EQ(stored(id).deadline, local(QTime(8, 0))) << "a moment already past is set too";
}

TEST_F(DeadlinePickerTest, QuickChipsSetTheirOwnDateWhateverTheCalendarShows)
{
    moveClockTo(local(QTime(10, 0)));
    const QUuid id = put(note("Chips"));
    DeadlinePicker &p = open(id);
    const std::vector<QuickDeadlines::Option> options = QuickDeadlines::options(model->now(), Calendar::current(), QLocale());
    const QList<ChipButton *> chips = p.findChildren<ChipButton *>();
    ASSERT_EQ(chips.size(), qsizetype(options.size()));
    for (size_t i = 0; i < options.size(); ++i)
        EXPECT_EQ(chips[qsizetype(i)]->text(), options[i].label);

    p.calendar()->setSelectedDate(Calendar::current().day(t0).addDays(9));
    click(chips.first());
    EXPECT_EQ(stored(id).deadline, model->now() + 3600);
    EXPECT_EQ(closes, 1);
}

TEST_F(DeadlinePickerTest, ChipsFollowTheClockWhileOpen)
{
    moveClockTo(local(QTime(16, 0)));
    const QUuid id = put(note("Clock"));
    DeadlinePicker &p = open(id);
    const auto labels = [&] {
        QStringList titles;
        for (ChipButton *chip : p.findChildren<ChipButton *>())
            titles << chip->text();
        return titles;
    };
    const QString today = QStringLiteral("Today, ") + TimeText::time(local(QTime(17, 0)), Calendar::current(), QLocale());
    EXPECT_TRUE(labels().contains(today));
    moveClockTo(local(QTime(16, 45)));
    QApplication::processEvents();
    EXPECT_FALSE(labels().contains(today));
    click(p.findChildren<ChipButton *>().first());
    EXPECT_EQ(stored(id).deadline, model->now() + 3600);
}

TEST_F(DeadlinePickerTest, ChipsWriteTheTimeAsTheTimeFieldAndTheNoteDo)
{
    struct Case { QLocale locale; QString fivePm; QString timeField; QString footer; };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "Today, 5:00 PM", "11:00 AM", "Due Tomorrow, 9:00 AM"},
        {QLocale(QLocale::German, QLocale::Germany), "Today, 17:00", "11:00", "Due Tomorrow, 09:00"},
    };
    const QLocale before;
    moveClockTo(local(QTime(10, 0)));
    for (const Case &c : cases) {
        QLocale::setDefault(c.locale);
        const QUuid id = put(note("Locale"));
        NoteView &v = show(id);
        v.openPopover(PopoverRequest::Kind::deadline);
        auto *p = v.popover()->findChild<DeadlinePicker *>();
        ASSERT_NE(p, nullptr);
        QStringList labels;
        for (ChipButton *chip : p->findChildren<ChipButton *>())
            labels << chip->text();
        EXPECT_TRUE(labels.contains(c.fivePm)) << labels.join(" | ").toStdString();
        EXPECT_EQ(p->timeEdit()->text(), c.timeField);
        const auto tomorrow = std::find_if(labels.begin(), labels.end(), [](const QString &l) { return l.startsWith("Tomorrow"); });
        ASSERT_NE(tomorrow, labels.end());
        click(p->findChildren<ChipButton *>().at(qsizetype(tomorrow - labels.begin())));
        EXPECT_EQ(v.footer()->deadlineButton()->accessibleName(), c.footer);
    }
    QLocale::setDefault(before);
}

TEST_F(DeadlinePickerTest, AGoneNoteOpensAtTheNextHourAndStillCloses)
{
    moveClockTo(local(QTime(10, 20)));
    DeadlinePicker &p = open(QUuid::createUuid());
    EXPECT_EQ(p.timeEdit()->time(), QTime(11, 0));
    EXPECT_EQ(p.removeButton(), nullptr);
    click(p.setButton());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(model->book().notes.isEmpty());
}

// The chosen day is its rounded plate alone: the cell's corners outside it stay the card's.
TEST_F(DeadlinePickerTest, TheChosenDayIsAPlateOnTheCardInBothAppearances)
{
    NoteView &v = show(put(note("Plate")));
    v.openPopover(PopoverRequest::Kind::deadline);
    auto *p = v.popover()->findChild<DeadlinePicker *>();
    ASSERT_NE(p, nullptr);
    auto *days = qobject_cast<QAbstractItemView *>(p->calendar()->days());
    ASSERT_NE(days, nullptr);
    // The appearance changes while the picker is open.
    for (const Scheme scheme : {Scheme::light, Scheme::dark}) {
        Appearance::force(&v, scheme);
        QApplication::processEvents();
        const QRect cell = days->visualRect(days->currentIndex());
        const QImage image = Pixels::grab(days->viewport());
        const QColor plate = Pixels::at(image, cell.left() + 5, cell.center().y());
        const QColor corner = Pixels::at(image, cell.left() + 1, cell.top() + 1);
        EXPECT_LE(Pixels::distance(plate, Theme::accent.resolved(scheme)), 6) << "no plate on the chosen day";
        EXPECT_LE(Pixels::distance(corner, Theme::card.resolved(scheme)), 6) << "the corner is not the card's, it is " << corner.name().toStdString();
    }
}

// The program's style leaves a space between the month's name and the arrow of its menu.
TEST_F(DeadlinePickerTest, TheMonthMenuKeepsASpaceBeforeItsArrow)
{
    DeadlinePicker &p = open(put(note("Month")));
    auto *month = p.calendar()->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(month, nullptr);
    PaperStyle style;
    month->setStyle(&style);
    QApplication::processEvents();
    const QImage image = Pixels::grab(month);
    const QColor ground = Pixels::at(image, 0, 0);
    const auto drawn = [&](int x) {
        for (int y = 0; y < image.height(); ++y)
            if (Pixels::distance(Pixels::at(image, x, y), ground) > 80)
                return true;
        return false;
    };
    int x = image.width() - 1;
    while (x >= 0 && !drawn(x))
        --x;
    while (x >= 0 && drawn(x))
        --x;
    const int arrowStart = x;
    while (x >= 0 && !drawn(x))
        --x;
    ASSERT_GE(x, 0) << "no text before the arrow";
    EXPECT_GE(arrowStart - x, 3) << "the arrow touches " << month->text().toStdString();
}

} // namespace
