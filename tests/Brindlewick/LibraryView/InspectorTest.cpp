#include "FocusMarks.h"
#include "LibraryFixture.h"

#include "LibraryView/Inspector.h"
#include "NoteView/TimerPicker.h"
#include "Theme/ColorDots.h"
#include "Theme/PaperEditor.h"
#include "Theme/PlainButton.h"
#include "Theme/PrimaryButton.h"
#include "Theme/QuietButton.h"
#include "Theme/SegmentedPicker.h"
#include "Theme/Theme.h"
#include "Theme/ThemeLabel.h"
#include "Theme/TiltedTape.h"

#include "TimeText.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>

namespace {

class InspectorTest : public LibraryTest {
protected:
    InspectorTest() : inspector(model)
    {
        inspector.resize(290, 740);
        inspector.show();
    }

    QUuid select(const QString &titleStart)
    {
        const QUuid id = idOf(titleStart);
        model.setSelection(id);
        return id;
    }

    bool shows(QWidget *widget) const { return widget->isVisibleTo(&inspector); }

    Inspector inspector;
};

TEST_F(InspectorTest, WithoutANoteItShowsTheHint)
{
    EXPECT_TRUE(inspector.isShowingHint());
    model.setSelection(QUuid::createUuid());
    EXPECT_TRUE(inspector.isShowingHint()) << "an id that names no note";
    const QUuid train = select(QStringLiteral("Book train tickets"));
    EXPECT_FALSE(inspector.isShowingHint()) << "shown although the filter hides it";
    EXPECT_EQ(inspector.shownId(), train);
    EXPECT_EQ(inspector.textEditor()->toPlainText(), stored(train).text);
    model.setSelection(std::nullopt);
    EXPECT_TRUE(inspector.isShowingHint());
}

TEST_F(InspectorTest, TheTimerRowReadsAndDrivesEveryState)
{
    const QUuid launch = select(QStringLiteral("Write the launch post"));
    struct Case {
        const char *name;
        std::function<NoteTimer()> timer;
        QString text;
        QString button;
    };
    const auto timerOf = [&](double left, bool running) {
        NoteTimer timer(1500);
        if (running)
            timer.endsAt = model.now() + left;
        else if (left < 1500)
            timer.pausedLeft = left;
        return timer;
    };
    const QList<Case> cases{
        {"ready", [&] { return timerOf(1500, false); }, QStringLiteral("25:00 of 25 min"), QStringLiteral("Start")},
        {"running", [&] { return timerOf(299, true); }, QStringLiteral("4:59 of 25 min"), QStringLiteral("Pause")},
        {"paused", [&] { return timerOf(600, false); }, QStringLiteral("10:00 of 25 min"), QStringLiteral("Start")},
        {"finished", [&] { return timerOf(0, true); }, QStringLiteral("Finished"), QStringLiteral("Start")},
    };
    for (const Case &c : cases) {
        StickyNote note = stored(launch);
        note.timer = c.timer();
        put(note);
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(shows(inspector.timerRow()));
        EXPECT_EQ(inspector.timerText()->text(), c.text);
        EXPECT_EQ(inspector.startPauseButton()->text(), c.button);
        EXPECT_EQ(inspector.timerLink()->text(), QStringLiteral("Change…"));

        const double before = note.timer->remaining(model.now());
        inspector.addFiveButton()->click();
        EXPECT_EQ(stored(launch).timer->remaining(model.now()), before + 300);
        put(note);
        const NoteTimer::State state = note.timer->state(model.now());
        inspector.startPauseButton()->click();
        const NoteTimer::State after = stored(launch).timer->state(model.now());
        EXPECT_EQ(after, state == NoteTimer::State::running ? NoteTimer::State::paused : NoteTimer::State::running);
    }
    EXPECT_EQ(inspector.addFiveButton()->accessibleName(), QStringLiteral("Add 5 minutes"));

    StickyNote note = stored(launch);
    note.timer = timerOf(299, true);
    put(note);
    model.advance(1);
    EXPECT_EQ(inspector.timerText()->text(), QStringLiteral("4:58 of 25 min")) << "the clock follows the model's";

    note.timer.reset();
    put(note);
    EXPECT_FALSE(shows(inspector.timerRow()));
    EXPECT_EQ(inspector.timerLink()->text(), QStringLiteral("Add a Timer…"));
}

TEST_F(InspectorTest, TheDeadlineStatusTurnsRedWhenDue)
{
    const QUuid standup = select(QStringLiteral("Standup"));
    EXPECT_FALSE(shows(inspector.deadlineRow()));
    EXPECT_EQ(inspector.deadlineLink()->text(), QStringLiteral("Set a Deadline…"));

    struct Case {
        double offset;
        QString status;
        Color color;
    };
    for (const Case &c : {Case{90, QStringLiteral("2 min left"), Theme::ink2},
                          Case{0, QStringLiteral("Due now"), Theme::alarm},
                          Case{-59, QStringLiteral("Due now"), Theme::alarm},
                          Case{-60, QStringLiteral("Overdue by 1 min"), Theme::alarm}}) {
        StickyNote note = stored(standup);
        note.setDeadline(model.now() + c.offset, model.now() - 600);
        put(note);
        ASSERT_TRUE(shows(inspector.deadlineRow()));
        EXPECT_EQ(inspector.deadlineStatus()->text(), c.status) << c.offset;
        EXPECT_EQ(inspector.deadlineStatus()->color(), c.color) << c.offset;
        EXPECT_EQ(inspector.deadlineText()->text(),
                  TimeText::due(*note.deadline, model.now(), Calendar::current(), QLocale()));
        EXPECT_EQ(inspector.deadlineLink()->text(), QStringLiteral("Change…"));
    }
}

TEST_F(InspectorTest, WhereItLivesFollowsAndSetsThePlace)
{
    const QUuid chai = select(QStringLiteral("Masala chai"));
    model.setTrayEnabled(false);
    EXPECT_EQ(inspector.placePicker()->current(), 1);
    EXPECT_FALSE(inspector.floatToggle()->isEnabled());
    EXPECT_TRUE(shows(inspector.trayNotice()));
    model.setTrayEnabled(true);
    EXPECT_FALSE(shows(inspector.trayNotice()));

    inspector.placePicker()->segment(0)->click();
    EXPECT_FALSE(stored(chai).tucked);
    EXPECT_EQ(inspector.placePicker()->current(), 0);
    ASSERT_TRUE(inspector.floatToggle()->isEnabled());
    inspector.floatToggle()->click();
    EXPECT_TRUE(stored(chai).pinned);
    EXPECT_TRUE(inspector.floatToggle()->isChecked());
    inspector.floatToggle()->click();
    EXPECT_FALSE(stored(chai).pinned);
    inspector.placePicker()->segment(1)->click();
    EXPECT_TRUE(stored(chai).tucked);
}

TEST_F(InspectorTest, TextAndColourGoToTheModelAsTheyChange)
{
    const QUuid standup = select(QStringLiteral("Standup"));
    PaperEditor *editor = inspector.textEditor();
    editor->moveCursor(QTextCursor::End);
    QSignalSpy writes(&model, &AppModel::bookChanged);
    QTest::keyClicks(editor, QStringLiteral("!?"));
    EXPECT_EQ(writes.count(), 2) << "one write per keystroke";
    EXPECT_TRUE(stored(standup).text.endsWith(QStringLiteral("Air!?")));
    EXPECT_EQ(stored(standup).edited, model.now());

    inspector.colorDots()->dot(NoteColor::rose)->click();
    EXPECT_EQ(stored(standup).color, NoteColor::rose);

    const QUuid call = select(QStringLiteral("Call Nimsa"));
    EXPECT_EQ(editor->toPlainText(), stored(call).text) << "the editor follows the selection";
    EXPECT_EQ(inspector.colorDots()->selection(), stored(call).color);
    EXPECT_TRUE(stored(standup).text.endsWith(QStringLiteral("!?"))) << "nothing written to the other note";
}

// The column is a form: Tab goes round its controls, the text's included, each showing the keyboard,
// and edits nothing.
TEST_F(InspectorTest, TabGoesRoundControlsThatShowTheKeyboardWithoutEditingTheNote)
{
    const QUuid standup = select(QStringLiteral("Standup"));
    const StickyNote before = stored(standup);
    inspector.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&inspector));
    inspector.textEditor()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(FocusMarks::unmarkedStops(&inspector, 40), QStringList());
    EXPECT_EQ(stored(standup), before);
}

