// The timer and deadline pickers from the keyboard, in a note's real popover under a window manager:
// Tab visits every control in the order they are laid out, the preset chips included, and the
// calendar shows where the keyboard is; the calendar is drawn on the paper's card.
#include "Patience.h"
#include "X11Probe.h"

#include "NoteView/DeadlinePicker.h"
#include "NoteView/NoteView.h"
#include "NoteView/PaperCalendar.h"
#include "NoteView/Popover.h"
#include "NoteView/TimerPicker.h"
#include "NoteWindows/NotePanel.h"
#include "NoteWindows/NoteWindows.h"
#include "Platform/X11.h"
#include "State/AppModel.h"
#include "State/RecordingNotifier.h"
#include "Pixels.h"
#include "Theme/ChipButton.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"
#include "Theme/Theme.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPointer>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <gtest/gtest.h>

namespace {

class PickerKeysTest : public testing::Test {
protected:
    PickerKeysTest()
        : model(Paths{dir.filePath(QStringLiteral("data"))}, SettingsStore(dir.filePath(QStringLiteral("settings.json"))),
                std::make_unique<RecordingNotifier>())
    {
        id = model.newNote(QStringLiteral("Report"), std::nullopt, std::nullopt, false, std::nullopt, false,
                           QRectF(300, 300, 250, 230));
        model.setTimer(id, 600, false);
        model.setDeadline(id, model.now() + 3 * 86400);
    }

    // Opens the note's popover of that kind and answers its content once the keyboard is in it.
    QWidget *open(PopoverRequest::Kind kind)
    {
        windows.show(id);
        const bool active = QTest::qWaitFor([&] {
            const NotePanel *panel = windows.panel(id);
            return panel && panel->isActiveWindow() && X11::activeWindow(X11::connection()) == panel->winId();
        }, patienceMs);
        if (!active)
            return nullptr;
        // The window manager's focus changes are taken before the popover opens: one coming later
        // would leave the application without an active window for a moment, which closes popups.
        settleX();
        NoteView *face = windows.panel(id)->findChild<NoteView *>();
        face->openPopover(kind);
        const bool focused = QTest::qWaitFor(
            [&] { return face->popover() && face->popover()->isAncestorOf(QApplication::focusWidget()); }, patienceMs);
        return focused ? face->popover()->content() : nullptr;
    }

    // Once the server answers, every event it sent before is on its way to Qt; then Qt handles them.
    static void settleX()
    {
        xcb_connection_t *connection = X11::connection();
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        QTest::qWait(0);
    }

    // The controls Tab reaches from where the keyboard is, in order, until it comes back there.
    static QList<QWidget *> tabRound()
    {
        QWidget *const start = QApplication::focusWidget();
        QList<QWidget *> visited;
        for (int presses = 0; presses < 40; ++presses) {
            if (!X11Probe::xdotool({QStringLiteral("key"), QStringLiteral("Tab")}))
                break;
            settleX();
            // A time field moves through its sections before it lets the keyboard go.
            if (visited.isEmpty() || visited.last() != QApplication::focusWidget())
                visited.append(QApplication::focusWidget());
            if (QApplication::focusWidget() == start)
                break;
        }
        return visited;
    }