TEST_F(InspectorTest, DoneAndTrashActOnTheNote)
{
    const QUuid launch = select(QStringLiteral("Write the launch post"));
    EXPECT_EQ(inspector.doneButton()->text(), QStringLiteral("Mark Done"));
    inspector.doneButton()->click();
    EXPECT_TRUE(stored(launch).isDone());
    EXPECT_EQ(inspector.shownId(), launch) << "a done note stays selected";
    EXPECT_EQ(inspector.doneButton()->text(), QStringLiteral("Not Done"));
    EXPECT_FALSE(inspector.tape()->countdown()) << "a done note shows the empty track";
    inspector.doneButton()->click();
    EXPECT_TRUE(inspector.tape()->countdown());

    EXPECT_EQ(inspector.trashButton()->toolTip(), QStringLiteral("Delete"));
    EXPECT_EQ(inspector.trashButton()->accessibleName(), QStringLiteral("Delete"));
    inspector.trashButton()->click();
    EXPECT_TRUE(stored(launch).isDeleted());
    EXPECT_TRUE(inspector.isShowingHint());
}

TEST_F(InspectorTest, ADeletedNoteOffersItsColourRestoreAndDeleteForever)
{
    const QUuid launch = select(QStringLiteral("Write the launch post"));
    model.toggleDone(launch);
    model.deleteNotes({launch});
    model.setSelection(launch);
    EXPECT_TRUE(inspector.textEditor()->isReadOnly());
    EXPECT_FALSE(shows(inspector.liveControls()));
    ASSERT_TRUE(shows(inspector.deletedControls()));
    EXPECT_EQ(inspector.deletedNotice()->text(),
              QStringLiteral("Deleted %1. It goes for good after 30 days.")
                  .arg(TimeText::due(model.now(), model.now(), Calendar::current(), QLocale())));
    inspector.colorDots()->dot(NoteColor::lilac)->click();
    EXPECT_EQ(stored(launch).color, NoteColor::lilac);

    inspector.restoreButton()->click();
    EXPECT_TRUE(stored(launch).isLive()) << "restored and no longer done";
    EXPECT_EQ(inspector.doneButton()->text(), QStringLiteral("Mark Done"));
    EXPECT_TRUE(inspector.tape()->countdown());
    EXPECT_FALSE(inspector.textEditor()->isReadOnly());

    model.deleteNotes({launch});
    model.setSelection(launch);
    inspector.deleteForeverButton()->click();
    EXPECT_FALSE(model.book()[launch]);
    EXPECT_TRUE(inspector.isShowingHint());
}

TEST_F(InspectorTest, TheTimerLinkOpensThePickerForTheNote)
{
    const QUuid standup = select(QStringLiteral("Standup"));
    EXPECT_FALSE(inspector.isTimerPickerOpen());
    inspector.timerLink()->click();
    ASSERT_TRUE(inspector.isTimerPickerOpen());
    auto *picker = QApplication::activePopupWidget()->findChild<TimerPicker *>();
    ASSERT_NE(picker, nullptr);
    picker->startButton()->click();
    EXPECT_TRUE(stored(standup).timer);
    QTRY_VERIFY(!inspector.isTimerPickerOpen());

    inspector.deadlineLink()->click();
    EXPECT_TRUE(inspector.isDeadlinePickerOpen());
    QApplication::activePopupWidget()->close();
    QTRY_VERIFY(!inspector.isDeadlinePickerOpen());
}

} // namespace