    QTemporaryDir dir;
    AppModel model;
    NoteWindows windows{model};
    QUuid id;
};

TEST_F(PickerKeysTest, TabGoesThroughTheTimerPickerTheChipsIncluded)
{
    auto *picker = qobject_cast<TimerPicker *>(open(PopoverRequest::Kind::timer));
    ASSERT_TRUE(picker);
    QSpinBox *hours = picker->findChildren<QSpinBox *>().value(0);
    ASSERT_EQ(QApplication::focusWidget(), hours);

    QList<QWidget *> expected{picker->findChildren<QSpinBox *>().value(1), picker->removeButton(),
                              picker->startButton()};
    for (ChipButton *chip : picker->findChildren<ChipButton *>())
        expected.append(chip);
    expected.append(hours);
    ASSERT_EQ(expected.size(), 3 + 11 + 1);
    EXPECT_EQ(tabRound(), expected);
}

TEST_F(PickerKeysTest, TabGoesThroughTheDeadlinePickerTheChipsIncluded)
{
    auto *picker = qobject_cast<DeadlinePicker *>(open(PopoverRequest::Kind::deadline));
    ASSERT_TRUE(picker);
    QWidget *days = picker->calendar()->days();
    ASSERT_EQ(QApplication::focusWidget(), days);

    const QList<QWidget *> round = tabRound();
    QList<QWidget *> expected{picker->timeEdit(), picker->removeButton(), picker->setButton()};
    for (ChipButton *chip : picker->findChildren<ChipButton *>())
        expected.append(chip);
    ASSERT_GE(expected.size(), 3 + 4);
    // The calendar's month buttons come between the chips and the days.
    expected.append(days);
    QList<QWidget *> withoutMonthBar = round;
    withoutMonthBar.removeIf([&](QWidget *w) { return w != days && picker->calendar()->isAncestorOf(w); });
    EXPECT_EQ(withoutMonthBar, expected);
}

// The chosen day has a ring while the keyboard is in the days, as focus rings go: not after a click.
TEST_F(PickerKeysTest, TheCalendarShowsWhereTheKeyboardIs)
{
    auto *picker = qobject_cast<DeadlinePicker *>(open(PopoverRequest::Kind::deadline));
    ASSERT_TRUE(picker);
    auto *days = qobject_cast<QAbstractItemView *>(picker->calendar()->days());
    ASSERT_TRUE(days);
    // Pixels in ink along the chosen day's cell edge, where the ring lies.
    const auto inkAroundChosenDay = [&] {
        const QRect cell = days->visualRect(days->currentIndex());
        const QImage image = Pixels::grab(days->viewport());
        const QColor ink = Theme::ink.resolved(days);
        int count = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const bool edge = x < cell.left() + 3 || x > cell.right() - 3 || y < cell.top() + 3 || y > cell.bottom() - 3;
                count += edge && Pixels::distance(image.pixelColor(x, y), ink) <= 60;
            }
        return count;
    };

    // Round the picker by keyboard and back to the days, then a day further by an arrow key. The
    // popover closes when its window loses the focus, so the picker is watched, not trusted.
    const QPointer<DeadlinePicker> watched(picker);
    tabRound();
    ASSERT_TRUE(watched && QApplication::focusWidget() == days) << "the keyboard left the picker";
    ASSERT_TRUE(X11Probe::xdotool({QStringLiteral("key"), QStringLiteral("Right")}));
    ASSERT_TRUE(watched) << "the picker closed";
    const QDate next = picker->calendar()->selectedDate();
    const int cellEdge = days->visualRect(days->currentIndex()).width() + days->visualRect(days->currentIndex()).height();
    EXPECT_TRUE(QTest::qWaitFor([&] { return inkAroundChosenDay() >= cellEdge; }, patienceMs))
        << "no ring around the chosen day";

    // A click on another day chooses it without a ring.
    const QRect other = days->visualRect(days->currentIndex().siblingAtColumn((days->currentIndex().column() + 3) % 7));
    const QPoint at = days->viewport()->mapToGlobal(other.center());
    ASSERT_TRUE(X11Probe::xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                                   QStringLiteral("click"), QStringLiteral("1")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return picker->calendar()->selectedDate() != next; }, patienceMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return inkAroundChosenDay() == 0; }, patienceMs)) << "a ring after a click";
}

// The month bar lies on the card with its name and arrows in ink; no stock green arrows, no coloured bar.
TEST_F(PickerKeysTest, TheCalendarsMonthBarIsDrawnOnThePaper)
{
    auto *picker = qobject_cast<DeadlinePicker *>(open(PopoverRequest::Kind::deadline));
    ASSERT_TRUE(picker);
    QWidget *bar = picker->calendar()->findChild<QWidget *>(QStringLiteral("qt_calendar_navigationbar"));
    ASSERT_TRUE(bar);
    const QImage image = Pixels::grab(bar);
    const QColor card = Theme::card.resolved(bar);
    const QColor ink = Theme::ink.resolved(bar);
    EXPECT_LE(Pixels::distance(Pixels::at(image, 2, 2), card), 6) << "the bar is the card's colour";
    for (QAbstractButton *arrow : {picker->calendar()->previousMonthButton(), picker->calendar()->nextMonthButton()}) {
        const QRect area(arrow->mapTo(bar, QPoint(0, 0)), arrow->size());
        EXPECT_LE(Pixels::nearest(image, area, ink), 40) << arrow->accessibleName().toStdString() << " not in ink";
        bool green = false;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                green = green || (c.green() > c.red() + 40 && c.green() > c.blue() + 40);
            }
        EXPECT_FALSE(green) << arrow->accessibleName().toStdString();
    }
}

} // namespace
